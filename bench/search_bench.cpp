// Search speed of the three strengths over a fixed corpus of positions from
// self-play (bench/data/search_positions.txt, nine for every disc total from
// 5 to 63). The high strength's cost grows sharply towards the end of the
// game, so besides the mean it reports its slowest and median move. Goal on
// the 2-core build machine: slowest under 100 ms, median under 2 ms.
#include "game/engine.h"
#include "game/position_text.h"
#include "game/random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace dorvane;

const std::vector<TPosition>& Corpus() {
    static const std::vector<TPosition> corpus = [] {
        std::vector<TPosition> positions;
        std::ifstream in(DORVANE_SEARCH_CORPUS);
        std::string line;
        std::string error;
        for (int number = 1; std::getline(in, line); ++number) {
            TPosition position;
            if (!ParsePosition(line, position, error)) {
                std::fprintf(stderr, "%s:%d: %s\n", DORVANE_SEARCH_CORPUS, number, error.c_str());
                std::exit(1);
            }
            positions.push_back(position);
        }
        if (positions.empty()) {
            std::fprintf(stderr, "no positions in %s\n", DORVANE_SEARCH_CORPUS);
            std::exit(1);
        }
        return positions;
    }();
    return corpus;
}

void SearchOnce(const TPosition& position, TRandom& random, int type) {
    TGameState game;
    game.GameBoard = position.board;
    game.SideToMove = position.sideToMove;
    game.RecountDiscs();
    FindMove(game, random, SearchTypeOf(type));
    benchmark::DoNotOptimize(game.MoveColumn);
}

// The whole corpus per iteration; "per_search" is the mean time of one search.
void BM_SearchCorpus(benchmark::State& state) {
    const auto& corpus = Corpus();
    const int type = static_cast<int>(state.range(0));
    TRandom random(1);
    for (auto _ : state)
        for (const TPosition& position : corpus)
            SearchOnce(position, random, type);
    state.counters["per_search"] = benchmark::Counter(
        static_cast<double>(corpus.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SearchCorpus)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// CPU time of this thread in milliseconds: the build machine is shared, and
// wall time per search would measure the neighbours as much as the search.
double ThreadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One pass of the high strength over the corpus, each search timed on its
// own: the slowest and the median move, and where the slowest one was.
void BM_LookAheadEachMove(benchmark::State& state) {
    const auto& corpus = Corpus();
    std::vector<double> ms(corpus.size());
    std::size_t slowest = 0;
    for (auto _ : state) {
        TRandom random(1);
        for (std::size_t i = 0; i < corpus.size(); ++i) {
            const double start = ThreadMs();
            SearchOnce(corpus[i], random, 3);
            ms[i] = ThreadMs() - start;
        }
    }
    slowest = static_cast<std::size_t>(std::max_element(ms.begin(), ms.end()) - ms.begin());
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    state.counters["slowest_ms"] = sorted.back();
    state.counters["median_ms"] = sorted[sorted.size() / 2];
    state.counters["p90_ms"] = sorted[sorted.size() * 9 / 10];
    state.counters["slowest_discs"] = CountDiscs(corpus[slowest].board).Total();
    state.SetLabel("slowest: " + FormatPosition(corpus[slowest]));
}
BENCHMARK(BM_LookAheadEachMove)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
