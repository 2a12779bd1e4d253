#include "view/mpris_player.h"

#include "music/music_engine.h"

#include <QAction>
#include <QDBusMessage>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

// The engine's speed box takes thousandths from 10 to 2000.
constexpr double kSlowestRate = 0.01;
constexpr double kFastestRate = 2.0;

} // namespace

TMprisPlayer::TMprisPlayer(QObject* object, const TMprisParts& parts, const QDBusConnection& bus)
    : QDBusAbstractAdaptor(object), parts_(parts), bus_(bus) {}

bool TMprisPlayer::HasTrack() const {
    // The caption names the track from its start until music goes off; a
    // start that failed switches music off.
    const TMusicEngine& engine = *parts_.engine;
    return engine.PlayOn() && track_ > 0 && !engine.TrackCaption().isEmpty() &&
           !engine.Playing().path.isEmpty();
}

QString TMprisPlayer::PlaybackStatus() const {
    // Music on with no track yet (the list still loading) plays nothing.
    if (!HasTrack()) return QStringLiteral("Stopped");
    return parts_.engine->PauseOn() ? QStringLiteral("Paused") : QStringLiteral("Playing");
}

double TMprisPlayer::Rate() const {
    // Only the stream path has a speed; the synthesizer keeps the file's tempo.
    const TMusicEngine& engine = *parts_.engine;
    return engine.StreamInUse() ? engine.Speed() / 1000.0 : 1.0;
}

double TMprisPlayer::MinimumRate() const {
    return kSlowestRate;
}

double TMprisPlayer::MaximumRate() const {
    return kFastestRate;
}

bool TMprisPlayer::Shuffle() const {
    return parts_.engine->RandomOn();
}

void TMprisPlayer::SetShuffle(bool on) {
    if (on != parts_.engine->RandomOn()) Trigger(TCommand::MusicRandom);
}

QString TMprisPlayer::TrackId() const {
    if (!HasTrack()) return {};
    return QStringLiteral("/org/dorvane/track/") + QString::number(track_);
}

QVariantMap TMprisPlayer::Metadata() const {
    if (!HasTrack()) return {};
    TMusicEngine& engine = *parts_.engine;
    const TPlayingEntry& playing = engine.Playing();
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"),
                    QVariant::fromValue(QDBusObjectPath(TrackId())));
    if (const std::int64_t ms = engine.TrackLength(); ms > 0)
        metadata.insert(QStringLiteral("mpris:length"), QVariant::fromValue(qlonglong(ms) * 1000));
    // The tags' own artist and title once the worker has read them, else the
    // playlist's title; the entry may have gone with a new list while its
    // track still plays.
    const TOpenedNames names = engine.State().OpenedNames();
    const bool tagged = names.path == playing.path;
    const TPlaylist& playlist = engine.Playlist();
    const bool listed = playing.index >= 0 && playing.index < playlist.Count() &&
                        playlist.Entry(playing.index).S2 == playing.path;
    QString title = tagged ? names.title : QString();
    if (title.isEmpty())
        title =
            listed ? playlist.Entry(playing.index).S1 : QFileInfo(playing.path).completeBaseName();
    metadata.insert(QStringLiteral("xesam:title"), title);
    if (tagged && !names.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{names.artist});
    metadata.insert(QStringLiteral("xesam:url"),
                    QString::fromLatin1(QUrl::fromLocalFile(playing.path).toEncoded()));
    return metadata;
}

double TMprisPlayer::Volume() const {
    // Without a mixer nothing lowers the sound: it plays at full level.
    const TMixerPort* mixer = parts_.engine->Mixer();
    if (!mixer || !mixer->Available()) return 1.0;
    return mixer->Volume() / 100.0;
}

void TMprisPlayer::SetVolume(double volume) {
    TMixerPort* mixer = parts_.engine->Mixer();
    if (!mixer || !mixer->Available() || std::isnan(volume)) return;
    // The playlist window's slider does the same.
    mixer->SetVolume(int(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

qlonglong TMprisPlayer::Position() const {
    return HasTrack() ? qlonglong(parts_.engine->TrackPosition()) * 1000 : 0;
}

bool TMprisPlayer::CanGoNext() const {
    // While music is off the engine forgets a request for the next track.
    // After a failed start Next switches it on again and moves on.
    return (parts_.engine->PlayOn() || parts_.engine->AfterFailure()) && CanPlay();
}

bool TMprisPlayer::CanPlay() const {
    return !parts_.engine->Playlist().IsEmpty();
}

bool TMprisPlayer::CanSeek() const {
    // A place is a fraction of the length: none until the worker knows it.
    return HasTrack() && parts_.engine->TrackLength() > 0;
}

QVariantMap TMprisPlayer::ChangingProperties() const {
    return {
        {QStringLiteral("PlaybackStatus"), PlaybackStatus()},
        {QStringLiteral("Metadata"), Metadata()},
        {QStringLiteral("Volume"), Volume()},
        {QStringLiteral("Shuffle"), Shuffle()},
        {QStringLiteral("Rate"), Rate()},
        {QStringLiteral("CanGoNext"), CanGoNext()},
        {QStringLiteral("CanGoPrevious"), CanGoPrevious()},
        {QStringLiteral("CanPlay"), CanPlay()},
        {QStringLiteral("CanPause"), CanPause()},
        {QStringLiteral("CanSeek"), CanSeek()},
    };
}

void TMprisPlayer::Trigger(TCommand command) const {
    parts_.commands->Action(command)->trigger();
}

void TMprisPlayer::Next() {
    Trigger(TCommand::MusicNext);
}

void TMprisPlayer::Previous() {
    Trigger(TCommand::MusicPrevious);
}

void TMprisPlayer::Pause() {
    if (HasTrack() && !parts_.engine->PauseOn()) Trigger(TCommand::MusicPause);
}

void TMprisPlayer::PlayPause() {
    // Music on with nothing to play yet: it starts by itself once the list
    // has a track.
    if (!parts_.engine->PlayOn())
        Trigger(TCommand::MusicPlay);
    else if (HasTrack() || parts_.engine->PauseOn())
        Trigger(TCommand::MusicPause);
}

void TMprisPlayer::Stop() {
    if (parts_.engine->PlayOn()) Trigger(TCommand::MusicPlay);
}

void TMprisPlayer::Play() {
    if (!parts_.engine->PlayOn())
        Trigger(TCommand::MusicPlay);
    else if (parts_.engine->PauseOn())
        Trigger(TCommand::MusicPause);
}

void TMprisPlayer::SeekTo(qlonglong us) {
    if (parts_.engine->SeekTo(us / 1000))
        emit Seeked(qlonglong(parts_.engine->State().SeekTarget.load()) * 1000);
}

void TMprisPlayer::Seek(qlonglong offset) {
    if (!CanSeek()) return;
    const qlonglong length = qlonglong(parts_.engine->TrackLength()) * 1000;
    const qlonglong position = Position();
    // Past the end is the next track, as the desktop's controls expect; the
    // comparison cannot overflow for any offset a client sends.
    if (offset >= length - position)
        Next();
    else
        SeekTo(std::max<qlonglong>(0, position + offset));
}

void TMprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    // A request for a track that has meanwhile given way to another is late.
    if (!CanSeek() || trackId.path() != TrackId() || position < 0) return;
    if (position > qlonglong(parts_.engine->TrackLength()) * 1000) return;
    SeekTo(position);
}

void TMprisPlayer::OpenUri(const QString& uri, const QDBusMessage& message) {
    // Files on this machine only, as a drop on the window takes them.
    const QUrl url(uri);
    if (url.isLocalFile() && parts_.openTarget && parts_.openTarget(url.toLocalFile())) return;
    message.setDelayedReply(true);
    bus_.send(message.createErrorReply(
        QDBusError::InvalidArgs,
        QStringLiteral("Only local sound files, playlists and folders can be opened")));
}

} // namespace dorvane
