// The tag query's file reader behind a gate: the worker waits in front of
// one entry until the test lets it go on, so that a test can act "during a
// query" with the worker really busy. The files are read as usual.
#pragma once

#include "music/tag_query.h"

#include <condition_variable>
#include <mutex>

namespace dorvane::test {

class TGatedQueryReader {
public:
    explicit TGatedQueryReader(int gateAt) : gateAt_(gateAt) {}
    // A worker still waiting must be let through, or it never ends.
    ~TGatedQueryReader() { Open(); }
    TGatedQueryReader(const TGatedQueryReader&) = delete;
    TGatedQueryReader& operator=(const TGatedQueryReader&) = delete;

    // Worker thread.
    TQueryReader Reader() {
        return [this](int index, const QString& path, const TQueryFields& fields) {
            if (index == gateAt_) {
                std::unique_lock lock(mutex_);
                waiting_ = true;
                changed_.wait(lock, [this] { return open_; });
            }
            return QueryEntry(index, path, fields);
        };
    }
    // The worker has reached the gate.
    bool Waiting() {
        const std::lock_guard lock(mutex_);
        return waiting_;
    }
    void Open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }

private:
    const int gateAt_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool waiting_ = false;
    bool open_ = false;
};

} // namespace dorvane::test
