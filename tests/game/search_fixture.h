// A search context set up on a board picture, the way FindMove sets one up:
// the candidate grid, the opponent's grid and the disc counts computed, the
// move register cleared, rule mode.
#pragma once

#include "game/search_context.h"
#include "test_boards.h"

#include <string>

namespace dorvane::test {

struct TSearchFixture {
    TGameState game;
    TSearchContext ctx{game};

    TSearchFixture(const std::string& picture, std::uint8_t side, int draw2 = 0, int draw4 = 0) {
        ctx.Board = Picture(picture);
        game.GameBoard = ctx.Board;
        game.SideToMove = side;
        ctx.SetSide(side);
        ctx.Draw2 = static_cast<std::uint8_t>(draw2);
        ctx.Draw4 = static_cast<std::uint8_t>(draw4);
        ComputeCandidates(ctx);
        ctx.Mode = kModeRules;
    }

    // The cell in the move register, 0 when no move was proposed.
    int Chosen() const {
        return game.MovePriority > 0 ? CellIndex(game.MoveColumn, game.MoveRow) : 0;
    }
};

inline std::string NameOf(int cell) {
    return cell == 0 ? std::string("--") : CellName(ColumnOf(cell), RowOf(cell));
}

} // namespace dorvane::test
