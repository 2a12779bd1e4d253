#include "music/engine_state.h"

#include <chrono>

namespace dorvane {

namespace {
// More commands than a user could click in one worker pass; beyond it they
// are dropped rather than queued without bound.
constexpr std::size_t kMaxQueued = 32;
} // namespace

void TEngineState::Post(TEngineCommand command) {
    if (command == TEngineCommand::None) return;
    {
        std::lock_guard lock(mutex_);
        // The head may be executing; a repeat behind it still counts.
        if (queue_.size() > 1 && queue_.back() == command) return;
        if (queue_.size() >= kMaxQueued) return;
        queue_.push_back(command);
        woken_ = true;
    }
    wake_.notify_one();
}

TEngineCommand TEngineState::EngineCommand() const {
    std::lock_guard lock(mutex_);
    return queue_.empty() ? TEngineCommand::None : queue_.front();
}

void TEngineState::FinishCommand() {
    std::lock_guard lock(mutex_);
    if (!queue_.empty()) queue_.pop_front();
}

void TEngineState::SetPlayingEntry(TPlayingEntry entry) {
    std::lock_guard lock(mutex_);
    entry_ = std::move(entry);
}

TPlayingEntry TEngineState::PlayingEntry() const {
    std::lock_guard lock(mutex_);
    return entry_;
}

void TEngineState::SetOpenedNames(TOpenedNames names) {
    std::lock_guard lock(mutex_);
    names_ = std::move(names);
}

TOpenedNames TEngineState::OpenedNames() const {
    std::lock_guard lock(mutex_);
    return names_;
}

TEngineState::TWake TEngineState::Sleep(int ms) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return woken_ || terminated_; });
    if (terminated_) return TWake::Terminated;
    const bool woken = woken_;
    woken_ = false;
    return woken ? TWake::Command : TWake::TimedOut;
}

void TEngineState::Terminate() {
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    wake_.notify_all();
}

bool TEngineState::Terminated() const {
    std::lock_guard lock(mutex_);
    return terminated_;
}

} // namespace dorvane
