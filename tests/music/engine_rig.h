// The music engine on services made here and one clock the test moves: a
// decoder of mono tracks at 1000 frames a second, an output whose cursor
// advances with that clock at its frequency, and a device player for ".mid"
// files that plays for a fixed time. Advance() runs the worker's passes and
// the engine's ticks as their own timers would, without threads.
#pragma once

#include "music/music_engine.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace dorvane::test {

struct TTestClock {
    std::int64_t now = 1000;
};

class TTimedDecoder final : public IStreamDecoder {
public:
    // path -> duration in ms; anything else is no sound file.
    std::map<std::string, std::int64_t> tracks;
    std::string opened;

    bool Open(const std::string& path) override {
        const auto it = tracks.find(path);
        if (it == tracks.end()) return false;
        opened = path;
        duration_ = it->second;
        at_ = 0;
        return true;
    }
    void Close() override { opened.clear(); }
    TPcmFormat Format() const override { return {1000, 1, 16, 2}; }
    std::int64_t DurationMs() const override { return duration_; }
    TDecodedPiece Read(std::uint8_t* out, std::size_t size) override {
        TDecodedPiece piece{0, at_, at_};
        const auto frames = std::min<std::int64_t>(std::int64_t(size / 2), duration_ - at_);
        std::memset(out, 0, std::size_t(frames) * 2);
        piece.Bytes = std::size_t(frames) * 2;
        at_ += frames;
        piece.EndMs = at_;
        return piece;
    }
    std::int64_t CurrentMs() const override { return at_; }
    bool Seek(std::int64_t ms) override {
        at_ = std::clamp<std::int64_t>(ms, 0, duration_);
        return true;
    }
    bool Dry() const override { return at_ >= duration_; }

private:
    std::int64_t duration_ = 0;
    std::int64_t at_ = 0;
};

class TClockedOutput final : public ILoopOutput {
public:
    explicit TClockedOutput(TTestClock& clock) : clock_(clock) {}
    bool available = true;

    bool Create(const TPcmFormat& format, std::size_t bytes) override {
        if (!available) return false;
        frames_ = bytes / std::size_t(format.BlockAlign);
        align_ = std::size_t(format.BlockAlign);
        frequency_ = format.SampleRate;
        base_ = 0;
        playing_ = false;
        return true;
    }
    void Release() override { frames_ = 0; }
    void Write(std::size_t, const std::uint8_t*, std::size_t) override {}
    std::size_t PlayCursor() const override { return Frame() * align_; }
    void SetPlayCursor(std::size_t offset) override {
        base_ = double(offset / std::max<std::size_t>(align_, 1));
        since_ = clock_.now;
    }
    int Frequency() const override { return frequency_; }
    void SetFrequency(int hz) override {
        Rebase();
        frequency_ = hz;
    }
    void SetVolume(double) override {}
    void Play() override {
        if (playing_) return;
        since_ = clock_.now;
        playing_ = true;
    }
    void Stop() override {
        Rebase();
        playing_ = false;
    }
    bool Playing() const override { return playing_; }

private:
    std::size_t Frame() const {
        if (frames_ == 0) return 0;
        double at = base_;
        if (playing_) at += double(clock_.now - since_) * frequency_ / 1000.0;
        return std::size_t(at) % frames_;
    }
    void Rebase() {
        base_ = double(Frame());
        since_ = clock_.now;
    }

    TTestClock& clock_;
    std::size_t frames_ = 0;
    std::size_t align_ = 2;
    int frequency_ = 1000;
    double base_ = 0;
    std::int64_t since_ = 0;
    bool playing_ = false;
};

// Plays any ".mid" (and the names in extra) for lengthMs.
class TTimedDevice final : public TDevicePort {
public:
    explicit TTimedDevice(TTestClock& clock) : clock_(clock) {}
    std::int64_t lengthMs = 3000;
    std::vector<QString> extra;
    QString opened;

    bool Open(const QString& path) override {
        Close();
        if (!path.endsWith(QLatin1String(".mid")) &&
            std::find(extra.begin(), extra.end(), path) == extra.end())
            return false;
        opened = path;
        position_ = 0;
        return true;
    }
    void Close() override {
        opened.clear();
        playing_ = paused_ = false;
    }
    bool IsOpen() const override { return !opened.isEmpty(); }
    void Play() override {
        if (opened.isEmpty()) return;
        if (PositionMs() >= lengthMs) position_ = 0;
        since_ = clock_.now;
        playing_ = true;
        paused_ = false;
    }
    void Pause() override {
        Halt();
        paused_ = true;
    }
    void Stop() override { Halt(); }
    void Seek(std::int64_t ms) override { position_ = std::clamp<std::int64_t>(ms, 0, lengthMs); }
    TDeviceMode Mode() const override {
        if (opened.isEmpty()) return TDeviceMode::Stopped;
        if (paused_) return TDeviceMode::Paused;
        return playing_ && PositionMs() < lengthMs ? TDeviceMode::Playing : TDeviceMode::Stopped;
    }
    std::int64_t LengthMs() const override { return opened.isEmpty() ? 0 : lengthMs; }
    std::int64_t PositionMs() const override {
        const std::int64_t at = position_ + (playing_ ? clock_.now - since_ : 0);
        return std::min(at, lengthMs);
    }

private:
    void Halt() {
        position_ = PositionMs();
        playing_ = false;
    }
    TTestClock& clock_;
    std::int64_t position_ = 0;
    std::int64_t since_ = 0;
    bool playing_ = false;
    bool paused_ = false;
};

class TRecordingHost final : public TMusicEngineHost {
public:
    std::vector<QString> captions;
    std::vector<QString> messages;
    int clockTicks = 0;
    int displayNotices = 0;
    int switchChanges = 0;
    std::vector<int> selectedRows;
    bool speedBox = false;
    int playlistShown = 0;

    void EngineClockTick() override { ++clockTicks; }
    void KeepDisplayAwake() override { ++displayNotices; }
    void ShowMusicCaption(const QString& text) override { captions.push_back(text); }
    void ShowMusicMessage(const QString& text) override { messages.push_back(text); }
    void MusicSwitchesChanged() override { ++switchChanges; }
    void SelectPlayingRow(int index) override { selectedRows.push_back(index); }
    void SetSpeedBoxEnabled(bool enabled) override { speedBox = enabled; }
    void ShowPlaylistWindow(bool) override { ++playlistShown; }
    void PlaylistChanged() override {}
    void RecentSourcesChanged() override {}
};

class TEngineRig {
public:
    TTestClock clock;
    TRecordingHost host;
    TTimedDecoder* decoder = nullptr;
    TClockedOutput* output = nullptr;
    TTimedDevice* device = nullptr;
    std::unique_ptr<TMusicEngine> engine;

    explicit TEngineRig(TMusicStart start = Sequential(), bool withStream = true) {
        TPlaybackBackends backends;
        if (withStream) {
            auto d = std::make_unique<TTimedDecoder>();
            auto o = std::make_unique<TClockedOutput>(clock);
            decoder = d.get();
            output = o.get();
            backends.decoder = std::move(d);
            backends.output = std::move(o);
        }
        auto dev = std::make_unique<TTimedDevice>(clock);
        device = dev.get();
        backends.device = std::move(dev);
        backends.clock = [this] { return clock.now; };
        engine = std::make_unique<TMusicEngine>(host, std::move(backends), start);
        engine->Start(TEngineRun::Manual);
    }

    static TMusicStart Sequential() {
        TMusicStart start;
        start.randomOn = false;
        return start;
    }

    // Entries "/m/<name>" titled by name, each a stream track of ms unless
    // ms is 0 (then no decoder knows it).
    void Add(const std::vector<std::pair<QString, std::int64_t>>& tracks) {
        TPlaylist& playlist = engine->Playlist();
        for (const auto& [name, ms] : tracks) {
            FList entry;
            entry.S1 = name;
            entry.S2 = QStringLiteral("/m/") + name;
            playlist.Append(entry);
            if (ms > 0 && decoder) decoder->tracks[entry.S2.toStdString()] = ms;
        }
        TScriptedRandom identity; // all zero draws: a fixed order
        playlist.ShufflePlayOrder(identity);
    }

    // The worker's and the tick's timers over ms of the clock, in 10 ms steps.
    void Advance(std::int64_t ms, bool events = false) {
        for (std::int64_t t = 0; t < ms; t += 10) {
            clock.now += 10;
            TMusicThread& worker = engine->Worker();
            const bool command = engine->State().EngineCommand() != TEngineCommand::None;
            if (worker.FinePolling()) {
                if (command || ++fine_ % 10 == 0)
                    worker.Pass();
                else
                    worker.FinePass();
            } else if (command || clock.now % 100 == 0) {
                worker.Pass();
            }
            if (events) QCoreApplication::processEvents();
            if (clock.now % 900 == 0) engine->TimerTimeTimer();
        }
    }

    // Ticks until the caption changes or limit ms pass; the new caption.
    QString NextCaption(std::int64_t limit = 20000) {
        const std::size_t before = host.captions.size();
        for (std::int64_t t = 0; t < limit && host.captions.size() == before; t += 10)
            Advance(10);
        return host.captions.size() == before ? QString() : host.captions.back();
    }

private:
    int fine_ = 0;
};

} // namespace dorvane::test
