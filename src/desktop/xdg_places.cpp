#include "desktop/xdg_places.h"

#include "desktop/own_files.h"

#include <QDir>
#include <QList>

namespace dorvane {

namespace {

QString AbsoluteFromEnvironment(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    // The standard ignores relative values.
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

} // namespace

TXdgPlaces TXdgPlaces::FromEnvironment() {
    TXdgPlaces places;
    places.home = QDir::homePath();
    places.dataHome =
        AbsoluteFromEnvironment("XDG_DATA_HOME", places.home + QStringLiteral("/.local/share"));
    places.configHome =
        AbsoluteFromEnvironment("XDG_CONFIG_HOME", places.home + QStringLiteral("/.config"));
    const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir)) places.dataDirs << QDir::cleanPath(dir);
    if (places.dataDirs.isEmpty())
        places.dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return places;
}

QString TXdgPlaces::Desktop() const {
    if (const auto text =
            ReadOutsideFile(configHome + QStringLiteral("/user-dirs.dirs"), kMaxDesktopFile)) {
        const QString dir = DesktopDirFromUserDirs(*text, home);
        if (!dir.isEmpty()) return dir;
    }
    return home + QStringLiteral("/Desktop");
}

QString DesktopDirFromUserDirs(const QByteArray& text, const QString& home) {
    // Lines of the form XDG_DESKTOP_DIR="$HOME/yyy" or ="/yyy"; a backslash
    // escapes the next character. The last setting counts.
    QString found;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        static const QByteArray key = "XDG_DESKTOP_DIR=\"";
        if (!line.startsWith(key) || !line.endsWith('"') || line.size() < key.size() + 1) continue;
        const QByteArray quoted = line.mid(key.size(), line.size() - key.size() - 1);
        QByteArray value;
        bool escaped = false;
        bool broken = false;
        for (char c : quoted) {
            if (escaped) {
                value += c;
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                broken = true;
                break;
            } else {
                value += c;
            }
        }
        if (broken || escaped) continue;
        QString dir = QString::fromUtf8(value);
        if (dir.startsWith(QStringLiteral("$HOME/")))
            dir = home + dir.mid(5);
        else if (dir == QStringLiteral("$HOME"))
            dir = home;
        else if (!dir.startsWith(QLatin1Char('/')))
            continue;
        found = QDir::cleanPath(dir);
    }
    // "$HOME/" alone means the desktop is switched off: the home itself is
    // not a place for launchers.
    return found == QDir::cleanPath(home) ? QString() : found;
}

} // namespace dorvane
