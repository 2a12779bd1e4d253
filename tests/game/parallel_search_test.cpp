// The look-ahead spread over a pool of threads, and remembering the cascade's
// answers, must answer exactly as the plain serial search: the same cell, the
// same priority, the same forecast, whatever the number of threads. Checked on
// the benchmark's corpus, its hard set and positions from self-play.
#include "game/engine.h"
#include "game/position_text.h"
#include "game/random.h"
#include "game/search_pool.h"
#include "game/selfplay.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Sanitizer builds run a sample: every position is searched five times, and
// there a search is some twenty times slower.
#ifndef DORVANE_SEARCH_SAMPLE_EVERY
#define DORVANE_SEARCH_SAMPLE_EVERY 1
#endif

namespace dorvane {
namespace {

constexpr int kSampleEvery = DORVANE_SEARCH_SAMPLE_EVERY;
constexpr std::array<int, 4> kThreadCounts = {1, 2, 3, 8};

std::vector<TPosition> Load(const char* path) {
    std::vector<TPosition> positions;
    std::ifstream in(path);
    std::string line;
    std::string error;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string first;
        std::string cells;
        std::string side;
        fields >> first;
        // The hard set marks each position before it and times it after it.
        if (first == "reachable" || first == "constructed") {
            fields >> cells >> side;
        } else {
            cells = first;
            fields >> side;
        }
        TPosition position;
        EXPECT_TRUE(ParsePosition(cells + ' ' + side, position, error)) << path << ": " << error;
        positions.push_back(position);
    }
    EXPECT_FALSE(positions.empty()) << path;
    return positions;
}

std::vector<TPosition> SelfPlayPositions(std::size_t wanted) {
    std::vector<TPosition> positions;
    TRandom random(0x9a7a11e1);
    for (int g = 0; positions.size() < wanted; ++g) {
        PlayEngineGame(random, {SearchTypeOf(1 + g % 2), SearchTypeOf(1 + (g / 2) % 2)},
                       [&](const TGameState& game) {
                           if (positions.size() < wanted)
                               positions.push_back({game.GameBoard, game.SideToMove});
                       });
    }
    return positions;
}

TGameState Search(const TPosition& position, TSearchDraws draws, const TSearchOptions& options) {
    TGameState game;
    game.GameBoard = position.board;
    game.SideToMove = position.sideToMove;
    game.RecountDiscs();
    FindMove(game, draws, TSearchType::LookAhead, options);
    return game;
}

std::string Answer(const TGameState& game) {
    std::string text = std::to_string(game.MoveColumn) + ',' + std::to_string(game.MoveRow) +
                       " priority " + std::to_string(game.MovePriority);
    if (game.ForecastReady)
        text += " forecast " + std::to_string(game.ForecastCount1) + ':' +
                std::to_string(game.ForecastCount2) + ' ' + FormatBoard(game.ForecastBoard);
    return text;
}

class ParallelSearch : public testing::Test {
protected:
    static void SetUpTestSuite() {
        for (std::size_t i = 0; i < kThreadCounts.size(); ++i)
            pools_[i] = std::make_unique<TSearchPool>(kThreadCounts[i]);
    }
    static void TearDownTestSuite() {
        for (auto& pool : pools_)
            pool.reset();
    }

    // Every kSampleEvery-th position, with draws that vary along the list.
    static void ExpectSameAnswers(const std::vector<TPosition>& positions) {
        int forecasts = 0;
        for (std::size_t i = 0; i < positions.size(); i += kSampleEvery) {
            const TSearchDraws draws{static_cast<std::uint8_t>(i / 4 % 2),
                                     static_cast<std::uint8_t>(i % 4)};
            const std::string serial = Answer(Search(positions[i], draws, {nullptr, true}));
            forecasts += serial.find("forecast") != std::string::npos;
            for (std::size_t p = 0; p < kThreadCounts.size(); ++p) {
                const TSearchOptions options{pools_[p].get(), false, nullptr};
                ASSERT_EQ(Answer(Search(positions[i], draws, options)), serial)
                    << FormatPosition(positions[i]) << " draws " << int(draws.Draw2) << ','
                    << int(draws.Draw4) << " with " << kThreadCounts[p] << " threads";
            }
        }
        EXPECT_GT(forecasts, 0);
    }

    static std::array<std::unique_ptr<TSearchPool>, kThreadCounts.size()> pools_;
};

std::array<std::unique_ptr<TSearchPool>, kThreadCounts.size()> ParallelSearch::pools_;

TEST_F(ParallelSearch, BenchmarkCorpusGivesTheSerialAnswers) {
    ExpectSameAnswers(Load(DORVANE_SEARCH_CORPUS));
}

TEST_F(ParallelSearch, HardSetGivesTheSerialAnswers) {
    ExpectSameAnswers(Load(DORVANE_HARD_POSITIONS));
}

TEST_F(ParallelSearch, SelfPlayPositionsGiveTheSerialAnswers) {
    ExpectSameAnswers(SelfPlayPositions(10000));
}

// A cancelled search ends on every thread, and the pool serves the next
// search as if nothing had happened. Cancelled once before the start and
// once from another thread while the threads are deep in the lines.
TEST_F(ParallelSearch, CancelledSearchLeavesThePoolIntact) {
    const std::vector<TPosition> hard = Load(DORVANE_HARD_POSITIONS);
    const TPosition& position = hard.front();
    const TSearchDraws draws{0, 0};
    const std::string expected = Answer(Search(position, draws, {nullptr, true, nullptr}));
    TSearchPool& pool = *pools_.back();

    std::atomic<bool> cancel{true};
    Search(position, draws, {&pool, false, &cancel});
    EXPECT_EQ(Answer(Search(position, draws, {&pool, false, nullptr})), expected);

    cancel = false;
    std::atomic<bool> started{false};
    std::thread searcher([&] {
        started = true;
        Search(position, draws, {&pool, false, &cancel});
    });
    while (!started)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    cancel = true;
    searcher.join();
    EXPECT_EQ(Answer(Search(position, draws, {&pool, false, nullptr})), expected);
}

// A search that finds the pool taken by another search runs on its own
// thread and still answers as the serial search does.
TEST_F(ParallelSearch, ASearchFindingThePoolTakenSearchesWithoutIt) {
    const std::vector<TPosition> hard = Load(DORVANE_HARD_POSITIONS);
    TSearchPool& pool = *pools_[1];
    const TSearchPool::TUse other(pool);
    ASSERT_TRUE(other.Owns());
    EXPECT_EQ(Answer(Search(hard[1], {1, 2}, {&pool, false, nullptr})),
              Answer(Search(hard[1], {1, 2}, {nullptr, true, nullptr})));
}

} // namespace
} // namespace dorvane
