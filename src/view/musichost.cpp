#include "view/musichost.h"

#include "view/mpris_service.h"

#include "core/file_name.h"
#include "desktop/shortcut_resolve.h"
#include "music/backends/ffmpeg_decoder.h"
#include "music/backends/system_backends.h"
#include "music/file_lookup.h"
#include "music/music_masks.h"
#include "musicui/music_dialogs.h"
#include "musicui/display_inhibit.h"
#include "musicui/musicform.h"
#include "musicui/scopeform.h"
#include "musicui/serverform.h"
#include "musicui/wait_window.h"
#include "widgets/messageform.h"
#include "widgets/window_mode.h"

#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QWidget>

#include <SDL.h>

#include <utility>

namespace dorvane {

TMusicParts SystemMusic(int requestedSpeed) {
    return {[] { return MakeSystemPlaybackBackends(); }, TEngineRun::Threaded, requestedSpeed,
            true};
}

bool IsMusicTarget(const QString& path) {
    return IsAudioFile(path) || IsPlaylistFile(path) || IsExistingFolder(path);
}

TMusicHost::TMusicHost(TMusicHostParts parts, const TMusicParts& music, const TMusicStart& start)
    : parts_(std::move(parts)), run_(music.run), mediaControls_(music.mediaControls),
      chooser_(DialogSourceChooser(parts_.window)) {
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

namespace {

// A file's length by decoding its header, for the title editor.
qint64 DecodedLength(const QString& path) {
    TFfmpegDecoder decoder;
    if (!decoder.Open(NativeFileName(path))) return -1;
    return decoder.DurationMs() / 1000;
}

// The engine whose worker the shutdown let go (see ~TMusicHost).
TMusicEngine* g_keptEngine = nullptr;

QString OutputName() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return QStringLiteral("SDL: ") + QString::fromUtf8(driver ? driver : "-");
}

} // namespace

TMusicHost::~TMusicHost() {
    // The desktop's controls and the window first (they read the engine;
    // the window writes its settings), then the engine: its loader's last
    // notices still reach this host.
    mpris_.reset();
    delete form_.data();
    // A worker the shutdown had to let go still uses the engine's state,
    // services and playlist: the engine is kept to the end of the process.
    if (engine_ && engine_->Worker().Abandoned()) g_keptEngine = engine_.release();
    engine_.reset();
    search_.reset();
}

void TMusicHost::Start() {
    if (mediaControls_ && !mpris_) {
        TMprisParts parts;
        parts.engine = engine_.get();
        parts.commands = parts_.commands;
        parts.raiseWindow = parts_.raiseWindow;
        // As a drop on the window: a link opens what it names.
        parts.openTarget = [this](const QString& path) {
            const QString target = ResolveShortcut(path);
            return IsMusicTarget(target) && OpenTarget(target);
        };
        mpris_ = std::make_unique<TMprisService>(parts);
        if (TMixerPort* mixer = engine_->Mixer())
            QObject::connect(mixer, &TMixerPort::VolumeChanged, mpris_.get(),
                             [this] { mpris_->Refresh(); });
    }
    engine_->Start(run_);
}

void TMusicHost::Shutdown() {
    // The desktop's controls go first: nothing may reach the engine after it.
    mediaControls_ = false;
    mpris_.reset();
    delete scope_.data();
    delete form_.data();
    engine_->Shutdown();
}

TMusicForm* TMusicHost::PlaylistWindow() const {
    return form_.data();
}

void TMusicHost::ForgetPlaylistSettings() {
    if (form_) form_->ForgetSettings();
    if (scope_) scope_->ForgetSettings();
}

TScopeForm* TMusicHost::Visualiser() const {
    return scope_.data();
}

TScopeForm* TMusicHost::MakeVisualiser() {
    TScopeFormParts parts;
    parts.engine = engine_.get();
    parts.store = parts_.store;
    parts.chooseSource = [this](int tag) { ChooseSource(tag); };
    parts.programHidden = [this] { return parts_.window && parts_.window->isHidden(); };
    parts.screenSaverRunning = ScreenSaverRunning;
    scope_ = new TScopeForm(std::move(parts));
    QObject::connect(scope_, &TScopeForm::ScreenSaverRequested, scope_,
                     [this] { OpenScreenSaver(true); });
    return scope_;
}

void TMusicHost::OpenVisualiser() {
    if (!scope_) MakeVisualiser();
    if (ScreenSaverRunning()) return;
    if (scope_->isMinimized())
        scope_->showNormal();
    else
        scope_->show();
    scope_->raise();
    scope_->activateWindow();
}

void TMusicHost::OpenScreenSaver(bool withVisualiser) {
    if (ScreenSaverRunning()) return;
    TScopeForm* scope = nullptr;
    bool opened = false;
    if (withVisualiser) {
        opened = !scope_;
        scope = scope_ ? scope_.data() : MakeVisualiser();
    }
    dorvane::OpenScreenSaver(scope, opened);
}

void TMusicHost::LoadAllSources() {
    TMusicLoader& loader = engine_->Loader();
    loader.SetLoadMode(TLoadMode::AllSources);
    loader.LoadMusic(QString());
}

bool TMusicHost::OpenTarget(const QString& path) {
    return engine_->Loader().OpenMusicTarget(path);
}

bool TMusicHost::OpenFiles(const QStringList& paths) {
    return engine_->Loader().OpenMusicFiles(paths);
}

bool TMusicHost::Loading() const {
    return engine_->Loader().Loading();
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
    if (form_) form_->SwitchesChanged();
}

void TMusicHost::MusicSwitchesChanged() {
    MirrorChecks();
    if (mpris_) mpris_->Refresh();
}

void TMusicHost::EngineClockTick() {
    parts_.clockTick();
    // The length and the rate come from the worker; the tick passes them on.
    if (mpris_) mpris_->Refresh();
}

void TMusicHost::KeepDisplayAwake() {
    // The engine asks about every 29 s while the visualiser draws; the hold
    // lapses when two such calls are missed.
    TDisplayInhibitor::Instance().HoldFor(60000);
}

void TMusicHost::ShowMusicCaption(const QString& text) {
    parts_.showCaption(text);
    // A caption while music is on names a track that has just started.
    if (mpris_) {
        if (engine_->PlayOn() && !text.isEmpty())
            mpris_->TrackStarted();
        else
            mpris_->Refresh();
    }
}

void TMusicHost::ShowMusicMessage(const QString& text) {
    // The tick says this: the message window, which waits for nobody.
    ShowInfoMessage(text, TSystemIcon::Information);
}

void TMusicHost::MakePlaylistWindow() {
    QWidget* game = parts_.window;
    const QScreen* screen =
        game && game->screen() ? game->screen() : QGuiApplication::primaryScreen();
    TMusicFormParts parts;
    parts.engine = engine_.get();
    parts.store = parts_.store;
    parts.gameWindow = game ? game->frameGeometry() : QRect();
    parts.workArea = screen ? screen->availableGeometry() : QRect();
    // Not framed yet: the game window's frame is the best guess for its own.
    parts.frame = game ? FrameMargins(game) : QMargins();
    parts.lengthProbe = DecodedLength;
    parts.outputName = OutputName;
    parts.volumeProgram = FindVolumeProgram();
    // A window of its own (no parent), so that it has its own task bar
    // button and the game window's stay-on-top does not carry over.
    form_ = new TMusicForm(std::move(parts));
    QObject::connect(form_, &TMusicForm::SourceRequested, form_,
                     [this](int tag) { ChooseSource(tag); });
    QObject::connect(form_, &TMusicForm::TargetDropped, form_,
                     [this](const QString& path) { OpenTarget(path); });
    QObject::connect(form_, &TMusicForm::RaiseGameWindowRequested, form_,
                     [this] { FocusGameWindow(); });
    QObject::connect(form_, &TMusicForm::VisualiserRequested, form_, [this] { OpenVisualiser(); });
    QObject::connect(form_, &TMusicForm::ScreenSaverRequested, form_,
                     [this](bool withVisualiser) { OpenScreenSaver(withVisualiser); });
    QObject::connect(form_, &QObject::destroyed, engine_.get(), [this] {
        if (engine_ && engine_->Playlist().IsEmpty()) parts_.showCaption(QString());
    });
}

void TMusicHost::FocusGameWindow() const {
    if (QWidget* game = parts_.window) {
        if (game->isMinimized()) game->showNormal();
        game->raise();
        game->activateWindow();
    }
}

void TMusicHost::TogglePlaylistWindow() {
    if (form_) {
        form_->close();
        return;
    }
    RevealPlaylistWindow();
}

void TMusicHost::RevealPlaylistWindow() {
    ShowPlaylistWindow(true);
}

void TMusicHost::SelectPlayingRow(int index) {
    if (form_) form_->SelectRow(index);
}

void TMusicHost::SetSpeedBoxEnabled(bool enabled) {
    if (form_) form_->SetSpeedBoxEnabled(enabled);
}

void TMusicHost::ShowPlaylistWindow(bool keepFocus) {
    if (!form_) MakePlaylistWindow();
    // While the program's windows are hidden in the tray it waits unseen.
    if (parts_.window && parts_.window->isHidden()) return;
    if (form_->isMinimized())
        form_->showNormal();
    else
        form_->show();
    form_->raise();
    if (keepFocus)
        FocusGameWindow();
    else
        form_->activateWindow();
}

void TMusicHost::PlaylistChanged() {
    if (mpris_) mpris_->Refresh();
    if (!form_) return;
    form_->LetCaption();
    form_->LetListBox();
    form_->SetTotal();
    form_->SelectRow(engine_->Playlist().CurrentIndex());
}

void TMusicHost::RecentSourcesChanged() {
    if (form_) form_->LetMenuMusic();
}

} // namespace dorvane
