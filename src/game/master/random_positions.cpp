#include "random_positions.h"

#include "game/game_record.h"

namespace dorvane::master {

TPosition StartPosition() {
    const dorvane::TPosition start = OthelloStartPosition();
    return PositionOf(start.board, start.sideToMove);
}

TPosition RandomPosition(std::mt19937_64& random, int empties) {
    for (;;) {
        TPosition position = StartPosition();
        while (position.Empties() > empties) {
            TBits moves = position.Moves();
            if (moves == 0) {
                position = position.Passed();
                moves = position.Moves();
                if (moves == 0) break; // the game ended early: start again
            }
            const auto pick =
                static_cast<int>(random() % static_cast<std::uint64_t>(std::popcount(moves)));
            for (int i = 0; i < pick; ++i)
                moves &= moves - 1;
            const TBits bit = moves & (~moves + 1);
            position = position.After(bit, FlipsOf(bit, position.own, position.opp));
        }
        if (position.Empties() != empties) continue;
        if (position.Moves() == 0) position = position.Passed();
        if (position.Moves() != 0) return position;
    }
}

} // namespace dorvane::master
