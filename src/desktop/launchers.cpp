#include "desktop/launchers.h"

#include "desktop/own_files.h"

#include <QFileInfo>

namespace dorvane {

QString LauncherPath(TLauncherPlace place, const TXdgPlaces& places) {
    switch (place) {
    case TLauncherPlace::Games:
        return places.Applications() + QStringLiteral("/kvo-dorvane-games.desktop");
    case TLauncherPlace::MainMenu:
        return places.Applications() + QStringLiteral("/kvo-dorvane-menu.desktop");
    case TLauncherPlace::Desktop:
        return places.Desktop() + QStringLiteral("/Dorvane.desktop");
    case TLauncherPlace::Autostart:
        return places.Autostart() + QStringLiteral("/Dorvane.desktop");
    }
    return {};
}

QString ExecQuoted(const QString& programPath) {
    // Inside the quotes '"', '`', '$' and '\' take a backslash; "%" is
    // doubled; then the key file's own escape doubles every backslash.
    QString quoted;
    for (QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%')) quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    // A line break cannot be part of a key file's value.
    quoted.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return quoted;
}

QByteArray LauncherText(TLauncherPlace place, const QString& programPath) {
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n"
                                  "Name=Dorvane\n");
    text += QStringLiteral("Comment=") + QString::fromUtf8(kLauncherComment) + QLatin1Char('\n');
    text += QStringLiteral("Exec=") + ExecQuoted(programPath) + QStringLiteral(" %F\n");
    QString folder = QFileInfo(programPath).absolutePath();
    folder.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    folder.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text += QStringLiteral("Path=") + folder + QLatin1Char('\n');
    text += QStringLiteral("Icon=dorvane\nTerminal=false\n");
    if (place == TLauncherPlace::Games) text += QStringLiteral("Categories=Game;BoardGame;\n");
    return text.toUtf8();
}

bool ToggleShortcut(TLauncherPlace place, const QString& programPath, const TXdgPlaces& places) {
    const QString path = LauncherPath(place, places);
    if (EntryExists(path)) {
        RemoveEntry(path);
        return EntryExists(path);
    }
    // A desktop runs a launcher only when it is executable.
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (place == TLauncherPlace::Desktop)
        permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    return WriteOwnFile(path, LauncherText(place, programPath), permissions);
}

} // namespace dorvane
