#include "selfplay.h"

#include <algorithm>
#include <chrono>

namespace dorvane {

void TMoveTimes::Add(double seconds) {
    ++moves;
    totalSeconds += seconds;
    maxSeconds = std::max(maxSeconds, seconds);
}

void TMoveTimes::Merge(const TMoveTimes& other) {
    moves += other.moves;
    totalSeconds += other.totalSeconds;
    maxSeconds = std::max(maxSeconds, other.maxSeconds);
}

TSelfPlayGame PlayEngineGame(TRandomSource& random, std::array<TSearchType, 2> types,
                             const TBeforeSearch& beforeSearch) {
    TGameState game;
    SetStartPosition(game.GameBoard, random);
    game.SideToMove = 1;
    game.RecountDiscs();
    // A new game starts with E6 in the register: row 0 would read as "no move".
    game.MoveColumn = 5;
    game.MoveRow = 3;

    TSelfPlayGame result;
    for (;;) {
        const std::uint8_t side = game.SideToMove;
        if (CountLegalMoves(game.GameBoard, side) == 0) {
            if (CountLegalMoves(game.GameBoard, OtherSide(side)) == 0) break;
            game.SideToMove = OtherSide(side);
            continue;
        }
        if (beforeSearch) beforeSearch(game);
        const int slot = side == 1 ? 0 : 1;
        const auto start = std::chrono::steady_clock::now();
        FindMove(game, random, types[slot]);
        result.times[slot].Add(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (game.MovePriority <= 0 ||
            !ApplyMove(game.GameBoard, game.MoveColumn, game.MoveRow, side)) {
            result.engineFault = true;
            break;
        }
        ++result.plies;
        game.RecountDiscs();
        game.SideToMove = OtherSide(side);
    }
    result.finalBoard = game.GameBoard;
    result.finalCounts = CountDiscs(game.GameBoard);
    return result;
}

} // namespace dorvane
