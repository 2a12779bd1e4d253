#include "game/engine.h"
#include "game/lookahead.h"
#include "game/position_text.h"
#include "game/random.h"
#include "game/selfplay.h"
#include "test_boards.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace dorvane {
namespace {

using test::Cell;
using test::PositionOf;

struct TDraws {
    std::uint32_t draw2;
    std::uint32_t draw4;
};

constexpr TDraws kAllDraws[] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}, {1, 1}, {1, 2}, {1, 3}};

TGameState StateOf(const TPosition& position) {
    return TGameState::At(position.board, position.sideToMove);
}

// One search with the two draws fixed, so that different strengths can be
// compared on exactly the same search.
void Search(TGameState& game, int type, TDraws draws) {
    TScriptedRandom random;
    random.Push(draws.draw2);
    random.Push(draws.draw4);
    FindMove(game, random, SearchTypeOf(type));
}

TGameState Searched(const TPosition& position, int type, TDraws draws) {
    TGameState game = StateOf(position);
    Search(game, type, draws);
    return game;
}

int ChosenCell(const TGameState& game) {
    return game.MovePriority > 0 ? CellIndex(game.MoveColumn, game.MoveRow) : 0;
}

bool IsXOrCSquare(int cell) {
    for (int c : {22, 72, 77, 27, 12, 21, 71, 82, 87, 78, 28, 17})
        if (c == cell) return true;
    return false;
}

std::string Describe(const TPosition& position, TDraws draws) {
    return FormatPosition(position) + " draws " + std::to_string(draws.draw2) + "," +
           std::to_string(draws.draw4);
}

// A slow, plain model of the look-ahead below its endgame threshold: every
// root cell except the X- and C-squares is played out to the end by the
// average strength for both sides (one FindMove per ply, with the same draws),
// and the best final margin wins. Built only on FindMove(2) and the board.
struct TModelAnswer {
    bool found = false;
    int cell = 0;
    TField finalBoard{};
};

TField PlayOutByRules(TField board, std::uint8_t sideJustMoved, TDraws draws) {
    std::uint8_t side = sideJustMoved;
    int passes = 0;
    for (;;) {
        side = OtherSide(side);
        TGameState game;
        game.GameBoard = board;
        game.SideToMove = side;
        game.RecountDiscs();
        Search(game, 2, draws);
        if (game.MovePriority > 0) {
            EXPECT_TRUE(ApplyMove(board, game.MoveColumn, game.MoveRow, side));
            passes = 0;
        } else {
            ++passes;
        }
        const TDiscCounts counts = CountDiscs(board);
        if (counts.side1 == 0 || counts.side2 == 0 || counts.Total() == 64 || passes >= 2)
            return board;
    }
}

TModelAnswer ModelLookAhead(const TPosition& position, TDraws draws) {
    TModelAnswer answer;
    int best = -65;
    TFlipGrid legal;
    CountFlips(legal, position.board, position.sideToMove);
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row) {
            const int cell = CellIndex(column, row);
            if (legal[cell] == 0 || IsXOrCSquare(cell)) continue;
            TField board = position.board;
            ApplyMove(board, column, row, position.sideToMove);
            const TField final = PlayOutByRules(board, position.sideToMove, draws);
            const TDiscCounts counts = CountDiscs(final);
            const int mine = position.sideToMove == 1 ? counts.side1 : counts.side2;
            const int theirs = position.sideToMove == 1 ? counts.side2 : counts.side1;
            if (mine == 0 || (theirs != 0 && mine - theirs <= best)) continue;
            best = theirs == 0 ? 65 : mine - theirs;
            answer = {true, cell, final};
        }
    }
    return answer;
}

// Positions met in seeded games between the strengths, each with the side to
// move as the game had it.
std::vector<TPosition> SelfPlayPositions(int games, std::uint64_t seed) {
    std::vector<TPosition> positions;
    TRandom random(seed);
    for (int g = 0; g < games; ++g) {
        const std::array<int, 2> types = {1 + g % 2, 2};
        PlayEngineGame(random, {SearchTypeOf(types[0]), SearchTypeOf(types[1])},
                       [&](const TGameState& game) {
                           positions.push_back({game.GameBoard, game.SideToMove});
                       });
    }
    return positions;
}

TEST(LookAhead, AtTheStartPlaysLikeTheAverageStrengthAndGivesNoForecast) {
    for (std::uint32_t a = 0; a < 2; ++a) {
        for (std::uint32_t b = 0; b < 4; ++b) {
            TScriptedRandom start;
            start.Push(a);
            start.Push(b);
            TPosition position;
            SetStartPosition(position.board, start);
            for (std::uint8_t side : {1, 0}) {
                position.sideToMove = side;
                for (TDraws draws : kAllDraws) {
                    TGameState high = StateOf(position);
                    TGameState average = StateOf(position);
                    high.ForecastReady = 1; // a stale forecast must not survive
                    Search(high, 3, draws);
                    Search(average, 2, draws);
                    EXPECT_EQ(ChosenCell(high), ChosenCell(average)) << Describe(position, draws);
                    EXPECT_GT(high.MovePriority, 0);
                    EXPECT_EQ(high.ForecastReady, 0);
                }
            }
        }
    }
}

// Below the endgame threshold the look-ahead must agree with the plain model
// on the move, on whether there is a forecast, and on the forecast itself.
TEST(LookAhead, MidgameAgreesWithPlayingEveryCandidateOutByRules) {
    int forecasts = 0;
    int fallBacks = 0;
    for (const TPosition& position : SelfPlayPositions(6, 0x5eed)) {
        const int discs = CountDiscs(position.board).Total();
        if (discs <= 4 || discs > kReplySearchAbove) continue;
        const TDraws draws = kAllDraws[(discs * 7) % 8];
        const TGameState game = Searched(position, 3, draws);
        const TModelAnswer model = ModelLookAhead(position, draws);
        ASSERT_EQ(game.ForecastReady, model.found ? 1 : 0) << Describe(position, draws);
        if (model.found) {
            ++forecasts;
            EXPECT_EQ(ChosenCell(game), model.cell) << Describe(position, draws);
            EXPECT_EQ(game.MovePriority, 1);
            EXPECT_EQ(game.ForecastBoard, model.finalBoard) << Describe(position, draws);
            const TDiscCounts counts = CountDiscs(model.finalBoard);
            EXPECT_EQ(game.ForecastCount1, counts.side1);
            EXPECT_EQ(game.ForecastCount2, counts.side2);
            EXPECT_FALSE(IsXOrCSquare(ChosenCell(game))) << Describe(position, draws);
        } else {
            ++fallBacks;
            EXPECT_EQ(ChosenCell(game), ChosenCell(Searched(position, 2, draws)))
                << Describe(position, draws);
        }
    }
    EXPECT_GT(forecasts, 100); // the games did reach the positions this test is about
}

// Played out by the cascade with draws 0, 0, F5 ends 17 : 0 and the later F4
// ends 43 : 20. The wipe-out counts 65, so F4's larger margin of 23 must not
// replace it.
TEST(LookAhead, WipingOutTheOpponentScores65AndBeatsEveryMargin) {
    const TPosition position = PositionOf("--------"
                                          "--------"
                                          "-1-1----"
                                          "--122---"
                                          "---21---"
                                          "---2----"
                                          "--------"
                                          "-------- 1");
    const TDraws draws = {0, 0};
    const auto lineAfter = [&](const char* cell) {
        TField board = position.board;
        const int c = Cell(cell);
        EXPECT_TRUE(ApplyMove(board, ColumnOf(c), RowOf(c), 1));
        return CountDiscs(PlayOutByRules(board, 1, draws));
    };
    const TDiscCounts wipeOut = lineAfter("F5");
    const TDiscCounts wider = lineAfter("F4");
    ASSERT_EQ(wipeOut.side2, 0) << "the fixture's lines have changed";
    ASSERT_GT(wider.side2, 0);
    ASSERT_GT(wider.side1 - wider.side2, wipeOut.side1);

    const TGameState game = Searched(position, 3, draws);
    EXPECT_EQ(ChosenCell(game), Cell("F5"));
    EXPECT_EQ(game.MovePriority, 1);
    EXPECT_EQ(game.ForecastReady, 1);
    EXPECT_EQ(game.ForecastCount1, wipeOut.side1);
    EXPECT_EQ(game.ForecastCount2, 0);
}

// When no line is recorded the cascade answers on the live position, and
// there is no forecast.
TEST(LookAhead, WithoutARecordedLineTheCascadeAnswersAndThereIsNoForecast) {
    const struct {
        const char* why;
        const char* position;
        const char* expected;
    } cases[] = {
        // Side 1 can play C5 or G5; either way side 2's only answer takes
        // every disc of side 1, and such a line is never recorded.
        {"every line wipes out the root side",
         "-------2 -------- -------- ---212-- -------- -------- -------- 2------- 1", nullptr},
        // Side 1's only move is the X-square B7, which is not examined at 5 discs.
        {"every legal cell is filtered out",
         "-------2 -------- --2----- ---1---- -------- -------- -------- 2------2 1", "B7"},
    };
    for (const auto& c : cases) {
        const TPosition position = PositionOf(c.position);
        for (TDraws draws : kAllDraws) {
            const TGameState high = Searched(position, 3, draws);
            EXPECT_GT(high.MovePriority, 0) << c.why;
            EXPECT_EQ(ChosenCell(high), ChosenCell(Searched(position, 2, draws))) << c.why;
            if (c.expected) {
                EXPECT_EQ(ChosenCell(high), Cell(c.expected)) << c.why;
            }
            EXPECT_EQ(high.ForecastReady, 0) << c.why;
        }
    }
}

// A3 and H3 each take one C-square disc; side 2 can never answer and side 1
// takes the other one next, so both lines end 6 : 1 on the same board. The
// first root cell in column order, A3, must stay whatever the draws, although
// the average strength prefers H3.
TEST(LookAhead, EqualMarginsKeepTheFirstRootMoveInColumnOrder) {
    const TPosition position = PositionOf("----2---"
                                          "--------"
                                          "--------"
                                          "--------"
                                          "--------"
                                          "--------"
                                          "2------2"
                                          "1------1 1");
    for (TDraws draws : kAllDraws) {
        const TGameState high = Searched(position, 3, draws);
        EXPECT_EQ(ChosenCell(high), Cell("A3")) << Describe(position, draws);
        EXPECT_EQ(high.ForecastReady, 1);
        EXPECT_EQ(high.ForecastCount1, 6);
        EXPECT_EQ(high.ForecastCount2, 1);
        EXPECT_EQ(ChosenCell(Searched(position, 2, draws)), Cell("H3"))
            << "the fixture no longer separates the strengths";
    }
}

// The search rewrites the disc counts and turns SideToMove round while it
// searches the opponent's replies; all of it must come back.
TEST(LookAhead, LeavesTheLivePositionAndTheWindowsCountsAsTheyWere) {
    const std::vector<TPosition> positions = SelfPlayPositions(2, 0xc0ffee);
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const TPosition& position = positions[i];
        TGameState game = StateOf(position);
        const TGameState before = game;
        Search(game, 3, kAllDraws[i % 8]);
        EXPECT_EQ(game.GameBoard, before.GameBoard);
        EXPECT_EQ(game.SideToMove, before.SideToMove);
        EXPECT_EQ(game.DiscCount1, before.DiscCount1);
        EXPECT_EQ(game.DiscCount2, before.DiscCount2);
        EXPECT_EQ(game.EngineBusy, 0);
        ASSERT_GT(game.MovePriority, 0) << FormatPosition(position);
        TField board = position.board;
        EXPECT_TRUE(ApplyMove(board, game.MoveColumn, game.MoveRow, position.sideToMove))
            << FormatPosition(position);
    }
}

// Every final position reachable from a board with few empty cells, by any
// sequence of moves and passes.
void CollectFinals(const TField& board, std::uint8_t side, std::set<TField>& finals,
                   std::set<std::pair<TField, std::uint8_t>>& seen) {
    if (!seen.insert({board, side}).second) return;
    TFlipGrid grid;
    CountFlips(grid, board, side);
    bool moved = false;
    for (int column = 1; column <= 8; ++column) {
        for (int row = 1; row <= 8; ++row) {
            if (grid[CellIndex(column, row)] == 0) continue;
            TField next = board;
            ApplyMove(next, column, row, side);
            CollectFinals(next, OtherSide(side), finals, seen);
            moved = true;
        }
    }
    if (moved) return;
    if (CountLegalMoves(board, OtherSide(side)) > 0)
        CollectFinals(board, OtherSide(side), finals, seen);
    else
        finals.insert(board);
}

// The forecast must be a final position the game can reach after the chosen
// move, and its counts must be that position's.
void ExpectReachableForecast(const TPosition& position, const TGameState& game) {
    TField afterMove = position.board;
    ASSERT_TRUE(ApplyMove(afterMove, game.MoveColumn, game.MoveRow, position.sideToMove));
    std::set<TField> finals;
    std::set<std::pair<TField, std::uint8_t>> seen;
    CollectFinals(afterMove, OtherSide(position.sideToMove), finals, seen);
    EXPECT_TRUE(finals.count(game.ForecastBoard)) << FormatPosition(position);
    const TDiscCounts counts = CountDiscs(game.ForecastBoard);
    EXPECT_EQ(game.ForecastCount1, counts.side1);
    EXPECT_EQ(game.ForecastCount2, counts.side2);
}

TEST(LookAhead, EndgameForecastIsAReachableFinalPositionWithItsCounts) {
    int checked = 0;
    for (const TPosition& position : SelfPlayPositions(4, 0xe11d)) {
        if (CountDiscs(position.board).Total() < 52) continue;
        const TGameState game = Searched(position, 3, kAllDraws[checked % 8]);
        ++checked;
        if (game.ForecastReady) ExpectReachableForecast(position, game);
    }
    EXPECT_GT(checked, 20);
}

// Side 2 has three discs here, and in some of its searched replies every line
// costs it all of them, so it falls back to the cascade. That fallback must
// start from the real position with an empty move register, not from the
// register the last simulated line left behind, or the line goes on with a
// move nobody could play.
TEST(LookAhead, TheOpponentsFallBackToTheCascadeAnswersFromTheRealPosition) {
    const TPosition position = PositionOf("1-211111"
                                          "11111111"
                                          "1111111-"
                                          "1111111-"
                                          "1111-2-1"
                                          "11-2-111"
                                          "-1-11--1"
                                          "11111111 1");
    const TGameState game = Searched(position, 3, {0, 0});
    ASSERT_EQ(game.ForecastReady, 1);
    ExpectReachableForecast(position, game);
}

} // namespace
} // namespace dorvane
