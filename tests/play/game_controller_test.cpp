#include "play_fixture.h"

#include <algorithm>

namespace dorvane::test {
namespace {

using Controller = PlayFixture;

TEST_F(Controller, StartsWithSide1ToMoveAndNothingToNavigate) {
    Start();
    EXPECT_TRUE(game->BeginGame());
    EXPECT_TRUE(game->CanAct());
    EXPECT_EQ(view.counter, "Ход 00 из 00");
    for (TGameCommand command :
         {TGameCommand::ToBegin, TGameCommand::StepBack, TGameCommand::ResumePlay,
          TGameCommand::StepForward, TGameCommand::ToEnd})
        EXPECT_FALSE(view.Enabled(command));
    EXPECT_EQ(view.clocks[0], "0:00:00");
    EXPECT_TRUE(view.Running(TGameTimer::Clock1));
    EXPECT_FALSE(view.Running(TGameTimer::Clock2));
    EXPECT_EQ(view.panels[1], "Зеленые: думают");
    EXPECT_EQ(view.panels[2], "Синие: ");
    EXPECT_EQ(view.overall1, "0");
    EXPECT_EQ(view.rating1, "0");
    EXPECT_EQ(view.redraws, std::vector<TRedraw>{TRedraw::Rebuild});
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(Controller, RefusedMoveWarnsAndChangesNothingButTheSoundIsHeard) {
    Start();
    const TField before = Board();
    Click("A1");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Вы нарушаете правила игры!");
    EXPECT_EQ(view.messages[0].icon, TMessageIcon::Warning);
    EXPECT_EQ(Board(), before);
    EXPECT_EQ(game->CurrentR(), 0);
    EXPECT_EQ(game->State().SideToMove, 1);
    EXPECT_FALSE(view.pendingRedraw);
    EXPECT_EQ(std::count(view.sounds.begin(), view.sounds.end(), TGameSound::Move), 1);

    // An occupied cell: no sound, no message.
    Click("D5");
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(std::count(view.sounds.begin(), view.sounds.end(), TGameSound::Move), 1);
}

TEST_F(Controller, TurnChangesHandsOnlyWhenTheRedrawHasFinished) {
    Start({.Regim = 2});
    Click("D3");
    EXPECT_EQ(game->CurrentR(), 1);
    ASSERT_TRUE(view.pendingRedraw);
    EXPECT_EQ(*view.pendingRedraw, TRedraw::Animated);
    EXPECT_TRUE(game->OnShow1());
    EXPECT_FALSE(game->CanAct());
    EXPECT_EQ(view.boxes[0], "D3");
    EXPECT_EQ(view.boxes[1], "Ваш");

    Click("C3"); // side 2 clicks before the flips are drawn
    EXPECT_EQ(view.LastMessage(), "Сейчас не Ваш ход!");
    EXPECT_EQ(game->CurrentR(), 1);

    view.Redraw();
    EXPECT_EQ(game->State().SideToMove, 0);
    EXPECT_TRUE(game->CanAct());
    EXPECT_TRUE(view.Running(TGameTimer::Clock2));
    EXPECT_FALSE(view.Running(TGameTimer::Clock1));
    Click("C3");
    EXPECT_EQ(game->CurrentR(), 2);
    EXPECT_EQ(view.boxes[1], "C3");
}

TEST_F(Controller, RefusedPassShowsTheMovesAndTheirCount) {
    Start({.HintOn = true});
    game->PassMove();
    EXPECT_EQ(view.LastMessage(), "Сейчас у Вас есть 4 хода.");
    EXPECT_EQ(view.messages.back().icon, TMessageIcon::Information);
    EXPECT_EQ(view.markCount, 4);
    // With the hint on, the suggested cell gets its own marker.
    EXPECT_EQ(CellName(view.bestColumn, view.bestRow), view.hint.toStdString());
    EXPECT_EQ(game->State().SideToMove, 1);
}

TEST_F(Controller, ComputerHasNoMoveThenHumanWipesItOut) {
    Start();
    // Side 2 can never answer: both of its discs sit behind side 1's edge discs.
    Resume(R"(
        12------
        --------
        --------
        --------
        --------
        --------
        --------
        12------)",
           1);
    Click("C8");
    view.Settle();
    EXPECT_EQ(view.LastMessage(), "У меня нет хода.");
    EXPECT_EQ(view.boxes[1], "нет");
    EXPECT_TRUE(game->BeginGame());
    EXPECT_EQ(game->State().SideToMove, 1);

    Click("C1");
    EXPECT_EQ(view.LastMessage(), "Синие полностью разгромлены!");
    EXPECT_FALSE(game->BeginGame());
    EXPECT_EQ(view.overall1, "6");
    EXPECT_EQ(view.overall2, "0");
    EXPECT_EQ(view.rating1, "0"); // 6.2 discs in all are too few for a rating
}

TEST_F(Controller, AfterTheComputersNoMoveTheHumansPassEndsTheGame) {
    Start();
    Resume(R"(
        12------
        --------
        --------
        --------
        --------
        --------
        --------
        -------2)",
           1);
    Click("C8");
    view.Settle();
    EXPECT_EQ(view.LastMessage(), "У меня нет хода.");
    game->PassMove();
    view.Settle();
    EXPECT_EQ(view.LastMessage(), "Зеленые выиграли!");
    EXPECT_FALSE(game->BeginGame());
    EXPECT_EQ(game->CurrentE(), game->CurrentR());
}

// With neither side able to move, the first pass ends a two-player game,
// whether or not a hint search has looked at the next side.
TEST_F(Controller, TwoPlayerDoublePassEndsTheGame) {
    for (const bool hint : {false, true}) {
        SCOPED_TRACE(hint);
        view = TFakeGameView{};
        Start({.Regim = 2, .HintOn = hint});
        Resume(R"(
            1-------
            --------
            --------
            --------
            --------
            --------
            --------
            -------2)",
               1);
        game->PassMove();
        view.Settle();
        EXPECT_EQ(view.LastMessage(), "Ничья!");
        EXPECT_FALSE(game->BeginGame());
    }
}

TEST_F(Controller, AcceptedPassInTwoPlayerModeHandsTheTurnOver) {
    Start({.Regim = 2});
    Resume(R"(
        21------
        --------
        --------
        --------
        --------
        --------
        --------
        --------)",
           1);
    game->PassMove();
    EXPECT_EQ(view.boxes[0], "нет");
    EXPECT_EQ(view.boxes[1], "Ваш");
    EXPECT_EQ(view.panels[1], "Зеленые: нет");
    EXPECT_EQ(view.panels[2], "Синие: думают");
    EXPECT_EQ(game->State().SideToMove, 0);
    EXPECT_TRUE(game->BeginGame());
    EXPECT_TRUE(view.Running(TGameTimer::Clock2));
    Click("C8");
    EXPECT_EQ(view.LastMessage(), "Зеленые полностью разгромлены!");
}

TEST_F(Controller, PassButtonBlinksWhenTheHintFindsNoMoveUntilThePass) {
    Start({.Regim = 2, .HintOn = true});
    EXPECT_FALSE(view.Running(TGameTimer::PassBlink));
    Resume(R"(
        21------
        --------
        --------
        --------
        --------
        --------
        --------
        --------)",
           1);
    EXPECT_EQ(view.hint, "нет");
    EXPECT_EQ(view.panels[5], "Подсказка: нет");
    EXPECT_EQ(view.timers[TGameTimer::PassBlink], TGameController::kBlinkMs);
    game->PassMove();
    EXPECT_FALSE(view.Running(TGameTimer::PassBlink));
    EXPECT_EQ(view.hint, "C8"); // side 2's hint
}

TEST_F(Controller, FullBoardOf40To24GivesOverallScoreAndRating) {
    Start({.Regim = 2});
    // H1 is the last empty cell; playing it flips G1 and leaves 40 to 24.
    std::string cells(64, '-');
    int twos = 24;
    for (int i = 0; i < 64; ++i)
        cells[i] = twos-- > 0 ? '2' : '1';
    const auto at = [&](const char* name) -> char& {
        const int index = Cell(name);
        return cells[(RowOf(index) - 1) * 8 + ColumnOf(index) - 1];
    };
    at("H1") = '-';
    at("G1") = '2';
    at("F1") = '1';
    at("G2") = '1';
    at("H2") = '1';
    ASSERT_EQ(std::count(cells.begin(), cells.end(), '2'), 25);
    Resume(cells, 1);
    Click("H1");
    EXPECT_EQ(view.LastMessage(), "Зеленые выиграли!");
    EXPECT_EQ(view.overall1, "40");
    EXPECT_EQ(view.overall2, "24");
    EXPECT_EQ(view.rating1, "62");
    EXPECT_EQ(view.rating2, "38");
    EXPECT_EQ(view.boxes[0], "");
    EXPECT_EQ(view.boxes[1], "");
    EXPECT_EQ(view.panels[1], "Зеленые: ");
    EXPECT_FALSE(view.Running(TGameTimer::Clock1));
    EXPECT_FALSE(view.Running(TGameTimer::Clock2));

    // A finished game ignores the board without a message.
    const std::size_t shown = view.messages.size();
    Click("A8");
    EXPECT_EQ(view.messages.size(), shown);
}

// One whole game at each strength, the human playing the first legal cell.
TEST_F(Controller, WholeGamesAgainstTheComputer) {
    for (const std::uint8_t intellect : {1, 2, 3}) {
        SCOPED_TRACE(intellect);
        view = TFakeGameView{};
        Start({.Intellect = intellect});
        const int turns = PlayToEnd();
        EXPECT_FALSE(game->BeginGame());
        EXPECT_LT(turns, 100);
        ExpectHistoryReplays();
        const TDiscCounts counts = CountDiscs(Board());
        // The last message is the result, matching the discs.
        const QString expected = counts.side1 == 0 ? "Зеленые полностью разгромлены!"
                                 : counts.side2 == 0 ? "Синие полностью разгромлены!"
                                 : counts.side1 > counts.side2 ? "Зеленые выиграли!"
                                 : counts.side1 < counts.side2 ? "Синие выиграли!"
                                                               : "Ничья!";
        EXPECT_EQ(view.LastMessage(), expected);
        EXPECT_EQ(view.overall1, QString::number(counts.side1));
        EXPECT_EQ(view.overall2, QString::number(counts.side2));
        EXPECT_EQ(game->CurrentE(), game->CurrentR());
        EXPECT_EQ(std::count(view.sounds.begin(), view.sounds.end(), TGameSound::End), 1);
        // Side 2 moved by the computer: every second recorded move or so is its.
        EXPECT_GT(std::count(game->March().Who.begin() + 1,
                             game->March().Who.begin() + game->CurrentR() + 1, 0),
                  10);
    }
}

TEST_F(Controller, ComputerWaitsForThePauseAfterTheRedraw) {
    Start({.GoFast = true});
    Click("D3");
    EXPECT_FALSE(view.Running(TGameTimer::ComputerPause));
    view.Redraw();
    ASSERT_TRUE(view.Running(TGameTimer::ComputerPause));
    EXPECT_EQ(view.timers[TGameTimer::ComputerPause], TGameController::kPauseFastMs);
    EXPECT_EQ(game->CurrentR(), 1);
    view.Fire(TGameTimer::ComputerPause);
    EXPECT_EQ(game->CurrentR(), 2);
    EXPECT_EQ(game->State().SideToMove, 0); // until the computer's move is drawn
    EXPECT_EQ(*view.pendingRedraw,
              TRedraw::AllAtOnce); // "Ходить быстро": no disc-by-disc animation
    view.Redraw();
    EXPECT_EQ(game->State().SideToMove, 1);
    EXPECT_EQ(view.boxes[0], "Ваш");
}

TEST_F(Controller, QuestionsGuardStartResetLevelAndMode) {
    Start();
    // Nothing played yet: start and level change need no question, reset does nothing.
    game->StartGame(TSide::First);
    game->ResetCommand();
    game->SetIntellect(TStrength::High);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(game->Intellect(), TStrength::High);
    EXPECT_EQ(view.intellect, 3);

    Click("D3");
    view.Settle();
    const int recorded = game->CurrentR();
    for (const auto& [ask, text] : std::vector<std::pair<std::function<void()>, QString>>{
             {[&] { game->StartGame(TSide::First); }, "Начать с начала?"},
             {[&] { game->ResetCommand(); }, "Сбросить счет?"},
             {[&] { game->SetIntellect(TStrength::Low); }, "Вы уверены?"},
             {[&] { game->SetRegim(2); }, "Вы уверены?"},
         }) {
        ask(); // answered No
        EXPECT_EQ(view.questions.back(), text);
        EXPECT_EQ(game->CurrentR(), recorded) << text.toStdString();
    }
    EXPECT_EQ(game->Intellect(), TStrength::High);
    EXPECT_EQ(view.intellect, 3);
    EXPECT_EQ(game->Regim(), 1);

    view.answers = {true};
    game->SetRegim(2);
    EXPECT_EQ(game->Regim(), 2);
    EXPECT_FALSE(view.players->levelsEnabled);
    EXPECT_EQ(game->CurrentR(), 0);
    EXPECT_FLOAT_EQ(game->Scores().S3R, 0.1f);
}

TEST_F(Controller, ComplicationGivesTheHandicapToTheLowerRating) {
    const struct {
        float s3, s4;
        int discs;             // handicap discs placed
        std::uint8_t receiver; // cell code that gets them
    } cases[] = {
        {500, 0.1f, 12, 2},                 // ratings 100 and 0
        {0.1f, 500, 12, 1}, {70, 30, 0, 0}, // a difference of exactly 40
        {71, 29, 1, 2},                     // 42: only A8
        {50, 50, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.s3);
        view = TFakeGameView{};
        Start({.Complication = true});
        TSavedGame saved = game->SavedGame();
        saved.S3R = c.s3;
        saved.S4R = c.s4;
        ASSERT_TRUE(game->ShowLoadedGame(saved));
        game->StartGame(TSide::First);
        const TDiscCounts counts = CountDiscs(Board());
        EXPECT_EQ(counts.Total(), 4 + c.discs);
        if (c.discs > 0) {
            EXPECT_EQ(Board()[Cell("A8")], c.receiver);
            EXPECT_EQ(c.receiver == 1 ? counts.side1 : counts.side2, 2 + c.discs);
        }
        EXPECT_EQ(game->March().Fields[0], Board()); // the handicap belongs to the start position
    }
}

TEST_F(Controller, NothingTouchesTheGameDuringASearchAndCloseCancelsAndWaitsForIt) {
    Start({.Intellect = 3});
    Click("D3");
    view.Redraw();
    const TField afterHuman = Board();
    view.holdSearches = true;
    view.Fire(TGameTimer::ComputerPause);
    ASSERT_TRUE(view.SearchPending());
    EXPECT_TRUE(view.busy);
    EXPECT_TRUE(game->Blocked());
    // Everything the window or a timer can do while the worker searches.
    game->CellClick(3, 3);
    game->PassMove();
    game->StartGame(TSide::First);
    game->StepBack();
    game->ToBegin();
    game->ResetCommand();
    game->SetIntellect(TStrength::Low);
    game->SetRegim(2);
    EXPECT_FALSE(game->ShowLoadedGame(game->SavedGame()));
    view.Fire(TGameTimer::Clock2);
    view.Fire(TGameTimer::PassBlink);
    EXPECT_EQ(Board(), afterHuman);
    EXPECT_EQ(view.searches.size(), 1u) << "no search may start inside another";
    EXPECT_FALSE(view.searches.back().Cancel->load());
    EXPECT_FALSE(game->MayClose());
    // The close drops the answer, so the search need not run to its end.
    EXPECT_TRUE(view.searches.back().Cancel->load());

    ASSERT_TRUE(view.FinishSearch());
    EXPECT_TRUE(view.closeDeferred);
    EXPECT_FALSE(view.busy);
    // The search's move was dropped, nothing else happened meanwhile.
    EXPECT_EQ(Board(), afterHuman);
    EXPECT_EQ(game->CurrentR(), 1);
    EXPECT_EQ(game->Intellect(), TStrength::High);
    EXPECT_EQ(game->Regim(), 1);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.questions.empty());
}

// A result that arrives after the game it was searched for has gone (a
// stale generation) is dropped, and a search answers only its own job.
TEST_F(Controller, SearchesSeeACopyAndAStaleResultIsDropped) {
    Start({.Intellect = 3});
    Click("D3");
    view.Redraw();
    view.holdSearches = true;
    view.Fire(TGameTimer::ComputerPause);
    ASSERT_TRUE(view.SearchPending());
    const TSearchJob job = view.searches.back();
    EXPECT_EQ(job.State.GameBoard, Board());
    EXPECT_EQ(job.Type, TSearchType::LookAhead);
    EXPECT_EQ(job.State.SideToMove, 0);

    // An answer stamped with another generation changes nothing.
    TSearchJob other = job;
    other.Generation += 7;
    other.State.GameBoard =
        test::Picture("-------- -------- -------- ---111-- ---12--- -------- -------- --------");
    view.Deliver(RunSearch(other));
    EXPECT_TRUE(game->Blocked());
    EXPECT_EQ(game->CurrentR(), 1);
    EXPECT_EQ(Board(), job.State.GameBoard);
    ASSERT_TRUE(view.FinishSearch());
    EXPECT_EQ(game->CurrentR(), 2);
    EXPECT_FALSE(game->Blocked());
}

TEST_F(Controller, WorkWaitsForTheSearchAndRunsInOrder) {
    Start({.Intellect = 3});
    Click("D3");
    view.Redraw();
    view.holdSearches = true;
    view.Fire(TGameTimer::ComputerPause);
    std::vector<int> order;
    game->WhenIdle([&] { order.push_back(game->CurrentR()); });
    game->WhenIdle([&] { order.push_back(10 + game->CurrentR()); });
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(view.FinishSearch());
    // After the computer's move, in the order given.
    EXPECT_EQ(order, (std::vector<int>{2, 12}));
    game->WhenIdle([&] { order.push_back(-1); });
    EXPECT_EQ(order.back(), -1); // nothing runs: at once
}

TEST_F(Controller, HintWindowIsGatedLikeTheBoardAndPlaysItsMoveLikeAClick) {
    Start({.Regim = 2, .Intellect = 1});
    ASSERT_TRUE(game->MayOpenHintWindow());
    // The window's search, at the high strength whatever the level.
    bool answered = false;
    game->Search(TSearchType::LookAhead, [&](bool alive) { answered = alive; });
    ASSERT_TRUE(answered);
    EXPECT_EQ(view.searches.back().Type, TSearchType::LookAhead);
    const int column = game->State().MoveColumn;
    const int row = game->State().MoveRow;
    game->PlayHintMove();
    EXPECT_EQ(game->CurrentR(), 1);
    EXPECT_EQ(game->March().Moves[1][0], column);
    EXPECT_EQ(game->March().Moves[1][1], row);
    EXPECT_EQ(view.boxes[0].toStdString(), CellName(column, row));
    EXPECT_TRUE(game->OnShow1()); // handed over by the redraw, as after a click

    EXPECT_FALSE(game->MayOpenHintWindow());
    EXPECT_EQ(view.LastMessage(), "Сейчас не Ваш ход!");
    view.Settle();
    game->StepBack();
    EXPECT_FALSE(game->MayOpenHintWindow());
    EXPECT_EQ(view.LastMessage(), "Игра остановлена!");
}

TEST_F(Controller, HighStrengthShowsItsForecastUntilTheHistoryIsViewed) {
    Start({.Intellect = 3});
    Click("D3");
    view.Settle();
    ASSERT_EQ(game->CurrentR(), 2);
    ASSERT_TRUE(game->State().ForecastReady);
    EXPECT_EQ(view.scoreCaption, "Счет игры  (прогноз)");
    EXPECT_EQ(view.score1, QStringLiteral("%1      (%2)")
                               .arg(game->State().DiscCount1)
                               .arg(game->State().ForecastCount1));
    EXPECT_EQ(view.score2, QStringLiteral("%1      (%2)")
                               .arg(game->State().DiscCount2)
                               .arg(game->State().ForecastCount2));

    game->StepBack();
    EXPECT_EQ(view.scoreCaption, "Счет игры");
    EXPECT_EQ(view.score1, QString::number(CountDiscs(game->March().Fields[1]).side1));
}

TEST_F(Controller, RedrawEndingDuringASearchHandsOverAfterIt) {
    Start({.Regim = 2});
    HumanTurn();
    HumanTurn();
    const int cell = FirstLegalCell();
    game->CellClick(ColumnOf(cell), RowOf(cell)); // side 1 again; its redraw is still to come
    ASSERT_TRUE(game->OnShow1());
    view.holdSearches = true;
    bool answered = false;
    game->Search(TSearchType::LookAhead, [&](bool alive) { answered = alive; });
    view.Redraw(); // the event loop finishes the redraw while the worker searches
    EXPECT_EQ(game->State().SideToMove, 0); // HumanMove already set it...
    EXPECT_TRUE(game->OnShow1());           // ...but the hand-over waits for the search
    view.holdSearches = false;
    view.Settle();
    EXPECT_TRUE(answered);
    EXPECT_FALSE(game->OnShow1());
    EXPECT_TRUE(game->CanAct());
}

TEST_F(Controller, ClocksTickOnlyForTheSideToMove) {
    Start({.Regim = 2});
    view.Fire(TGameTimer::Clock1);
    view.Fire(TGameTimer::Clock1);
    EXPECT_EQ(view.clocks[0], "0:00:02");
    Click("D3");
    EXPECT_FALSE(view.Running(TGameTimer::Clock1));
    view.Redraw();
    EXPECT_TRUE(view.Running(TGameTimer::Clock2));
    view.Fire(TGameTimer::Clock2);
    EXPECT_EQ(view.clocks[1], "0:00:01");
    EXPECT_EQ(game->ClockSeconds(TSide::First), 2);

    game->StartGame(TSide::First);
    EXPECT_EQ(view.clocks[0], "0:00:00");
    EXPECT_EQ(view.clocks[1], "0:00:00");
}

} // namespace
} // namespace dorvane::test
