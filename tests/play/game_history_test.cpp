#include "play_fixture.h"

namespace dorvane::test {
namespace {

using History = PlayFixture;

struct TNavState {
    bool toBegin, back, resume, forward, toEnd;
};

void ExpectCommands(const TFakeGameView& view, TNavState expected) {
    EXPECT_EQ(view.Enabled(TGameCommand::ToBegin), expected.toBegin);
    EXPECT_EQ(view.Enabled(TGameCommand::StepBack), expected.back);
    EXPECT_EQ(view.Enabled(TGameCommand::ResumePlay), expected.resume);
    EXPECT_EQ(view.Enabled(TGameCommand::StepForward), expected.forward);
    EXPECT_EQ(view.Enabled(TGameCommand::ToEnd), expected.toEnd);
}

TEST_F(History, SteppingBackAndForwardShowsRecordedPositions) {
    Start({.Regim = 2});
    HumanTurn();
    ExpectCommands(view, {true, true, false, false, false});
    for (int i = 1; i < 12; ++i)
        HumanTurn();
    ASSERT_EQ(game->CurrentR(), 12);

    for (int i = 0; i < 5; ++i)
        game->StepBack();
    view.Settle();
    EXPECT_FALSE(game->PlayR());
    EXPECT_EQ(view.counter, "Ход 07 из 12");
    EXPECT_EQ(Board(), game->March().Fields[7]);
    EXPECT_EQ(view.redraws.back(), TRedraw::Rebuild); // cells may have emptied
    ExpectCommands(view, {true, true, true, true, true});
    EXPECT_FALSE(view.Running(TGameTimer::Clock1));
    EXPECT_FALSE(view.Running(TGameTimer::Clock2));
    // The status boxes name the move shown and its side; the scores are its counts.
    const auto& move = game->March().Moves[7];
    const int mover = game->March().Who[7] == 1 ? 0 : 1;
    EXPECT_EQ(view.boxes[mover].toStdString(), CellName(move[0], move[1]));
    EXPECT_EQ(view.boxes[1 - mover], "");
    EXPECT_EQ(view.score1, QString::number(CountDiscs(game->March().Fields[7]).side1));
    EXPECT_EQ(view.scoreCaption, "Счет игры");

    Click("A1");
    EXPECT_EQ(view.LastMessage(), "Игра остановлена!");
    game->PassMove();
    EXPECT_EQ(view.LastMessage(), "Игра остановлена!");

    game->ToBegin();
    EXPECT_EQ(view.counter, "Ход 00 из 12");
    ExpectCommands(view, {false, false, true, true, true});
    EXPECT_EQ(view.boxes[0], "начинают");

    game->StepForward();
    EXPECT_EQ(view.counter, "Ход 01 из 12");
    ExpectCommands(view, {true, true, true, true, true});
    game->ToEnd();
    EXPECT_EQ(view.counter, "Ход 12 из 12");
    EXPECT_EQ(Board(), game->March().Fields[12]);
    ExpectCommands(view, {true, true, true, false, false});
    game->StepBack();
    game->StepForward();
    ExpectCommands(view, {true, true, true, false, false});
}

TEST_F(History, ResumingDiscardsTheLaterMoves) {
    Start({.Regim = 2});
    for (int i = 0; i < 8; ++i)
        HumanTurn();
    const TMarch before = game->March();
    for (int i = 0; i < 3; ++i)
        game->StepBack();
    game->ResumePlay();
    view.Settle();
    EXPECT_TRUE(game->PlayR());
    EXPECT_EQ(game->CurrentR(), 5);
    EXPECT_EQ(view.counter, "Ход 05 из 05");
    ExpectCommands(view, {true, true, false, false, false});
    EXPECT_EQ(game->State().SideToMove, OtherSide(before.Who[5]));
    EXPECT_EQ(view.panels[game->State().SideToMove == 1 ? 1 : 2].endsWith(": думают"), true);

    HumanTurn();
    EXPECT_EQ(game->CurrentR(), 6);
    EXPECT_EQ(game->March().Fields[5], before.Fields[5]);
    ExpectHistoryReplays();
}

TEST_F(History, ResumingWithTheComputerToMoveLetsItMoveAtOnce) {
    Start();
    for (int i = 0; i < 2; ++i)
        HumanTurn(); // human, computer, human, computer
    ASSERT_EQ(game->CurrentR(), 4);
    game->StepBack(); // position 3: side 1 made it, the computer is next
    ASSERT_EQ(game->March().Who[3], 1);
    game->ResumePlay();
    // No pause and no event loop in between: the computer has already moved.
    EXPECT_EQ(game->CurrentR(), 4);
    EXPECT_EQ(game->March().Who[4], 0);
    EXPECT_FALSE(view.Running(TGameTimer::ComputerPause));
    view.Settle();
    EXPECT_EQ(game->State().SideToMove, 1);
    EXPECT_TRUE(game->CanAct());
    ExpectHistoryReplays();
}

TEST_F(History, FinishedGameStaysFinishedAtItsEndAndReopensEarlier) {
    Start({.Regim = 2});
    // C8 takes both side 2 discs at once; C6 takes only B7 and the game goes on.
    Resume(R"(
        12------
        -2------
        1-------
        --------
        --------
        --------
        --------
        --------)",
           1);
    Click("C8");
    view.Settle();
    ASSERT_FALSE(game->BeginGame());
    ASSERT_EQ(game->CurrentE(), 1);

    game->StepBack();
    game->StepForward();
    game->ResumePlay(); // at the end of the finished game: only the texts are cleared
    EXPECT_FALSE(game->BeginGame());
    EXPECT_EQ(view.boxes[0], "");
    EXPECT_EQ(view.panels[1], "Зеленые: ");

    game->StepBack();
    game->ResumePlay(); // from the start: the game is open again
    view.Settle();
    EXPECT_TRUE(game->BeginGame());
    EXPECT_EQ(game->CurrentE(), TGameController::kUnfinished);
    Click("C6");
    view.Settle();
    Click("B6");
    view.Settle();
    ASSERT_EQ(game->CurrentR(), 2);

    // Position 1 is where the old game ended; resuming there must play on from
    // it, not record after the later move.
    game->StepBack();
    game->ResumePlay();
    view.Settle();
    EXPECT_TRUE(game->BeginGame());
    EXPECT_EQ(game->CurrentR(), 1);
    EXPECT_EQ(game->State().SideToMove, 0);
    Click("B6");
    EXPECT_EQ(game->CurrentR(), 2);
    ExpectHistoryReplays();
}

TEST_F(History, WholeGamesNeverRecordPast60) {
    for (const std::uint8_t regim : {1, 2}) {
        SCOPED_TRACE(regim);
        view = TFakeGameView{};
        Start({.Regim = regim});
        PlayToEnd();
        ASSERT_FALSE(game->BeginGame());
        const TDiscCounts counts = CountDiscs(Board());
        EXPECT_EQ(game->CurrentR(), counts.Total() - 4); // one entry per disc placed
        EXPECT_LE(game->CurrentR(), 60);
        ExpectHistoryReplays();
        if (counts.Total() == 64) {
            EXPECT_EQ(view.counter, "Ход 60 из 60");
        }
    }
}

// Histories a file may bring: a game reopened and then viewed at its old end
// marker, and a record already holding 60 moves.
TEST_F(History, MovesAreRecordedAfterThePositionShownAndNeverPast60) {
    Start({.Regim = 2});
    for (int i = 0; i < 6; ++i)
        HumanTurn();
    TSavedGame saved = game->SavedGame();
    saved.CurrentV = 4;
    saved.CurrentE = 2; // older than the moves after it
    ASSERT_TRUE(game->ShowLoadedGame(saved));
    game->ResumePlay(); // at or past the marker: "finished", yet BeginGame holds
    ASSERT_TRUE(game->BeginGame());
    ASSERT_EQ(game->State().SideToMove, 1);
    HumanTurn(); // the move follows position 4, not 6
    EXPECT_EQ(game->CurrentR(), 5);
    EXPECT_EQ(game->March().Fields[4], saved.March.Fields[4]);
    ExpectHistoryReplays();

    TSavedGame full;
    full.March.Fields[60] = StandardStartPosition().board;
    full.March.Who[60] = 0;
    full.March.Moves[60] = {1, 1}; // a record the program could have written: a cell
    full.CurrentR = full.CurrentV = 60;
    ASSERT_TRUE(game->ShowLoadedGame(full));
    game->ResumePlay();
    Click("D3");
    EXPECT_EQ(view.LastMessage(), "Ничья!");
    EXPECT_FALSE(game->BeginGame());
    EXPECT_EQ(game->CurrentR(), 60);
    EXPECT_EQ(Board(), full.March.Fields[60]);
}

TEST_F(History, LoadedGameIsShownInHistoryView) {
    Start({.Regim = 2});
    for (int i = 0; i < 6; ++i)
        HumanTurn();
    TSavedGame saved = game->SavedGame();
    EXPECT_EQ(saved.CurrentR, 6);
    saved.CurrentV = 4;

    ASSERT_TRUE(game->ShowLoadedGame(saved));
    EXPECT_FALSE(game->PlayR());
    EXPECT_EQ(view.counter, "Ход 04 из 06");
    EXPECT_EQ(Board(), saved.March.Fields[4]);
    ExpectCommands(view, {true, true, true, true, true});

    TSavedGame broken = saved;
    broken.CurrentV = 7; // past the history
    EXPECT_FALSE(game->ShowLoadedGame(broken));
    EXPECT_EQ(game->CurrentV(), 4);
}

} // namespace
} // namespace dorvane::test
