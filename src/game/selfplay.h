// Whole games between two strengths of the computer player, played exactly as
// the game window plays them: the start position from the random source, one
// search per move, a side without a move passes, and the game ends when
// neither side can move. The engine tool's selfplay command, the engine tests
// and the benchmarks all play through here.
#pragma once

#include "engine.h"
#include "gamestate.h"
#include "random.h"

#include <array>
#include <functional>

namespace dorvane {

struct TMoveTimes {
    int moves = 0;
    double totalSeconds = 0;
    double maxSeconds = 0;
    void Add(double seconds);
    void Merge(const TMoveTimes& other);
};

struct TSelfPlayGame {
    TField finalBoard{};
    TDiscCounts finalCounts;
    int plies = 0;                   // moves played, passes not counted
    std::array<TMoveTimes, 2> times; // [0] side 1, [1] side 2
    // A search that answered with a cell the side could not play. The game
    // stops there; it never happens unless the engine is broken.
    bool engineFault = false;
    int Margin() const { return finalCounts.side1 - finalCounts.side2; }
};

// Called before each search with the position the engine is about to see.
using TBeforeSearch = std::function<void(const TGameState&)>;

// types[0] is the search type of side 1, types[1] that of side 2. Every draw, for the start
// position and for each search, comes from random, so a seeded source replays the game.
TSelfPlayGame PlayEngineGame(TRandomSource& random, std::array<TSearchType, 2> types,
                             const TBeforeSearch& beforeSearch = {});

} // namespace dorvane
