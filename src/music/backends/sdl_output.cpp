#include "sdl_output.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

namespace dorvane {

namespace {

// A hold on SDL's audio subsystem; SDL counts the starts.
class TSdlAudioHold {
public:
    TSdlAudioHold() {
        // The program handles its own signals; SDL must not take them over.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ok_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    ~TSdlAudioHold() {
        if (ok_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    TSdlAudioHold(const TSdlAudioHold&) = delete;
    TSdlAudioHold& operator=(const TSdlAudioHold&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

// The one output. An output whose last holder is gone is closed before the
// next Acquire opens one (it waits), so two devices are never open at once,
// not even for a moment.
struct TShared {
    std::mutex mutex;
    std::condition_variable closed;
    std::weak_ptr<TSdlOutput> current;
    bool open = false; // until the last holder's output is closed
};

TShared& Shared() {
    static TShared shared;
    return shared;
}

std::atomic<int> devicesOpened{0};

} // namespace

struct TSdlOutput::TImpl {
    TSdlAudioHold audio;
    SDL_AudioDeviceID device = 0;
    // Read by the callback, changed under the device lock.
    std::vector<TSdlSource*> sources;

    ~TImpl() {
        // Waits for the callback in progress; the subsystem goes after.
        if (device != 0) SDL_CloseAudioDevice(device);
    }

    // Runs on SDL's audio thread with the device lock held.
    static void Callback(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<TImpl*>(userdata);
        std::memset(stream, 0, std::size_t(length));
        auto* out = reinterpret_cast<std::int16_t*>(stream);
        const std::size_t frames = std::size_t(length) / (kChannels * sizeof(std::int16_t));
        for (TSdlSource* source : self->sources)
            source->Mix(out, frames);
    }
};

std::shared_ptr<TSdlOutput> TSdlOutput::Acquire() {
    TShared& shared = Shared();
    std::unique_lock lock(shared.mutex);
    for (;;) {
        if (auto output = shared.current.lock()) return output;
        if (!shared.open) break;
        shared.closed.wait(lock);
    }

    auto impl = std::make_unique<TImpl>();
    if (!impl->audio.Ok()) return nullptr;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = kFramesPerCall;
    want.callback = &TImpl::Callback;
    want.userdata = impl.get();
    SDL_AudioSpec have{};
    // SDL converts to whatever the device needs except the rate, which the
    // device may choose: the sources resample (or render) at it themselves.
    impl->device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (impl->device == 0 || have.freq <= 0) return nullptr;
    impl->sources.reserve(8);
    ++devicesOpened;
    // SDL 2's pause only writes silence in place of the callback, which is
    // all the callback does with no source playing, so the device runs for
    // as long as it is open.
    SDL_PauseAudioDevice(impl->device, 0);

    std::shared_ptr<TSdlOutput> output(new TSdlOutput(std::move(impl), have.freq),
                                       [](TSdlOutput* last) {
                                           delete last;
                                           TShared& s = Shared();
                                           {
                                               std::lock_guard guard(s.mutex);
                                               s.open = false;
                                           }
                                           s.closed.notify_all();
                                       });
    shared.current = output;
    shared.open = true;
    return output;
}

int TSdlOutput::DevicesOpened() {
    return devicesOpened.load();
}

TSdlOutput::TSdlOutput(std::unique_ptr<TImpl> impl, int rate)
    : impl_(std::move(impl)), rate_(rate) {}

TSdlOutput::~TSdlOutput() = default;

void TSdlOutput::Add(TSdlSource& source) {
    TLock lock(this);
    impl_->sources.push_back(&source);
}

void TSdlOutput::Remove(TSdlSource& source) {
    TLock lock(this);
    std::erase(impl_->sources, &source);
}

TSdlOutput::TLock::TLock(const TSdlOutput* output) : output_(output) {
    if (output_ != nullptr) SDL_LockAudioDevice(output_->impl_->device);
}

TSdlOutput::TLock::~TLock() {
    if (output_ != nullptr) SDL_UnlockAudioDevice(output_->impl_->device);
}

TSdlMixSlot::TSdlMixSlot(std::shared_ptr<TSdlOutput> output, TSdlSource& source)
    : output_(std::move(output)), source_(source) {
    if (output_) output_->Add(source_);
}

TSdlMixSlot::~TSdlMixSlot() {
    if (output_) output_->Remove(source_);
}

} // namespace dorvane
