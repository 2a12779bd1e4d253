// The variables through which the game window and the computer player share
// one game: the live position, whose turn it is, the move register and the
// score forecast. One object, owned by the game controller and passed by
// reference to the engine; there are no loose globals behind it.
#pragma once

#include "board.h"

#include <cstdint>

namespace dorvane {

struct TGameState {
    TField GameBoard{};
    std::uint8_t SideToMove = 1; // 1 = side 1 to move, 0 = side 2
    std::int32_t DiscCount1 = 0;
    std::int32_t DiscCount2 = 0;

    // The move register: the cell being played, or the one the computer chose.
    // MoveRow 0 means the last search found no move; MovePriority <= 0 likewise.
    std::int32_t MoveColumn = 0;
    std::int32_t MoveRow = 0;
    std::int32_t MovePriority = 0;
    TFlipGrid MoveGrid{}; // non-zero exactly at the legal cells of the side to move

    std::uint8_t EngineBusy = 0; // set while a search runs; the window then keeps off the game

    // The look-ahead's forecast of the final score and position.
    std::uint8_t ForecastReady = 0;
    std::uint8_t ForecastCount1 = 0;
    std::uint8_t ForecastCount2 = 0;
    TField ForecastBoard{};

    void ClearMoveRegister() { MoveColumn = MoveRow = MovePriority = 0; }
    void TakeMoveRegister(const TGameState& from) {
        MoveColumn = from.MoveColumn;
        MoveRow = from.MoveRow;
        MovePriority = from.MovePriority;
    }
    // The forecast's counts and position; ForecastReady is the caller's.
    void TakeForecast(const TGameState& from) {
        ForecastCount1 = from.ForecastCount1;
        ForecastCount2 = from.ForecastCount2;
        ForecastBoard = from.ForecastBoard;
    }
    // A game at the position, with its disc counts and nothing else.
    static TGameState At(const TField& board, std::uint8_t sideToMove) {
        TGameState game;
        game.GameBoard = board;
        game.SideToMove = sideToMove;
        game.RecountDiscs();
        return game;
    }
    void RecountDiscs() {
        const TDiscCounts counts = CountDiscs(GameBoard);
        DiscCount1 = counts.side1;
        DiscCount2 = counts.side2;
    }
};

} // namespace dorvane
