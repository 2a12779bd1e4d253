#include "core/hand_over_text.h"

#include <QDir>
#include <QFileInfo>

namespace dorvane {

namespace {

// A relative path means the start's folder; the running copy has its own.
QString FullPath(QString argument, const QString& currentFolder) {
    if (!argument.startsWith(u'/') && !argument.isEmpty()) {
        const QString full = QDir(currentFolder).absoluteFilePath(argument);
        if (QFileInfo::exists(full)) argument = QDir::cleanPath(full);
    }
    return argument;
}

QString Quoted(const QString& argument) {
    return argument.contains(u'"') ? argument : u'"' + argument + u'"';
}

QString Joined(const QStringList& full) {
    if (full.size() == 1) return full.first();
    QStringList parts;
    parts.reserve(full.size());
    for (const QString& argument : full)
        parts << Quoted(argument);
    return parts.join(u' ');
}

bool Fits(const QString& text) {
    return text.size() >= kHandOverFewestChars && text.size() <= kHandOverMostChars;
}

} // namespace

QString JoinCommandLine(const QStringList& arguments, const QString& currentFolder) {
    if (arguments.isEmpty()) return {};
    QStringList full;
    full.reserve(arguments.size());
    for (const QString& argument : arguments)
        full << FullPath(argument, currentFolder);
    const QString text = Joined(full);
    return Fits(text) ? text : QString();
}

std::optional<QStringList> HandOverLines(const QStringList& arguments,
                                         const QString& currentFolder) {
    QStringList lines;
    QStringList run;             // the arguments of the line being filled
    qsizetype quotedLength = -1; // of run joined with quotes, blanks included
    const auto flush = [&] {
        if (run.isEmpty()) return;
        const QString text = Joined(run);
        // One name of fewer than 3 characters is no request, as ever.
        if (Fits(text)) lines << text;
        run.clear();
        quotedLength = -1;
    };
    for (const QString& argument : arguments) {
        const QString full = FullPath(argument, currentFolder);
        const qsizetype more = Quoted(full).size() + 1;
        if (!run.isEmpty() && quotedLength + more > kHandOverMostChars) flush();
        if (run.isEmpty() && full.size() > kHandOverMostChars) return std::nullopt;
        run << full;
        quotedLength += more;
    }
    flush();
    return lines;
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
