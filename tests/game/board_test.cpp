#include "game/board.h"
#include "game/random.h"
#include "test_boards.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dorvane {
namespace {

using test::Cell;
using test::Picture;

// A move and the whole board after it (or unchanged when the move is refused).
struct MoveCase {
    const char* what;
    const char* before;
    std::uint8_t side;
    const char* target;
    bool legal;
    const char* after;
};

const MoveCase kMoveCases[] = {
    {"flips one run from the start position",
     "--------"
     "--------"
     "--------"
     "---12---"
     "---21---"
     "--------"
     "--------"
     "--------",
     1, "D3", true,
     "--------"
     "--------"
     "--------"
     "---12---"
     "---11---"
     "---1----"
     "--------"
     "--------"},
    {"an empty cell that flips nothing is refused",
     "--------"
     "--------"
     "--------"
     "---12---"
     "---21---"
     "--------"
     "--------"
     "--------",
     1, "A1", false, nullptr},
    {"a run reaching the border without a closing disc stays",
     "122222--"
     "--------"
     "--------"
     "--------"
     "--------"
     "--------"
     "--------"
     "--------",
     2, "A7", false, nullptr},
    {"a corner move leaves the edge run that reaches the far border alone",
     "-2222222"
     "2-------"
     "1-------"
     "--------"
     "--------"
     "--------"
     "--------"
     "--------",
     1, "A8", true,
     "12222222"
     "1-------"
     "1-------"
     "--------"
     "--------"
     "--------"
     "--------"
     "--------"},
    {"a corner flips along both edges and the diagonal only",
     "-2221---"
     "22------"
     "2-2-----"
     "1--1----"
     "--------"
     "--------"
     "--------"
     "--------",
     1, "A8", true,
     "11111---"
     "11------"
     "1-1-----"
     "1--1----"
     "--------"
     "--------"
     "--------"
     "--------"},
    {"runs in several directions flip in one call; closing discs keep their value",
     "--------"
     "-1-1-1--"
     "--222---"
     "-12-221-"
     "--222---"
     "-1-1-1--"
     "--------"
     "--------",
     1, "D5", true,
     "--------"
     "-1-1-1--"
     "--111---"
     "-111111-"
     "--111---"
     "-1-1-1--"
     "--------"
     "--------"},
    {"an occupied target is refused and nothing changes",
     "--------"
     "--------"
     "--------"
     "---12---"
     "---21---"
     "--------"
     "--------"
     "--------",
     1, "E5", false, nullptr},
    {"an occupied target holding the mover's disc is refused",
     "--------"
     "--------"
     "--------"
     "---12---"
     "---21---"
     "--------"
     "--------"
     "--------",
     1, "D5", false, nullptr},
};

TEST(ApplyMove, Cases) {
    for (const MoveCase& c : kMoveCases) {
        SCOPED_TRACE(c.what);
        TField board = Picture(c.before);
        const int t = Cell(c.target);
        EXPECT_EQ(ApplyMove(board, ColumnOf(t), RowOf(t), c.side), c.legal);
        EXPECT_EQ(FormatBoard(board), FormatBoard(Picture(c.after ? c.after : c.before)));
    }
}

TEST(ApplyMove, BorderTargetIsRefused) {
    TField board = Picture("--------"
                           "--------"
                           "--------"
                           "---12---"
                           "---21---"
                           "--------"
                           "--------"
                           "--------");
    const TField before = board;
    EXPECT_FALSE(ApplyMove(board, 0, 4, 1));
    EXPECT_FALSE(ApplyMove(board, 9, 4, 1));
    EXPECT_EQ(board, before);
}

TEST(CountFlips, EntryIsSumOverDirectionsAndZeroWithoutMoves) {
    // D4 closes a run of 2 upward and a run of 3 to the right.
    const TField board = Picture("--------"
                                 "---1----"
                                 "---2----"
                                 "---2----"
                                 "----2221"
                                 "--------"
                                 "--------"
                                 "--------");
    TFlipGrid grid;
    CountFlips(grid, board, 1);
    EXPECT_EQ(grid[Cell("D4")], 5);
    int legal = 0;
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            legal += grid[CellIndex(c, r)] != 0;
    EXPECT_EQ(legal, CountLegalMoves(board, 1));

    // Side 2 has no move here: every playing entry is zero.
    const TField stuck = Picture("22222222"
                                 "--------"
                                 "--------"
                                 "--------"
                                 "--------"
                                 "--------"
                                 "--------"
                                 "--------");
    CountFlips(grid, stuck, 0);
    for (int c = 1; c <= 8; ++c)
        for (int r = 1; r <= 8; ++r)
            EXPECT_EQ(grid[CellIndex(c, r)], 0);
    EXPECT_EQ(CountLegalMoves(stuck, 0), 0);
}

// The grid must agree with what ApplyMove actually flips, cell by cell, on many
// positions from random play; a slow but obvious oracle.
TEST(CountFlips, AgreesWithApplyMoveOnRandomGames) {
    TRandom random(20261210);
    for (int game = 0; game < 200; ++game) {
        TField board;
        SetStartPosition(board, random);
        std::uint8_t side = 1;
        for (int ply = 0; ply < 70; ++ply) {
            TFlipGrid grid;
            CountFlips(grid, board, side);
            const TDiscCounts before = CountDiscs(board);
            ASSERT_EQ(before.side1, std::count(board.begin(), board.end(), 1));
            ASSERT_EQ(before.side2, std::count(board.begin(), board.end(), 2));
            int legal = 0;
            for (int c = 1; c <= 8; ++c)
                for (int r = 1; r <= 8; ++r) {
                    TField trial = board;
                    const bool ok = board[CellIndex(c, r)] == 0 && ApplyMove(trial, c, r, side);
                    ASSERT_EQ(ok, grid[CellIndex(c, r)] != 0);
                    ASSERT_EQ(FlipsAt(board, CellIndex(c, r), side), grid[CellIndex(c, r)]);
                    if (!ok) continue;
                    ++legal;
                    const TDiscCounts after = CountDiscs(trial);
                    const int gained =
                        side == 1 ? after.side1 - before.side1 : after.side2 - before.side2;
                    ASSERT_EQ(gained, grid[CellIndex(c, r)] + 1);
                }
            ASSERT_EQ(legal, CountLegalMoves(board, side));
            if (legal == 0) {
                if (CountLegalMoves(board, OtherSide(side)) == 0) break;
                side = OtherSide(side);
                continue;
            }
            int pick = static_cast<int>(random.Below(static_cast<std::uint32_t>(legal)));
            for (int i = 11; i <= 88; ++i)
                if (IsPlayingCell(ColumnOf(i), RowOf(i)) && grid[i] != 0 && pick-- == 0) {
                    ASSERT_TRUE(ApplyMove(board, ColumnOf(i), RowOf(i), side));
                    break;
                }
            for (int i = 0; i < 100; ++i) {
                if (!IsPlayingCell(ColumnOf(i), RowOf(i))) {
                    ASSERT_EQ(board[i], 0) << "border cell " << i << " written";
                }
            }
            side = OtherSide(side);
        }
    }
}

TEST(CountLegalMoves, CountsACellOnceWhateverItsDirections) {
    // D5 flips in three directions; it is still one legal move.
    const TField board = Picture("--------"
                                 "---1----"
                                 "---2----"
                                 "-12-2-1-"
                                 "--------"
                                 "--------"
                                 "--------"
                                 "--------");
    EXPECT_EQ(CountLegalMoves(board, 1), 1);
}

TEST(CountDiscs, IgnoresTheBorderRing) {
    TField board{};
    board[CellIndex(1, 1)] = 1;
    board[CellIndex(8, 8)] = 2;
    board[CellIndex(3, 5)] = 2;
    EXPECT_EQ(CountDiscs(board), (TDiscCounts{1, 2}));
}

TEST(CellName, Cases) {
    struct {
        int column, row;
        const char* name;
    } const cases[] = {{1, 1, "A8"}, {8, 8, "H1"}, {5, 3, "E6"}, {1, 8, "A1"}, {8, 1, "H8"}};
    for (const auto& c : cases)
        EXPECT_EQ(CellName(c.column, c.row), c.name);
}

TEST(SetStartPosition, EveryDrawGivesTwoDiscsEachInTheCentreOnly) {
    // (a, b) -> D5 D4 E5 E4 as a four-character picture.
    struct {
        std::uint32_t a, b;
        const char* centre;
    } const cases[] = {{0, 0, "1221"}, {0, 1, "1221"}, {0, 2, "2112"}, {0, 3, "2112"},
                       {1, 0, "1212"}, {1, 1, "2121"}, {1, 2, "1122"}, {1, 3, "2211"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "a=" << c.a << " b=" << c.b);
        TScriptedRandom draws;
        draws.Push(c.a);
        draws.Push(c.b);
        TField board;
        board.fill(7); // whatever was there before must be cleared
        SetStartPosition(board, draws);
        EXPECT_TRUE(draws.Exhausted());
        const char got[5] = {static_cast<char>('0' + board[44]), static_cast<char>('0' + board[45]),
                             static_cast<char>('0' + board[54]), static_cast<char>('0' + board[55]),
                             0};
        EXPECT_STREQ(got, c.centre);
        EXPECT_EQ(CountDiscs(board), (TDiscCounts{2, 2}));
        for (int i = 0; i < 100; ++i) {
            if (i != 44 && i != 45 && i != 54 && i != 55) {
                EXPECT_EQ(board[i], 0);
            }
        }
    }
}

TEST(SetStartPosition, TakesTheDrawsInOrderFromTheSource) {
    // A source that records the bounds it was asked for.
    struct Recorder final : TRandomSource {
        std::vector<std::uint32_t> bounds;
        std::uint32_t Below(std::uint32_t bound) override {
            bounds.push_back(bound);
            return 0;
        }
    } recorder;
    TField board;
    SetStartPosition(board, recorder);
    EXPECT_EQ(recorder.bounds, (std::vector<std::uint32_t>{2, 4}));
}

} // namespace
} // namespace dorvane
