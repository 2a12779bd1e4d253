#include "desktop/shortcut_resolve.h"

#include "desktop/desktop_entry.h"
#include "desktop/own_files.h"

#include <QFileInfo>
#include <QUrl>

namespace dorvane {

QString LinkLauncherTarget(const QByteArray& text) {
    const TKeyFile file = TKeyFile::Parse(text);
    const QString entry = QStringLiteral("Desktop Entry");
    if (file.Value(entry, QStringLiteral("Type")) != QStringLiteral("Link")) return {};
    const QString address = file.Value(entry, QStringLiteral("URL"));
    if (address.startsWith(QLatin1Char('/'))) return address;
    const QUrl url(address);
    if (!url.isValid() || !url.isLocalFile()) return {};
    return url.toLocalFile();
}

QString ResolveShortcut(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // The whole chain, to a target that exists.
        const QString target = info.canonicalFilePath();
        return target.isEmpty() ? path : target;
    }
    if (!path.endsWith(QStringLiteral(".desktop"), Qt::CaseInsensitive)) return path;
    const auto text = ReadOutsideFile(path, kMaxDesktopFile);
    if (!text) return path;
    const QString target = LinkLauncherTarget(*text);
    if (target.isEmpty() || !QFileInfo::exists(target)) return path;
    return QFileInfo(target).absoluteFilePath();
}

} // namespace dorvane
