// FluidSynth stays inside this file. There is no FluidSynth audio driver:
// the synth is one source of the program's shared output (sdl_output.h) and
// is rendered by its callback at the device's rate, and the player advances
// by the synth's sample clock ("player.timing-source" = "sample"), so the
// music keeps time with the frames actually heard.
//
// Locking. FluidSynth's synth calls are thread-safe, but its file player is
// not documented to be safe against the thread that renders (its sample
// timer runs inside the synth's write), so every player and synth call of
// the worker is made under the output's device lock: the callback and the
// worker never run FluidSynth at the same time. The SoundFont is loaded
// before the synth joins the mix, without the lock.
#include "music/backends/fluid_device.h"

#include "core/file_name.h"
#include "core/regular_file.h"
#include "music/backends/pcm_mix.h"
#include "music/backends/sdl_output.h"
#include "music/midi_timing.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <optional>
#include <vector>

namespace dorvane {
namespace {

// Far more than any real song; a bound on what a hostile name can make us read.
constexpr std::size_t kMaxMidiFile = 16 * 1024 * 1024;

template <typename T, void (*Delete)(T*)> struct TFluidDeleter {
    void operator()(T* p) const { Delete(p); }
};
template <typename T, void (*Delete)(T*)>
using TFluidOwner = std::unique_ptr<T, TFluidDeleter<T, Delete>>;

using TSettings = TFluidOwner<fluid_settings_t, delete_fluid_settings>;
void DeleteSynth(fluid_synth_t* synth) {
    delete_fluid_synth(synth);
}
using TSynth = TFluidOwner<fluid_synth_t, DeleteSynth>;
void DeletePlayer(fluid_player_t* player) {
    delete_fluid_player(player);
}
using TPlayer = TFluidOwner<fluid_player_t, DeletePlayer>;
// The program keeps no log, and a file that does not open is reported by the
// engine; FluidSynth's own messages would only go to the terminal.
void QuietFluidSynth() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

// One open file: the synth with its SoundFont, the player with the file, and
// its place in the mix. Member order is destruction order reversed: the slot
// leaves the mix before the player and the synth go.
struct TOpenTrack final : TSdlSource {
    TSettings settings;
    TSynth synth;
    TPlayer player;
    TMidiTiming timing;
    int rate = 0;
    std::array<float, TSdlOutput::kFramesPerCall> left{};
    std::array<float, TSdlOutput::kFramesPerCall> right{};
    int quietFrames = 0; // of the effects' tail still to render
    std::optional<TSdlMixSlot> slot;

    explicit TOpenTrack(TMidiTiming t) : timing(t) {}
    TSdlOutput* Output() const { return slot ? slot->Output() : nullptr; }

    // Rendered while the player plays and for a second after the last voice
    // has died away (the reverb's tail); an idle synth costs nothing.
    void Mix(std::int16_t* out, std::size_t frames) override {
        if (fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING ||
            fluid_synth_get_active_voice_count(synth.get()) > 0)
            quietFrames = rate;
        else if (quietFrames <= 0)
            return;
        quietFrames -= int(frames);
        for (std::size_t done = 0; done < frames;) {
            const std::size_t n = std::min(frames - done, left.size());
            fluid_synth_write_float(synth.get(), int(n), left.data(), 0, 1, right.data(), 0, 1);
            std::int16_t* at = out + 2 * done;
            for (std::size_t i = 0; i < n; ++i) {
                at[2 * i] = Saturate(at[2 * i] + std::int32_t(left[i] * 32767.0f));
                at[2 * i + 1] = Saturate(at[2 * i + 1] + std::int32_t(right[i] * 32767.0f));
            }
            done += n;
        }
    }
};

std::unique_ptr<TOpenTrack> OpenTrack(const QString& path, const QString& soundFont) {
    const TFileBytes file = ReadRegularFile(NativeFileName(path), kMaxMidiFile);
    if (!file.ok()) return nullptr;
    const std::optional<TMidiTiming> timing = TMidiTiming::Read(file.bytes);
    if (!timing || soundFont.isEmpty()) return nullptr;

    std::shared_ptr<TSdlOutput> output = TSdlOutput::Acquire();
    if (!output) return nullptr;
    auto track = std::make_unique<TOpenTrack>(*timing);
    track->rate = output->Rate();
    track->settings.reset(new_fluid_settings());
    if (!track->settings) return nullptr;
    fluid_settings_t* s = track->settings.get();
    // A device rate the synth cannot make (8 to 96 kHz) plays nothing.
    if (fluid_settings_setnum(s, "synth.sample-rate", double(track->rate)) != FLUID_OK)
        return nullptr;
    // TimGM6mb is quiet at FluidSynth's default gain of 0.2.
    fluid_settings_setnum(s, "synth.gain", 0.5);
    // The synth is rendered by the output's callback only; no MIDI input, no shell.
    fluid_settings_setint(s, "synth.cpu-cores", 1);
    fluid_settings_setstr(s, "player.timing-source", "sample");

    track->synth.reset(new_fluid_synth(s));
    if (!track->synth) return nullptr;
    if (fluid_synth_sfload(track->synth.get(), NativeFileName(soundFont).c_str(), 1) ==
        FLUID_FAILED)
        return nullptr;
    track->player.reset(new_fluid_player(track->synth.get()));
    if (!track->player) return nullptr;
    // The player copies the bytes; it gets the Standard MIDI File itself,
    // unwrapped from an RMID file.
    if (fluid_player_add_mem(track->player.get(), file.bytes.data() + timing->smfOffset(),
                             timing->smfSize()) != FLUID_OK)
        return nullptr;
    track->slot.emplace(std::move(output), *track);
    return track;
}

class TFluidDevice final : public TDevicePort {
public:
    explicit TFluidDevice(QString soundFont) : soundFont_(std::move(soundFont)) {
        QuietFluidSynth();
    }
    ~TFluidDevice() override { Close(); }

    bool Open(const QString& path) override {
        Close();
        track_ = OpenTrack(path, soundFont_);
        return track_ != nullptr;
    }

    void Close() override {
        if (track_) Stop();
        track_.reset(); // leaves the mix first, then the player and synth go
        started_ = paused_ = false;
        target_.reset();
    }

    bool IsOpen() const override { return track_ != nullptr; }

    void Play() override {
        if (!track_) return;
        const TSdlOutput::TLock lock(track_->Output());
        fluid_player_t* player = track_->player.get();
        if (Playing()) return;
        if (!target_ && started_ && fluid_player_get_status(player) == FLUID_PLAYER_DONE &&
            CurrentTick() >= track_->timing.totalTicks())
            target_ = 0; // played to the end: the next play starts again
        // The player takes a seek before it plays (it knows the file's length
        // only once playing has loaded it) and after it stopped, not between.
        if (target_) fluid_player_seek(player, int(*target_));
        target_.reset();
        fluid_player_play(player);
        started_ = true;
        paused_ = false;
    }

    void Pause() override {
        if (!track_) return;
        const TSdlOutput::TLock lock(track_->Output());
        if (!Playing()) return;
        Halt();
        paused_ = true;
    }

    void Stop() override {
        if (!track_) return;
        const TSdlOutput::TLock lock(track_->Output());
        if (Playing()) Halt();
        paused_ = false;
    }

    void Seek(std::int64_t ms) override {
        if (!track_) return;
        const std::uint64_t tick = track_->timing.MsToTicks(std::max<std::int64_t>(ms, 0));
        const TSdlOutput::TLock lock(track_->Output());
        if (!Playing()) {
            target_ = tick;
            return;
        }
        fluid_player_t* player = track_->player.get();
        if (fluid_player_seek(player, int(tick)) == FLUID_OK) return;
        // Right after play the player may not have loaded the file yet and
        // refuses; stopped, it takes the seek.
        Halt();
        fluid_player_seek(player, int(tick));
        fluid_player_play(player);
    }

    TDeviceMode Mode() const override {
        if (!track_) return TDeviceMode::Stopped;
        if (paused_) return TDeviceMode::Paused;
        const TSdlOutput::TLock lock(track_->Output());
        return Playing() ? TDeviceMode::Playing : TDeviceMode::Stopped;
    }

    std::int64_t LengthMs() const override { return track_ ? track_->timing.lengthMs() : 0; }

    std::int64_t PositionMs() const override {
        if (!track_) return 0;
        const TSdlOutput::TLock lock(track_->Output());
        return track_->timing.TicksToMs(target_ ? *target_ : CurrentTick());
    }

private:
    // These three run under the device lock.
    bool Playing() const {
        return started_ && fluid_player_get_status(track_->player.get()) == FLUID_PLAYER_PLAYING;
    }

    std::uint64_t CurrentTick() const {
        if (!started_) return 0;
        const int tick = fluid_player_get_current_tick(track_->player.get());
        return tick > 0 ? std::min<std::uint64_t>(std::uint64_t(tick), track_->timing.totalTicks())
                        : 0;
    }

    // The player stops reading events but keeps its position, from which
    // the next play goes on; the notes still sounding are released.
    void Halt() {
        fluid_player_stop(track_->player.get());
        fluid_synth_all_notes_off(track_->synth.get(), -1);
    }

    QString soundFont_;
    std::unique_ptr<TOpenTrack> track_;
    bool started_ = false;
    bool paused_ = false;
    std::optional<std::uint64_t> target_; // where the next Play starts
};

} // namespace

QStringList GeneralMidiSoundFonts() {
    return {QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
            QStringLiteral("/usr/share/soundfonts/default.sf2")};
}

QString FindGeneralMidiSoundFont(const QStringList& candidates) {
    for (const QString& path : candidates)
        if (IsRegularFile(NativeFileName(path))) return path;
    return {};
}

std::unique_ptr<TDevicePort> MakeFluidDevice(const QString& soundFont) {
    return std::make_unique<TFluidDevice>(soundFont);
}

} // namespace dorvane
