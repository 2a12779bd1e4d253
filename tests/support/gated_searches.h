// The computer's searches on the program's real worker thread, behind a
// gate: while the gate is shut, a search that reaches the thread waits there
// before it starts. A test can so act "during a search" for as long as it
// likes, with the worker really busy, and then let the search go on.
#pragma once

#include "play/search_worker.h"

#include <condition_variable>
#include <mutex>

namespace dorvane::test {

class TGatedSearches final : public TSearchRunner {
public:
    TGatedSearches() : worker_([this](const TSearchJob& job) { return Pass(job); }) {}
    // A search still waiting must be let through, or the worker never ends.
    ~TGatedSearches() override { Open(); }
    TGatedSearches(const TGatedSearches&) = delete;
    TGatedSearches& operator=(const TGatedSearches&) = delete;

    // UI thread.
    void Start(const TSearchJob& job, TDone done) override {
        ++started_;
        worker_.Start(job, std::move(done));
    }
    void Shut() {
        const std::lock_guard lock(mutex_);
        open_ = false;
    }
    void Open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    // A search has reached the worker thread and waits at the shut gate.
    bool Waiting() const {
        const std::lock_guard lock(mutex_);
        return waiting_ > 0;
    }
    int Started() const { return started_; }
    // Searches the worker thread has finished (their answers posted).
    int Finished() const {
        const std::lock_guard lock(mutex_);
        return finished_;
    }

private:
    // Worker thread.
    TSearchResult Pass(const TSearchJob& job) {
        {
            std::unique_lock lock(mutex_);
            ++waiting_;
            changed_.wait(lock, [this] { return open_; });
            --waiting_;
        }
        TSearchResult result = RunSearch(job);
        const std::lock_guard lock(mutex_);
        ++finished_;
        return result;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = true;
    int waiting_ = 0;
    int finished_ = 0;
    int started_ = 0;      // UI thread only
    TSearchWorker worker_; // last: it ends, and waits for its thread, first
};

} // namespace dorvane::test
