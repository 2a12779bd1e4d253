#include "sdl_loop_output.h"

#include "pcm_mix.h"
#include "sdl_output.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace dorvane {

namespace {

// The cursor's fraction of a frame, in 1/2^32; a step of kWholeFrame plays
// the buffer frame by frame.
constexpr std::uint64_t kWholeFrame = std::uint64_t(1) << 32;

} // namespace

struct TSdlLoopOutput::TImpl final : TSdlSource {
    int deviceRate = 0;

    // Shared with the callback; touched only under the device lock.
    std::vector<std::int16_t> ring; // interleaved frames
    int channels = 2;
    std::size_t frames = 0;
    std::size_t index = 0;      // the cursor's frame
    std::uint32_t fraction = 0; // and how far it is towards the next one
    int frequency = 44100;
    std::uint64_t step = kWholeFrame; // frequency / deviceRate per device frame
    int level = kFullLevel;
    bool playing = false;
    std::uint64_t played = 0;

    TSdlMixSlot slot; // last: leaves the mix before the ring goes

    TImpl() : slot(TSdlOutput::Acquire(), *this) {
        if (slot.Output() != nullptr) deviceRate = slot.Output()->Rate();
    }

    TSdlOutput* Output() const { return slot.Output(); }

    void SetFrequency(int hz) {
        frequency = std::max(1, hz);
        step = deviceRate > 0 ? (std::uint64_t(frequency) << 32) / std::uint64_t(deviceRate)
                              : kWholeFrame;
        // Back at the device's own pace the cursor sits on a frame again (it
        // moves by less than one), so the callback can copy.
        if (step == kWholeFrame) fraction = 0;
    }

    void Mix(std::int16_t* out, std::size_t outFrames) override {
        if (!playing || frames == 0) return;
        if (step == kWholeFrame)
            MixStraight(out, outFrames);
        else
            MixStretched(out, outFrames);
        played += outFrames;
    }

    // Frame by frame: runs of the ring added as they are.
    void MixStraight(std::int16_t* out, std::size_t outFrames) {
        const std::int16_t* data = ring.data();
        for (std::size_t done = 0; done < outFrames;) {
            const std::size_t run = std::min(outFrames - done, frames - index);
            if (channels == 2)
                AddSamples(out + 2 * done, data + 2 * index, 2 * run, level);
            else
                AddMonoToStereo(out + 2 * done, data + index, run, level);
            index += run;
            if (index == frames) index = 0;
            done += run;
        }
    }

    // Any other speed: linear interpolation between the cursor's frame and
    // the next, weighted by the top 15 bits of the fraction.
    void MixStretched(std::int16_t* out, std::size_t outFrames) {
        const std::int16_t* data = ring.data();
        const auto width = std::size_t(channels);
        const auto right = std::size_t(channels - 1); // a mono ring feeds both sides
        for (std::size_t i = 0; i < outFrames; ++i) {
            const std::size_t next = index + 1 < frames ? index + 1 : 0;
            const auto weight = std::int32_t(fraction >> 17);
            const std::int16_t* a = data + index * width;
            const std::int16_t* b = data + next * width;
            const std::int32_t left = a[0] + (((b[0] - a[0]) * weight) >> 15);
            const std::int32_t other = a[right] + (((b[right] - a[right]) * weight) >> 15);
            out[2 * i] = Saturate(out[2 * i] + AtLevel(left, level));
            out[2 * i + 1] = Saturate(out[2 * i + 1] + AtLevel(other, level));
            const std::uint64_t at = std::uint64_t(fraction) + step;
            fraction = std::uint32_t(at);
            index += std::size_t(at >> 32);
            while (index >= frames)
                index -= frames;
        }
    }
};

TSdlLoopOutput::TSdlLoopOutput() : impl_(std::make_unique<TImpl>()) {}

TSdlLoopOutput::~TSdlLoopOutput() = default;

bool TSdlLoopOutput::Available() const {
    return impl_->Output() != nullptr;
}

int TSdlLoopOutput::DeviceRate() const {
    return impl_->deviceRate;
}

std::uint64_t TSdlLoopOutput::FramesPlayed() const {
    TSdlOutput::TLock lock(impl_->Output());
    return impl_->played;
}

bool TSdlLoopOutput::Create(const TPcmFormat& format, std::size_t bufferBytes) {
    if (!Available() || format.BitsPerSample != 16 || format.Channels < 1 || format.Channels > 2 ||
        format.BlockAlign != 2 * format.Channels || bufferBytes == 0)
        return false;
    Stop();
    std::vector<std::int16_t> fresh(bufferBytes / sizeof(std::int16_t), 0);
    TSdlOutput::TLock lock(impl_->Output());
    impl_->ring.swap(fresh);
    impl_->channels = format.Channels;
    impl_->frames = impl_->ring.size() / std::size_t(format.Channels);
    impl_->index = 0;
    impl_->fraction = 0;
    impl_->SetFrequency(format.SampleRate);
    impl_->played = 0;
    return true;
}

void TSdlLoopOutput::Release() {
    Stop();
    std::vector<std::int16_t> old;
    TSdlOutput::TLock lock(impl_->Output());
    impl_->ring.swap(old);
    impl_->frames = 0;
    impl_->index = 0;
    impl_->fraction = 0;
}

void TSdlLoopOutput::Write(std::size_t offset, const std::uint8_t* data, std::size_t size) {
    TSdlOutput::TLock lock(impl_->Output());
    auto* bytes = reinterpret_cast<std::uint8_t*>(impl_->ring.data());
    const std::size_t total = impl_->ring.size() * sizeof(std::int16_t);
    if (total == 0) return;
    size = std::min(size, total);
    offset %= total;
    const std::size_t first = std::min(size, total - offset);
    std::memcpy(bytes + offset, data, first);
    std::memcpy(bytes, data + first, size - first);
}

std::size_t TSdlLoopOutput::PlayCursor() const {
    TSdlOutput::TLock lock(impl_->Output());
    return impl_->index * std::size_t(impl_->channels) * sizeof(std::int16_t);
}

void TSdlLoopOutput::SetPlayCursor(std::size_t offset) {
    TSdlOutput::TLock lock(impl_->Output());
    const std::size_t frame = offset / (std::size_t(impl_->channels) * sizeof(std::int16_t));
    impl_->index = impl_->frames == 0 ? 0 : frame % impl_->frames;
    impl_->fraction = 0;
}

int TSdlLoopOutput::Frequency() const {
    TSdlOutput::TLock lock(impl_->Output());
    return impl_->frequency;
}

void TSdlLoopOutput::SetFrequency(int hz) {
    TSdlOutput::TLock lock(impl_->Output());
    impl_->SetFrequency(hz);
}

void TSdlLoopOutput::SetVolume(double gain) {
    TSdlOutput::TLock lock(impl_->Output());
    impl_->level = LevelOfGain(gain);
}

void TSdlLoopOutput::Play() {
    TSdlOutput::TLock lock(impl_->Output());
    if (Available() && !impl_->ring.empty()) impl_->playing = true;
}

void TSdlLoopOutput::Stop() {
    TSdlOutput::TLock lock(impl_->Output());
    impl_->playing = false;
}

bool TSdlLoopOutput::Playing() const {
    TSdlOutput::TLock lock(impl_->Output());
    return impl_->playing;
}

} // namespace dorvane
