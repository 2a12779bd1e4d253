// The computer's searches on the real worker thread: what the worker hands
// back and when, and a whole game whose searches run there.
#include "fake_game_view.h"
#include "game/position_text.h"
#include "game/test_boards.h"
#include "support/gated_searches.h"
#include "support/wait_for.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace dorvane::test {
namespace {

// One of the slowest positions of the high strength's benchmark corpus.
TSearchJob MidGameJob() {
    TSearchJob job;
    job.Generation = 41;
    job.Type = TSearchType::LookAhead;
    job.Draws = {1, 2};
    job.State.GameBoard =
        Picture("--1-222- --1112-- 11212112 11222111 21222212 22122122 --1112-- --1-12--");
    job.State.SideToMove = 0;
    job.State.RecountDiscs();
    return job;
}

TEST(SearchWorker, AnswersOnTheCallersThreadWithTheSearchsResult) {
    const QThread* searchedOn = nullptr;
    TSearchWorker worker([&](const TSearchJob& job) {
        searchedOn = QThread::currentThread();
        return RunSearch(job);
    });
    const TSearchJob job = MidGameJob();
    std::optional<TSearchResult> answer;
    const QThread* answeredOn = nullptr;
    worker.Start(job, [&](const TSearchResult& result) {
        answeredOn = QThread::currentThread();
        answer = result;
    });
    EXPECT_FALSE(answer) << "never inside Start";
    ASSERT_TRUE(WaitFor([&] { return answer.has_value(); }));
    EXPECT_EQ(answeredOn, QThread::currentThread());
    EXPECT_NE(searchedOn, QThread::currentThread());
    const TSearchResult expected = RunSearch(job);
    EXPECT_EQ(answer->Generation, 41u);
    EXPECT_GT(answer->State.MovePriority, 0);
    EXPECT_EQ(answer->State.MoveColumn, expected.State.MoveColumn);
    EXPECT_EQ(answer->State.MoveRow, expected.State.MoveRow);
    EXPECT_EQ(answer->State.ForecastBoard, expected.State.ForecastBoard);
    EXPECT_EQ(answer->State.GameBoard, job.State.GameBoard);
}

TEST(SearchWorker, AWorkerEndedDuringASearchNeverAnswers) {
    bool answered = false;
    {
        auto searches = std::make_unique<TGatedSearches>();
        searches->Shut();
        searches->Start(MidGameJob(), [&](const TSearchResult&) { answered = true; });
        ASSERT_TRUE(WaitFor([&] { return searches->Waiting(); }));
    } // the gate opens, the search ends on its thread, the thread is joined
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
}

// A runner that outlives its controller (the window went during a search)
// must not hand the answer to the controller that is gone.
TEST(SearchWorker, AnAnswerForAControllerThatIsGoneIsDropped) {
    TGatedSearches searches;
    TScriptedRandom random;
    TFakeGameView view;
    TGameOptions options{.Regim = 1, .Intellect = 3};
    {
        TGameController game(view, searches, random, options, TPlayerNames{"Зеленые", "Синие"});
        view.controller = &game;
        game.Initialize();
        game.CellClick(4, 6); // D3
        view.Redraw();
        searches.Shut();
        view.Fire(TGameTimer::ComputerPause);
        ASSERT_TRUE(WaitFor([&] { return searches.Waiting(); }));
        view.controller = nullptr;
    }
    searches.Open();
    ASSERT_TRUE(WaitFor([&] { return searches.Finished() == 1; }));
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(searches.Started(), 1);
}

// A controller whose searches run on the worker thread, seen by the fake
// window; the window's event loop is the test's.
class WorkerGame : public ::testing::Test {
protected:
    TScriptedRandom random;
    TFakeGameView view;
    TGatedSearches searches;
    TGameOptions options{.Regim = 1, .Intellect = 3};
    std::unique_ptr<TGameController> game;

    void Start() {
        game = std::make_unique<TGameController>(view, searches, random, options,
                                                 TPlayerNames{"Зеленые", "Синие"});
        view.controller = game.get();
        game->Initialize();
        Settle();
    }
    // Serves redraws and the computer's pause, and waits for every search.
    void Settle() {
        for (int guard = 0; guard < 10000; ++guard) {
            if (game->Blocked()) {
                ASSERT_TRUE(WaitFor([&] { return !game->Blocked(); }));
                continue;
            }
            if (!view.Redraw() && !view.Fire(TGameTimer::ComputerPause)) return;
        }
        FAIL() << "the game never came to rest";
    }
};

// Events that arrive while the worker searches - the window's timers, a
// click, a command, a file handed over - cannot change the game under it.
TEST_F(WorkerGame, EventsDuringTheSearchCannotChangeTheGame) {
    Start();
    game->CellClick(4, 6); // D3
    view.Redraw();
    const TField afterHuman = game->State().GameBoard;
    const TSavedGame other = game->SavedGame();
    searches.Shut();
    view.Fire(TGameTimer::ComputerPause);
    ASSERT_TRUE(WaitFor([&] { return searches.Waiting(); }));

    int fired = 0;
    bool loadedLater = false;
    QTimer source;
    QObject::connect(&source, &QTimer::timeout, [&] {
        ++fired;
        game->TimerFired(TGameTimer::Clock2);
        game->TimerFired(TGameTimer::ComputerPause);
        game->RedrawFinished();
        game->CellClick(3, 3);
        game->StartGame(TSide::First);
        game->PassMove();
        game->ToBegin();
        EXPECT_FALSE(game->ShowLoadedGame(other));
        if (fired == 1) game->WhenIdle([&] { loadedLater = game->ShowLoadedGame(other); });
        EXPECT_EQ(game->State().GameBoard, afterHuman);
        EXPECT_EQ(game->CurrentR(), 1);
    });
    source.start(1);
    ASSERT_TRUE(WaitFor([&] { return fired >= 20; }));
    EXPECT_TRUE(searches.Waiting()) << "the worker is still in its search";
    EXPECT_EQ(searches.Started(), 1);
    EXPECT_FALSE(loadedLater);
    source.stop();

    searches.Open();
    ASSERT_TRUE(WaitFor([&] { return !game->Blocked(); }));
    // The computer moved on the position it was given; the file handed over
    // meanwhile waited its turn and came after.
    EXPECT_TRUE(loadedLater);
    EXPECT_EQ(game->CurrentR(), 1);
    EXPECT_FALSE(game->PlayR());
    EXPECT_TRUE(view.messages.empty());
}

// A whole game against the high strength, its searches on the worker,
// makes the same moves as with every search answered at once.
TEST_F(WorkerGame, GamesOnTheWorkerReplayTheImmediateOnes) {
    const auto play = [](TGameController& controller, const std::function<void()>& settle) {
        for (int turn = 0; turn < 80 && controller.BeginGame(); ++turn) {
            TFlipGrid grid;
            CountFlips(grid, controller.State().GameBoard, controller.State().SideToMove);
            int cell = 0;
            for (int c = 1; c <= 8 && cell == 0; ++c)
                for (int r = 1; r <= 8 && cell == 0; ++r)
                    if (grid[CellIndex(c, r)] != 0) cell = CellIndex(c, r);
            if (cell != 0)
                controller.CellClick(ColumnOf(cell), RowOf(cell));
            else
                controller.PassMove();
            settle();
        }
    };
    Start();
    play(*game, [this] { Settle(); });
    ASSERT_FALSE(game->BeginGame());

    TScriptedRandom otherRandom;
    TFakeGameView immediate;
    TGameOptions same = options;
    TGameController reference(immediate, immediate, otherRandom, same,
                              TPlayerNames{"Зеленые", "Синие"});
    immediate.controller = &reference;
    reference.Initialize();
    immediate.Settle();
    play(reference, [&] { immediate.Settle(); });

    EXPECT_EQ(game->CurrentR(), reference.CurrentR());
    EXPECT_TRUE(game->March().Fields == reference.March().Fields);
    EXPECT_TRUE(game->March().Moves == reference.March().Moves);
    EXPECT_EQ(view.messages.back().text, immediate.messages.back().text);
    EXPECT_GT(searches.Started(), 20);
}

} // namespace
} // namespace dorvane::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
