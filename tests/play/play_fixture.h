// A controller wired to the fake window, with the helpers the game tests
// share: clicks by cell name, positions set up through a loaded history, and
// whole games played through the board.
#pragma once

#include "fake_game_view.h"
#include "game/test_boards.h"
#include "play/game_controller.h"

#include <gtest/gtest.h>

#include <memory>

namespace dorvane::test {

class PlayFixture : public ::testing::Test {
protected:
    // The scripted source hands out zeros: every start position is the same
    // diagonal (D5, E4 side 1; D4, E5 side 2) and every search is repeatable.
    TScriptedRandom random;
    TFakeGameView view;
    TGameOptions storedOptions; // the settings' copy the controller works on
    std::unique_ptr<TGameController> game;

    // A zero level plays as the average one; the names are the default ones.
    void Start(const TGameOptions& given = {}) {
        storedOptions = given;
        game = std::make_unique<TGameController>(view, view, random, storedOptions,
                                                 TPlayerNames{"Зеленые", "Синие"});
        view.controller = game.get();
        game->Initialize();
        view.Settle();
    }

    const TField& Board() const { return game->State().GameBoard; }

    void Click(const char* cell) { game->CellClick(Cell(cell) / 10, Cell(cell) % 10); }

    // Shows the given position as a loaded game at its start and resumes play
    // there with the given side to move.
    void Resume(const std::string& picture, std::uint8_t sideToMove) {
        TSavedGame saved;
        saved.March.Fields[0] = Picture(picture);
        saved.March.Who[0] =
            OtherSide(sideToMove); // resuming at 0 gives the move to the other side
        saved.Intellect = std::uint8_t(StoredStrength(game->Intellect()));
        saved.Regim = game->Regim();
        ASSERT_TRUE(game->ShowLoadedGame(saved));
        game->ResumePlay();
        view.Settle();
        ASSERT_EQ(game->State().SideToMove, sideToMove);
    }

    // The first legal cell of the side to move in column order, or 0.
    int FirstLegalCell() const {
        TFlipGrid grid;
        CountFlips(grid, Board(), game->State().SideToMove);
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r)
                if (grid[CellIndex(c, r)] != 0) return CellIndex(c, r);
        return 0;
    }

    // One human turn: the first legal cell, or the pass command.
    void HumanTurn() {
        const int cell = FirstLegalCell();
        if (cell != 0)
            game->CellClick(ColumnOf(cell), RowOf(cell));
        else
            game->PassMove();
        view.Settle();
    }

    // Plays on through the board until the game ends; returns the turns taken.
    int PlayToEnd() {
        int turns = 0;
        while (game->BeginGame() && turns < 200) {
            HumanTurn();
            ++turns;
        }
        return turns;
    }

    // Every recorded position follows from the one before by its recorded move.
    void ExpectHistoryReplays() const {
        const TMarch& march = game->March();
        ASSERT_LE(game->CurrentR(), 60);
        for (int k = 1; k <= game->CurrentR(); ++k) {
            TField board = march.Fields[k - 1];
            ASSERT_TRUE(ApplyMove(board, march.Moves[k][0], march.Moves[k][1], march.Who[k]))
                << "move " << k;
            ASSERT_EQ(board, march.Fields[k]) << "move " << k;
        }
    }
};

} // namespace dorvane::test
