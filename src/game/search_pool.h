// The threads the look-ahead spreads its independent lines over, and what
// each of them keeps between searches.
//
// A pool has a number of slots: slot 0 is the thread that runs the search
// (whoever called FindMove), slots 1.. are the pool's own threads, started
// once with the pool. ForEach hands out the indices of a batch to whichever
// slots are free, the caller's included, and returns when all have run; a
// task may open a batch of its own (the look-ahead does so for the opponent's
// replies inside a root line), and an idle thread takes the newest batch
// first, so lines already begun are finished first. Nothing is allocated
// after the constructor.
//
// One search at a time owns the pool (TSearchPool::TUse); a second search that
// starts meanwhile on another thread runs serially without it.
#pragma once

#include "rules_cache.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace dorvane {

class TSearchPool {
public:
    static constexpr int kMostThreads = 8;
    using TTask = void (*)(void* arg, int index, int slot);

    // threads is clamped to 1..kMostThreads; threads - 1 are started here.
    explicit TSearchPool(int threads);
    ~TSearchPool();
    TSearchPool(const TSearchPool&) = delete;
    TSearchPool& operator=(const TSearchPool&) = delete;

    // The program's pool: the hardware's thread count, at most kMostThreads.
    // Made on first use and kept until the program ends.
    static TSearchPool& Shared();

    int Threads() const { return static_cast<int>(slots_.size()); }
    TRulesCache& CacheOf(int slot) { return slots_[static_cast<std::size_t>(slot)].cache; }

    // Runs task(arg, i, slot) for every i in 0 .. count - 1 and returns when
    // all have returned. `slot` is the caller's own slot: the task indices it
    // runs itself get that slot, the others the slot of the thread that took
    // them. Tasks must not throw.
    void ForEach(int count, TTask task, void* arg, int slot);

    // The right to search with the pool, held for one search; Owns() is false
    // when another search holds it.
    class TUse {
    public:
        explicit TUse(TSearchPool& pool) : pool_(pool), owns_(pool.inUse_.try_lock()) {}
        ~TUse() {
            if (owns_) pool_.inUse_.unlock();
        }
        TUse(const TUse&) = delete;
        TUse& operator=(const TUse&) = delete;
        bool Owns() const { return owns_; }

    private:
        TSearchPool& pool_;
        bool owns_;
    };

private:
    struct TBatch {
        TTask task = nullptr;
        void* arg = nullptr;
        int count = 0;
        std::atomic<int> next{0};
        int done = 0; // guarded by mutex_
    };
    struct TSlot {
        TRulesCache cache;
    };
    // A batch for every thread that may wait on one at a time.
    static constexpr int kMostBatches = kMostThreads * 2;

    void Work(int slot);
    // Under mutex_: a batch with an index left and that index, newest first;
    // batches with none left are dropped from the list.
    bool TakeTask(TBatch*& batch, int& index);
    void Finish(TBatch& batch);

    std::vector<TSlot> slots_;
    std::vector<std::thread> threads_;
    std::mutex inUse_;

    std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable batchDone_;
    std::array<TBatch*, kMostBatches> open_{};
    int openCount_ = 0;
    bool stopping_ = false;
};

} // namespace dorvane
