// The program as the desktop's media controls see it: the
// org.mpris.MediaPlayer2 interface, its name, its launcher, what it can open,
// and the two calls it takes: bring the game window forward, and close the
// program as "Закрыть" does.
#pragma once

#include "view/mpris_player.h"

#include <QDBusAbstractAdaptor>
#include <QStringList>

namespace dorvane {

class TMprisRoot final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

public:
    TMprisRoot(QObject* object, const TMprisParts& parts);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const;
    // The installed launcher, share/applications/dorvane.desktop.
    QString DesktopEntry() const { return QStringLiteral("dorvane"); }
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    // The types of the sound files and playlists the player opens.
    QStringList SupportedMimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    TMprisParts parts_;
};

} // namespace dorvane
