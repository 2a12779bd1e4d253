#include "search_pool.h"

#include <algorithm>

namespace dorvane {

TSearchPool::TSearchPool(int threads)
    : slots_(static_cast<std::size_t>(std::clamp(threads, 1, kMostThreads))) {
    threads_.reserve(slots_.size() - 1);
    for (int slot = 1; slot < Threads(); ++slot)
        threads_.emplace_back([this, slot] { Work(slot); });
}

TSearchPool::~TSearchPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workReady_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

TSearchPool& TSearchPool::Shared() {
    static TSearchPool pool(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    return pool;
}

bool TSearchPool::TakeTask(TBatch*& batch, int& index) {
    while (openCount_ > 0) {
        TBatch* newest = open_[static_cast<std::size_t>(openCount_ - 1)];
        const int i = newest->next.fetch_add(1);
        if (i < newest->count) {
            batch = newest;
            index = i;
            return true;
        }
        --openCount_; // handed out completely; its owner waits for the rest
    }
    return false;
}

void TSearchPool::Finish(TBatch& batch) {
    const std::lock_guard lock(mutex_);
    // The owner may free the batch as soon as it sees the last one done, so
    // the count changes under the lock and nothing touches the batch after.
    if (++batch.done == batch.count) batchDone_.notify_all();
}

void TSearchPool::Work(int slot) {
    std::unique_lock lock(mutex_);
    for (;;) {
        TBatch* batch = nullptr;
        int index = 0;
        workReady_.wait(lock, [&] { return stopping_ || TakeTask(batch, index); });
        if (stopping_ && batch == nullptr) return;
        lock.unlock();
        batch->task(batch->arg, index, slot);
        Finish(*batch);
        lock.lock();
    }
}

void TSearchPool::ForEach(int count, TTask task, void* arg, int slot) {
    TBatch batch;
    batch.task = task;
    batch.arg = arg;
    batch.count = count;
    bool shared = false;
    if (count > 1 && Threads() > 1) {
        const std::lock_guard lock(mutex_);
        if (openCount_ < kMostBatches) {
            open_[static_cast<std::size_t>(openCount_++)] = &batch;
            shared = true;
        }
    }
    if (!shared) {
        for (int i = 0; i < count; ++i)
            task(arg, i, slot);
        return;
    }
    workReady_.notify_all();
    for (int i = batch.next.fetch_add(1); i < count; i = batch.next.fetch_add(1)) {
        task(arg, i, slot);
        Finish(batch);
    }
    std::unique_lock lock(mutex_);
    batchDone_.wait(lock, [&] { return batch.done == count; });
    // Every index is handed out, but the batch may still be listed when no
    // idle thread looked at it since.
    const auto end = open_.begin() + openCount_;
    const auto it = std::find(open_.begin(), end, &batch);
    if (it != end) {
        std::move(it + 1, end, it);
        --openCount_;
    }
}

} // namespace dorvane
