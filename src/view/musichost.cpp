#include "view/musichost.h"

#include "music/backends/system_backends.h"
#include "music/file_lookup.h"
#include "music/music_masks.h"
#include "musicui/music_dialogs.h"
#include "musicui/wait_window.h"
#include "widgets/messageform.h"

#include <QObject>

#include <utility>

namespace dorvane {

TMusicParts SystemMusic(int requestedSpeed) {
    return {[] { return MakeSystemPlaybackBackends(); }, TEngineRun::Threaded, requestedSpeed};
}

bool IsMusicTarget(const QString& path) {
    return IsAudioFile(path) || IsPlaylistFile(path) || IsExistingFolder(path);
}

TMusicHost::TMusicHost(TMusicHostParts parts, const TMusicParts& music, const TMusicStart& start)
    : parts_(std::move(parts)), run_(music.run), chooser_(DialogSourceChooser(parts_.window)) {
    engine_ = std::make_unique<TMusicEngine>(
        *this, music.backends ? music.backends() : TPlaybackBackends{}, start);
    TMusicLoader& loader = engine_->Loader();
    // A search collects what the playlist is to hold: the window must not
    // close under it (the close query asks the window's long operations).
    QObject::connect(&loader, &TMusicLoader::SearchStarted, &loader,
                     [this] { search_.emplace(*parts_.longOperations); });
    QObject::connect(&loader, &TMusicLoader::SearchFinished, &loader, [this] { search_.reset(); });
    QObject::connect(&loader, &TMusicLoader::LoadFinished, &loader, [this] {
        if (afterSearches_ && !engine_->Loader().LongOperationRunning())
            std::exchange(afterSearches_, nullptr)();
    });
    AttachWaitWindow(loader, parts_.window);
}

TMusicHost::~TMusicHost() {
    // The engine first: its loader's last notices still reach this host.
    engine_.reset();
    search_.reset();
}

void TMusicHost::LoadAllSources() {
    TMusicLoader& loader = engine_->Loader();
    loader.SetLoadMode(TLoadMode::AllSources);
    loader.LoadMusic(QString());
}

bool TMusicHost::OpenTarget(const QString& path) {
    return engine_->Loader().OpenMusicTarget(path);
}

void TMusicHost::EndSearches(std::function<void()> then) {
    TMusicLoader& loader = engine_->Loader();
    if (!loader.LongOperationRunning()) {
        then();
        return;
    }
    afterSearches_ = std::move(then);
    loader.CancelSearch();
}

void TMusicHost::ChooseSource(int tag) {
    engine_->Loader().ChooseMusicSource(tag, chooser_);
}

void TMusicHost::MirrorChecks() const {
    const TCommandRegistry& commands = *parts_.commands;
    commands.SetChecked(TCommand::MusicPlay, engine_->PlayOn());
    commands.SetChecked(TCommand::MusicPause, engine_->PauseOn());
    commands.SetChecked(TCommand::MusicRandom, engine_->RandomOn());
}

void TMusicHost::EngineClockTick() {
    parts_.clockTick();
}

void TMusicHost::KeepDisplayAwake() {
    // Only the visualiser counts frames, and it does not exist yet: nothing
    // asks for the display to stay awake.
}

void TMusicHost::ShowMusicCaption(const QString& text) {
    parts_.showCaption(text);
}

void TMusicHost::ShowMusicMessage(const QString& text) {
    // The tick says this: the message window, which waits for nobody.
    ShowInfoMessage(text, TSystemIcon::Information);
}

// The playlist window is not there yet: its row, its speed box and its
// showing have nobody to go to, and the lines and the history menu it would
// rebuild do not exist.
void TMusicHost::SelectPlayingRow(int) {}
void TMusicHost::SetSpeedBoxEnabled(bool) {}
void TMusicHost::ShowPlaylistWindow(bool) {}
void TMusicHost::PlaylistChanged() {}
void TMusicHost::RecentSourcesChanged() {}

} // namespace dorvane
