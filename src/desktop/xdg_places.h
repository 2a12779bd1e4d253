// Where the freedesktop standards put the user's files: the data and config
// homes ($XDG_DATA_HOME, $XDG_CONFIG_HOME, relative values ignored as the
// standard says), the applications and autostart folders, the desktop folder
// of xdg-user-dirs, mimeapps.list, the MIME packages and the recently-used
// list. Read from the environment each time, so tests set a home of their own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dorvane {

struct TXdgPlaces {
    QString home;
    QString dataHome;     // ~/.local/share
    QString configHome;   // ~/.config
    QStringList dataDirs; // $XDG_DATA_DIRS: where installed packages put theirs

    static TXdgPlaces FromEnvironment();

    QString Applications() const { return dataHome + QStringLiteral("/applications"); }
    QString Autostart() const { return configHome + QStringLiteral("/autostart"); }
    QString MimeApps() const { return configHome + QStringLiteral("/mimeapps.list"); }
    QString MimeRoot() const { return dataHome + QStringLiteral("/mime"); }
    QString MimePackages() const { return MimeRoot() + QStringLiteral("/packages"); }
    QString RecentlyUsed() const { return dataHome + QStringLiteral("/recently-used.xbel"); }
    // XDG_DESKTOP_DIR of $XDG_CONFIG_HOME/user-dirs.dirs, else ~/Desktop.
    QString Desktop() const;
};

// The value of XDG_DESKTOP_DIR in the text of a user-dirs.dirs file
// ("$HOME/..." or an absolute path in double quotes); empty when the file
// does not set it in a form the standard allows.
QString DesktopDirFromUserDirs(const QByteArray& text, const QString& home);

} // namespace dorvane
