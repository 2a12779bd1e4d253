// The playback worker's rhythm around a stream feed, for the tests and the
// bench that play real files: a step every 100 ms, the end checked every
// 10 ms once it is near, until the buffer stops or the time is up.
#pragma once

#include "music/stream_feed.h"

#include <chrono>
#include <thread>

namespace dorvane::test {

// each() runs before every step while the feed plays; true when it stopped.
template <class Each>
bool PlayUntilStopped(TStreamFeed& feed, Each each,
                      std::chrono::seconds limit = std::chrono::seconds(30)) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    int ticks = 0;
    while (feed.Playing() && std::chrono::steady_clock::now() < giveUp) {
        if (feed.FinePolling()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (++ticks < 10) {
                feed.EndCheck();
                continue;
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ticks = 0;
        if (feed.FinePolling()) feed.EndCheck();
        if (feed.Playing()) each();
        feed.WorkerStep();
    }
    return !feed.Playing();
}

} // namespace dorvane::test
