#include "core/hand_over_text.h"

#include <QDir>
#include <QFileInfo>

namespace dorvane {

QString JoinCommandLine(const QStringList& arguments, const QString& currentFolder) {
    if (arguments.isEmpty()) return {};
    QStringList parts;
    parts.reserve(arguments.size());
    for (QString argument : arguments) {
        if (!argument.startsWith(u'/') && !argument.isEmpty()) {
            const QString full = QDir(currentFolder).absoluteFilePath(argument);
            if (QFileInfo::exists(full)) argument = QDir::cleanPath(full);
        }
        if (arguments.size() > 1 && !argument.contains(u'"')) argument = u'"' + argument + u'"';
        parts << argument;
    }
    const QString text = parts.join(u' ');
    if (text.size() < kHandOverFewestChars || text.size() > kHandOverMostChars) return {};
    return text;
}

QStringList SplitHandedText(const QString& text) {
    if (text.size() < kHandOverFewestChars || text.size() >= kHandOverBlockBytes) return {};
    if (!text.contains(u'"')) return {text};
    QStringList paths;
    const auto separator = [](QChar c) { return c.unicode() <= 32; };
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && separator(text[i]))
            ++i;
        QString path;
        bool quoted = false;
        bool any = false; // an empty pair of quotes gives no path
        while (i < text.size() && (quoted || !separator(text[i]))) {
            if (text[i] == u'"') {
                quoted = !quoted;
            } else {
                path += text[i];
                any = true;
            }
            ++i;
        }
        if (any) paths << path;
    }
    return paths;
}

} // namespace dorvane
