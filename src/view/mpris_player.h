// The music player as the desktop's media controls see it: the
// org.mpris.MediaPlayer2.Player interface. Every call goes through the
// commands of the "Музыка" submenu (so the check marks, the playlist window
// and the engine stay one), or through the engine's and the mixer's own
// public calls where no command exists (a seek, the volume). It runs on the
// UI thread, where QtDBus delivers the calls of the objects that live there.
#pragma once

#include "view/commands.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

#include <functional>

class QDBusMessage;

namespace dorvane {

class TMusicEngine;

struct TMprisParts {
    TMusicEngine* engine = nullptr;
    const TCommandRegistry* commands = nullptr;
    std::function<void()> raiseWindow;              // the game window to the front
    std::function<bool(const QString&)> openTarget; // a sound file, playlist or folder
};

class TMprisPlayer final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QString LoopStatus READ LoopStatus)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ MinimumRate)
    Q_PROPERTY(double MaximumRate READ MaximumRate)
    Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)

public:
    TMprisPlayer(QObject* object, const TMprisParts& parts, const QDBusConnection& bus);

    // "Playing", "Paused" or "Stopped", from the switches "Воспроизводить"
    // and "Пауза".
    QString PlaybackStatus() const;
    // The player goes round its list: there is no other mode.
    QString LoopStatus() const { return QStringLiteral("Playlist"); }
    double Rate() const;
    double MinimumRate() const;
    double MaximumRate() const;
    bool Shuffle() const;
    void SetShuffle(bool on);
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double volume);
    qlonglong Position() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const { return CanGoNext(); }
    bool CanPlay() const;
    bool CanPause() const { return CanPlay(); }
    bool CanSeek() const;
    bool CanControl() const { return true; }

    // The engine started a track: it gets an id of its own, so that a client
    // tells a track played again from the one before.
    void TrackStarted() { ++track_; }
    // The id of the current track; empty when none.
    QString TrackId() const;
    // The properties whose changes the desktop is told of, by name.
    QVariantMap ChangingProperties() const;

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri, const QDBusMessage& message);

signals:
    void Seeked(qlonglong position);

private:
    bool HasTrack() const;
    void Trigger(TCommand command) const;
    void SeekTo(qlonglong us);

    TMprisParts parts_;
    QDBusConnection bus_;
    int track_ = 0;
};

} // namespace dorvane
