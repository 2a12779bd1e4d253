#include "game/engine.h"
#include "game/rules.h"
#include "game/position_text.h"
#include "game/selfplay.h"
#include "test_boards.h"

#include <gtest/gtest.h>

#include <vector>

namespace dorvane {
namespace {

TGameState Searched(const TGameState& before, int type, std::uint32_t draw2, std::uint32_t draw4) {
    TGameState game = before;
    TScriptedRandom draws;
    draws.Push(draw2);
    draws.Push(draw4);
    FindMove(game, draws, SearchTypeOf(type));
    EXPECT_TRUE(draws.Exhausted());
    return game;
}

// Positions of seeded engine games between the low and the average strength.
std::vector<TGameState> SelfPlayPositions() {
    std::vector<TGameState> positions;
    TRandom random(20261210);
    for (int g = 0; g < 24; ++g) {
        PlayEngineGame(random, {SearchTypeOf(1 + g % 2), SearchTypeOf(2 - g % 2)},
                       [&](const TGameState& game) { positions.push_back(game); });
    }
    return positions;
}

TEST(FindMove, OverSelfPlayPositionsAnswersALegalCellAndLeavesTheGameAlone) {
    const std::vector<TGameState> positions = SelfPlayPositions();
    ASSERT_GT(positions.size(), 1000u);
    int checked = 0;
    for (const TGameState& before : positions) {
        TFlipGrid legal;
        CountFlips(legal, before.GameBoard, before.SideToMove);
        for (int type : {1, 2}) {
            const std::uint32_t draw2 = checked % 2;
            const std::uint32_t draw4 = (checked / 2) % 4;
            ++checked;
            const TGameState after = Searched(before, type, draw2, draw4);
            const std::string where = FormatPosition({before.GameBoard, before.SideToMove}) +
                                      " type " + std::to_string(type);
            ASSERT_GT(after.MovePriority, 0) << where;
            const int cell = CellIndex(after.MoveColumn, after.MoveRow);
            ASSERT_TRUE(IsPlayingCell(after.MoveColumn, after.MoveRow)) << where;
            ASSERT_NE(legal[cell], 0) << where;
            // The priority is the chosen cell's weight in the candidate grid,
            // which is non-zero exactly where the side can play.
            EXPECT_EQ(after.MovePriority, after.MoveGrid[cell]) << where;
            for (int c = 0; c < 100; ++c) {
                if (!IsPlayingCell(ColumnOf(c), RowOf(c))) continue;
                ASSERT_EQ(after.MoveGrid[c] != 0, legal[c] != 0) << where << " at " << c;
            }
            EXPECT_EQ(after.GameBoard, before.GameBoard) << where;
            EXPECT_EQ(after.SideToMove, before.SideToMove) << where;
            EXPECT_EQ(after.DiscCount1, before.DiscCount1) << where;
            EXPECT_EQ(after.DiscCount2, before.DiscCount2) << where;
            EXPECT_EQ(after.EngineBusy, 0) << where;
            EXPECT_EQ(after.ForecastReady, 0) << where;

            const TGameState again = Searched(before, type, draw2, draw4);
            EXPECT_EQ(again.MoveColumn, after.MoveColumn) << where;
            EXPECT_EQ(again.MoveRow, after.MoveRow) << where;
            EXPECT_EQ(again.MovePriority, after.MovePriority) << where;
        }
    }
}

TEST(RuleGroups, OverSelfPlayPositionsProposeOnlyLegalCells) {
    using TGroup = void (*)(TSearchContext&);
    const std::pair<const char*, TGroup> groups[] = {
        {"corner rules", [](TSearchContext& ctx) { RunCornerRules(ctx); }},
        {"square rules", [](TSearchContext& ctx) { RunSquareRules(ctx); }},
        {"corner preparation", CornerPreparation},
        {"simple method", ChooseSimple},
        {"cascade", ChooseByRules},
    };
    int n = 0;
    for (const TGameState& position : SelfPlayPositions()) {
        ++n;
        for (const auto& [name, group] : groups) {
            TGameState game = position;
            TSearchContext ctx(game);
            ctx.Board = position.GameBoard;
            ctx.SetSide(position.SideToMove);
            ctx.Draw2 = static_cast<std::uint8_t>(n % 2);
            ctx.Draw4 = static_cast<std::uint8_t>((n / 2) % 4);
            ComputeCandidates(ctx);
            ctx.Mode = kModeRules;
            group(ctx);
            EXPECT_EQ(ctx.Board, position.GameBoard) << name;
            if (game.MovePriority <= 0) continue;
            const int cell = CellIndex(game.MoveColumn, game.MoveRow);
            ASSERT_NE(ctx.W(cell), 0)
                << name << " at " << FormatPosition({position.GameBoard, position.SideToMove});
            EXPECT_EQ(game.MovePriority, ctx.W(cell)) << name;
        }
    }
}

TEST(FindMove, RestoresTheWindowsDiscCountsEvenWhenTheyAreStale) {
    TGameState game;
    game.GameBoard = StandardStartPosition().board;
    game.DiscCount1 = 30; // whatever the window keeps is given back
    game.DiscCount2 = 7;
    TRandom random(1);
    FindMove(game, random, TSearchType::Rules);
    EXPECT_EQ(game.DiscCount1, 30);
    EXPECT_EQ(game.DiscCount2, 7);
}

TEST(FindMove, SideWithoutAMoveGetsNoCell) {
    TGameState game;
    game.GameBoard =
        test::Picture("11111111 11111111 11111111 11111111 11111111 11111111 11111112 111111--");
    game.SideToMove = 0;
    game.RecountDiscs();
    game.MoveColumn = 5;
    game.MoveRow = 3;
    for (int type : {0, 1, 2}) {
        const TGameState after = Searched(game, type, 0, 0);
        EXPECT_LE(after.MovePriority, 0) << "type " << type;
        EXPECT_EQ(after.MoveColumn, 0);
        EXPECT_EQ(after.MoveRow, 0);
    }
}

TEST(FindMove, TakesItsTwoDrawsInOrder) {
    // The edge scan of the simple method starts where Draw2 and Draw4 say.
    TGameState game;
    game.GameBoard =
        test::Picture("-------- --2--2-- -21--12- -------- -------- -21--12- --2--2-- --------");
    game.RecountDiscs();
    const TGameState fromColumn8 = Searched(game, 1, 1, 0);
    const TGameState fromRow8 = Searched(game, 1, 0, 1);
    EXPECT_EQ(CellName(fromColumn8.MoveColumn, fromColumn8.MoveRow), "H3");
    EXPECT_EQ(CellName(fromRow8.MoveColumn, fromRow8.MoveRow), "C1");
}

} // namespace
} // namespace dorvane
