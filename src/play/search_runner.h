// Where the computer player's searches run. The controller hands a runner a
// copy of the game with the search's random draws already taken; the runner
// searches it wherever it likes and hands the result back on the UI thread,
// stamped with the generation the controller gave the job, so that a result
// that arrives after the game has moved on is recognised and dropped.
#pragma once

#include "game/engine.h"
#include "game/gamestate.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace dorvane {

struct TSearchJob {
    std::uint64_t Generation = 0;
    TSearchType Type = TSearchType::Rules;
    TSearchDraws Draws;
    TGameState State; // a copy of the live game; the search changes only this
    // Set by the controller when it no longer wants the answer (a close, a
    // new game): the search then ends soon, on every thread it uses.
    std::shared_ptr<std::atomic<bool>> Cancel = std::make_shared<std::atomic<bool>>(false);
};

struct TSearchResult {
    std::uint64_t Generation = 0;
    TGameState State; // the job's state after FindMove
};

// The search itself, on whatever thread calls it.
TSearchResult RunSearch(const TSearchJob& job);

class TSearchRunner {
public:
    using TDone = std::function<void(const TSearchResult&)>;
    virtual ~TSearchRunner() = default;
    // Runs the job and calls done with its result on the UI thread, from the
    // event loop: never inside Start. A runner destroyed before a result is
    // delivered never delivers it.
    virtual void Start(const TSearchJob& job, TDone done) = 0;
};

} // namespace dorvane
