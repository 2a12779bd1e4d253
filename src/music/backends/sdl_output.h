// The program's one sound output. A plain ALSA hardware device takes a
// single opener, so the game sounds, the stream path's looping buffer and
// the MIDI synthesizer do not open devices of their own: they are sources
// mixed into one SDL2 device (signed 16-bit stereo at whatever rate the
// device runs).
//
// The device is opened by the first Acquire and closed when the last holder
// lets go. A source joins the mix for as long as its TSdlMixSlot lives. SDL's
// audio thread calls every source's Mix, in the order they joined, with the
// device lock held; whatever a source shares with its Mix is touched under
// TSdlOutput::TLock on the other threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace dorvane {

class TSdlSource {
public:
    virtual ~TSdlSource() = default;
    // On SDL's audio thread, device lock held: adds this source's sound, at
    // its own level, to frames interleaved stereo frames of out at the
    // output's rate, saturating at the limits (pcm_mix.h). The block comes
    // in holding the sources before this one (silence for the first).
    virtual void Mix(std::int16_t* out, std::size_t frames) = 0;
};

class TSdlOutput {
public:
    static constexpr int kChannels = 2;
    static constexpr int kFramesPerCall = 1024;

    // The output all holders share, opened now when nobody holds it; null
    // when SDL has no audio device here (every sound is then silent).
    static std::shared_ptr<TSdlOutput> Acquire();
    // Devices opened so far by the program.
    static int DevicesOpened();

    ~TSdlOutput();
    TSdlOutput(const TSdlOutput&) = delete;
    TSdlOutput& operator=(const TSdlOutput&) = delete;

    // Frames a second the device asks for.
    int Rate() const { return rate_; }

    // The device lock: while one is held the callback does not run. Nests on
    // one thread; a null output locks nothing.
    class TLock {
    public:
        explicit TLock(const TSdlOutput* output);
        ~TLock();
        TLock(const TLock&) = delete;
        TLock& operator=(const TLock&) = delete;

    private:
        const TSdlOutput* output_;
    };

private:
    friend class TSdlMixSlot;
    struct TImpl;
    TSdlOutput(std::unique_ptr<TImpl> impl, int rate);
    void Add(TSdlSource& source);
    void Remove(TSdlSource& source);

    std::unique_ptr<TImpl> impl_;
    int rate_ = 0;
};

// A source's place in the mix, which also holds the output open. Declare it
// after everything the source's Mix reads, so that it goes first: once its
// destructor returns, the callback no longer runs the source.
class TSdlMixSlot {
public:
    TSdlMixSlot(std::shared_ptr<TSdlOutput> output, TSdlSource& source);
    ~TSdlMixSlot();
    TSdlMixSlot(const TSdlMixSlot&) = delete;
    TSdlMixSlot& operator=(const TSdlMixSlot&) = delete;

    TSdlOutput* Output() const { return output_.get(); }

private:
    std::shared_ptr<TSdlOutput> output_;
    TSdlSource& source_;
};

} // namespace dorvane
