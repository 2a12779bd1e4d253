// The music player on the session bus as org.mpris.MediaPlayer2.dorvane,
// for the desktop's media keys, its sound menu and playerctl. The object
// /org/mpris/MediaPlayer2 carries the two interfaces (TMprisRoot,
// TMprisPlayer); this class asks for the name and tells the desktop what
// changed, which QtDBus does not do for an adaptor's properties.
//
// Nothing here waits for the bus: the name is asked for asynchronously and
// the signals are sent without an answer. Without a session bus the service
// simply is not there; when another program (a second copy) holds the name,
// this one carries on without it.
#pragma once

#include "view/mpris_player.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

namespace dorvane {

class TMprisRoot;

class TMprisService final : public QObject {
    Q_OBJECT

public:
    enum class TName { NoBus, Asking, Owned, Taken };

    explicit TMprisService(const TMprisParts& parts,
                           const QDBusConnection& bus = QDBusConnection::sessionBus());
    // The object leaves the bus and the name is given back.
    ~TMprisService() override;

    TName Name() const { return name_; }
    TMprisPlayer& Player() { return *player_; }

    // The engine started a track.
    void TrackStarted();
    // Something the properties show may have changed (the switches, the
    // playlist, the volume, the tick): the desktop hears of what did.
    void Refresh();

signals:
    void NameAnswered(); // Owned or Taken

private:
    void AskForName();

    QDBusConnection bus_;
    TName name_ = TName::NoBus;
    TMprisRoot* root_ = nullptr;
    TMprisPlayer* player_ = nullptr;
    QVariantMap told_; // the properties as the desktop last heard of them
};

} // namespace dorvane
