#include "music/music_engine.h"

#include <QTimer>

#include <algorithm>
#include <cmath>

namespace dorvane {

namespace {

constexpr int kTickMs = 900;
// About half a minute of ticks between two looks at the visualiser's frames.
constexpr int kTicksPerDisplayCheck = 32;

// The place of index in the play order; -1 when it is not there.
int OrderPlaceOf(const std::vector<int>& order, int index) {
    const auto it = std::find(order.begin(), order.end(), index);
    return it == order.end() ? -1 : int(it - order.begin());
}

} // namespace

QString OpenFailedMessage(const QString& path) {
    return QStringLiteral("Не удалось открыть файл ") + path +
           QStringLiteral("!\nМузыка отключена.");
}

TWaveSnapshot TMusicEngine::Silence() {
    TWaveSnapshot silence;
    silence.fill(128);
    return silence;
}

TMusicEngine::TMusicEngine(TMusicEngineHost& host, TPlaybackBackends backends,
                           const TMusicStart& start, QObject* parent)
    : QObject(parent), host_(host), backends_(std::move(backends)), random_(TRandom::FromClock()),
      loader_(playlist_, *this, random_, start.soundFolder),
      worker_(std::make_unique<TMusicThread>(state_, backends_, &playlist_)), playOn_(start.playOn),
      randomOn_(start.randomOn), requestedSpeed_(std::clamp(start.requestedSpeed, 10, 2000)),
      showList_(start.showList) {
    loader_.SetMusicSource(start.musicSource);
    loader_.SetRecentSources(start.recentSources);
    loader_.SetWithSubfolders(start.withSubfolders);
    loader_.SetRandomChoice(randomOn_);
    worker_->SetEndNotice([this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (state_.TrackEnded.exchange(false) && !shutDown_) Decide();
            },
            Qt::QueuedConnection);
    });
}

TMusicEngine::~TMusicEngine() {
    Shutdown();
}

void TMusicEngine::Start(TEngineRun run) {
    if (started_ || shutDown_) return;
    started_ = true;
    if (run == TEngineRun::Manual) return;
    worker_->Resume();
    tick_ = new QTimer(this);
    tick_->setInterval(kTickMs);
    connect(tick_, &QTimer::timeout, this, &TMusicEngine::TimerTimeTimer);
    tick_->start();
}

void TMusicEngine::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    if (tick_) tick_->stop();
    Post(TEngineCommand::Close);
    worker_->Terminate();
    backends_.mixer.reset();
}

bool TMusicEngine::SpeedBoxEnabled() const {
    return !state_.SpeedUnsupported.load() || state_.StreamInUse.load();
}

TWaveSnapshot TMusicEngine::TakeSnapshot(TSnapshotReader reader) {
    if (TStreamFeed* feed = worker_->Feed()) return feed->TakeSnapshot(reader);
    return Silence();
}

bool TMusicEngine::SnapshotFresh(TSnapshotReader reader) const {
    if (TStreamFeed* feed = worker_->Feed()) return feed->SnapshotFresh(reader);
    return false;
}

bool TMusicEngine::HasWave() const {
    return worker_->Feed() != nullptr;
}

void TMusicEngine::TogglePlay() {
    playOn_ = !playOn_;
    pauseOn_ = false;
    // Switched on after a failed start, it moves on instead of retrying.
    holdCurrent_ = !(playOn_ && MoveOnFromFailure());
    host_.MusicSwitchesChanged();
}

bool TMusicEngine::MoveOnFromFailure() {
    if (!afterFailure_) return false;
    afterFailure_ = false;
    searching_ = true;
    return true;
}

void TMusicEngine::TogglePause() {
    pauseOn_ = !pauseOn_;
    Post(pauseOn_ ? TEngineCommand::Pause : TEngineCommand::Resume);
    host_.MusicSwitchesChanged();
}

void TMusicEngine::Next() {
    pauseOn_ = false;
    nextRequested_ = true;
    if (MoveOnFromFailure()) playOn_ = true;
    host_.MusicSwitchesChanged();
}

void TMusicEngine::Previous() {
    pauseOn_ = false;
    previousRequested_ = true;
    if (MoveOnFromFailure()) playOn_ = true;
    host_.MusicSwitchesChanged();
}

void TMusicEngine::Restart() {
    SeekTo(0);
}

void TMusicEngine::ToggleRandom() {
    randomOn_ = !randomOn_;
    loader_.SetRandomChoice(randomOn_);
    if (randomOn_) {
        const int place = OrderPlaceOf(playlist_.PlayOrder(), playlist_.CurrentIndex());
        if (place >= 0) playlist_.SetOrderPosition(place);
    } else {
        playlist_.SetOrderPosition(playlist_.CurrentIndex());
    }
    host_.MusicSwitchesChanged();
}

void TMusicEngine::SeekByClick(int x, int width) {
    if (PlayerMode() != kModePlaying || width <= 0) return;
    state_.SeekTarget = std::llround(double(TrackLength()) / width * x);
    Post(TEngineCommand::Seek);
}

bool TMusicEngine::SeekTo(std::int64_t ms) {
    const int mode = PlayerMode();
    if (mode != kModePlaying && mode != kModePaused) return false;
    const std::int64_t length = TrackLength();
    state_.SeekTarget =
        std::clamp<std::int64_t>(ms, 0, std::max<std::int64_t>(length > 0 ? length : ms, 0));
    Post(TEngineCommand::Seek);
    // The worker plays on from the new place, as after "В начало".
    pauseOn_ = false;
    host_.MusicSwitchesChanged();
    return true;
}

void TMusicEngine::PlayChosen(int index) {
    if (index < 0 || index >= playlist_.Count()) return;
    // A row picked by hand is tried as it is.
    afterFailure_ = searching_ = false;
    failedInARow_ = 0;
    if (!playOn_) TogglePlay();
    if (pauseOn_) TogglePause();
    holdCurrent_ = true;
    playlist_.SelectPending(index);
}

void TMusicEngine::SetRequestedSpeed(int thousandths) {
    requestedSpeed_ = std::clamp(thousandths, 10, 2000);
}

void TMusicEngine::CloseCurrentFile() {
    Post(TEngineCommand::Close);
}

void TMusicEngine::SwitchPlaybackOn() {
    if (!playOn_) TogglePlay();
}

bool TMusicEngine::TrackOpen() const {
    return state_.StreamInUse.load() || state_.DeviceInUse.load();
}

void TMusicEngine::StartCurrent() {
    if (!playlist_.IsEmpty()) {
        if (playlist_.CurrentIndex() >= playlist_.Count() || playlist_.CurrentIndex() < 0)
            playlist_.SetCurrentIndex(0);
        const int index = playlist_.CurrentIndex();
        const FList& entry = playlist_.Entry(index);
        playing_ = {entry.S2, index, !entry.S3.isEmpty()};
        state_.SetPlayingEntry(playing_);
        Post(TEngineCommand::OpenAndPlay);
        caption_ = QString::number(index + 1) + QStringLiteral(". ") + entry.S1;
        host_.ShowMusicCaption(caption_);
    }
    holdCurrent_ = false;
}

void TMusicEngine::ServeLoadRequest() {
    loader_.ClearLoadRequest();
    if (!loader_.ApplyPendingSource()) return;
    SwitchPlaybackOn();
    loader_.LoadMusic(QString());
}

void TMusicEngine::TimerTimeTimer() {
    if (shutDown_) return;
    ++ticks_;
    host_.EngineClockTick();
    if (ticks_ % kTicksPerDisplayCheck == 0) {
        if (visualiserFrames_ > 0) host_.KeepDisplayAwake();
        visualiserFrames_ = 0;
    }
    Decide();
    if (showList_ && ticks_ == 1) host_.ShowPlaylistWindow(true);
}

void TMusicEngine::Decide() {
    if (state_.EngineCommand() != TEngineCommand::None || playlist_.Busy()) return;

    if (state_.OpenFailed.exchange(false)) {
        ++failedInARow_;
        if (searching_ && failedInARow_ < playlist_.Count()) {
            // Still looking for an entry that opens: on to the next one.
            nextRequested_ = true;
        } else {
            searching_ = false;
            afterFailure_ = true;
            failedInARow_ = 0;
            playOn_ = false;
            pauseOn_ = false;
            host_.MusicSwitchesChanged();
            host_.ShowMusicMessage(OpenFailedMessage(playing_.path));
        }
    } else if (PlayerMode() == kModePlaying) {
        searching_ = false;
        failedInARow_ = 0;
    }
    if (state_.SpeedBoxRefresh.exchange(false)) host_.SetSpeedBoxEnabled(SpeedBoxEnabled());
    if (requestedSpeed_ != Speed()) {
        state_.Speed = requestedSpeed_;
        Post(TEngineCommand::ApplySpeed);
    }
    if (loader_.LoadRequested()) {
        ServeLoadRequest();
        // The load has closed the track and runs now; the next tick goes on.
        if (playlist_.Busy()) return;
    }

    if (playOn_) {
        const int mode = PlayerMode();
        const bool open = mode == kModePlaying || mode == kModePaused || mode == kModeOpening;
        const TPendingSelection pending = playlist_.PendingSelection();
        if (playlist_.IsEmpty()) {
            playOn_ = false;
            host_.MusicSwitchesChanged();
            caption_ = QStringLiteral("Звуковые файлы не найдены");
            host_.ShowMusicCaption(caption_);
        } else if (pending.pending) {
            playlist_.ClearPendingSelection();
            if (pending.index == playlist_.CurrentIndex() && open) {
                // The chosen track is the one playing: it goes on.
                holdCurrent_ = false;
            } else {
                playlist_.SetCurrentIndex(pending.index);
                const int place = OrderPlaceOf(playlist_.PlayOrder(), pending.index);
                if (!randomOn_)
                    playlist_.SetOrderPosition(pending.index);
                else if (place >= 0)
                    playlist_.SetOrderPosition(place);
                StartCurrent();
                host_.SelectPlayingRow(playlist_.CurrentIndex());
            }
        } else if (!open || nextRequested_ || previousRequested_) {
            if (holdCurrent_) {
                holdCurrent_ = false;
            } else {
                const int last = playlist_.Count() - 1;
                int position = playlist_.OrderPosition();
                if (previousRequested_)
                    position = position <= 0 ? last : position - 1;
                else
                    position = position >= last ? 0 : position + 1;
                playlist_.SetOrderPosition(position);
                const std::vector<int>& order = playlist_.PlayOrder();
                const bool ordered = randomOn_ && position < int(order.size());
                playlist_.SetCurrentIndex(ordered ? order[std::size_t(position)] : position);
            }
            nextRequested_ = previousRequested_ = false;
            StartCurrent();
            host_.SelectPlayingRow(playlist_.CurrentIndex());
        }
    }

    if (!playOn_ && TrackOpen()) {
        Post(TEngineCommand::Close);
        caption_.clear();
        host_.ShowMusicCaption(caption_);
    }
}

} // namespace dorvane
