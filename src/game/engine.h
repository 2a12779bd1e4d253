// The one entry through which the game asks the computer player for a move.
#pragma once

#include "gamestate.h"
#include "random.h"

#include <atomic>
#include <cstdint>

namespace dorvane {

// The two draws every search takes from the program's random source. They
// are taken before the search starts, so a search can run on a copy of the
// game anywhere (on a worker thread) and still replay exactly.
struct TSearchDraws {
    std::uint8_t Draw2 = 0; // 0..1
    std::uint8_t Draw4 = 0; // 0..3

    // Below(2), then Below(4): the order the program has always drawn them in.
    static TSearchDraws Take(TRandomSource& random);
    bool operator==(const TSearchDraws&) const = default;
};

// How a search chooses: the simple method (the low strength), the rule
// cascade (the average strength and the hint) or the look-ahead (the high
// strength and the hint window).
enum class TSearchType : std::uint8_t { Simple = 1, Rules = 2, LookAhead = 3 };

// The engine tool's and the benchmarks' numbers: 1 the simple method, 3 the
// look-ahead, anything else the rule cascade.
constexpr TSearchType SearchTypeOf(int number) {
    return number == 1   ? TSearchType::Simple
           : number == 3 ? TSearchType::LookAhead
                         : TSearchType::Rules;
}

class TSearchPool;

// How the look-ahead may use the machine. By default it spreads over the
// program's shared pool (TSearchPool::Shared); a given pool takes its place,
// and Serial searches on the calling thread alone and remembers nothing, the
// plain form the others are checked against. The answer is the same in every
// case. Cancel, when set from another thread, ends a search soon; its answer
// is then meaningless and must be dropped.
struct TSearchOptions {
    TSearchPool* Pool = nullptr;
    bool Serial = false;
    const std::atomic<bool>* Cancel = nullptr;
};

// Finds a move for game.SideToMove on game.GameBoard and leaves it in
// the move register (MovePriority > 0) or reports no move (MovePriority <= 0,
// cell (0, 0)). GameBoard, SideToMove and the disc counts come back as they
// were; MoveGrid holds the candidate grid; the forecast is set only by a
// successful look-ahead. EngineBusy is set while it runs. Plain computation:
// it touches nothing but `game` (and the pool's threads) and may run on any
// thread.
void FindMove(TGameState& game, const TSearchDraws& draws, TSearchType type,
              const TSearchOptions& options = {});
// The same with the draws taken from `random` first.
void FindMove(TGameState& game, TRandomSource& random, TSearchType type,
              const TSearchOptions& options = {});

// What a search produces, copied from the state it searched into the live
// game: the move register, MoveGrid and the forecast.
void TakeSearchResult(TGameState& live, const TGameState& searched);

} // namespace dorvane
