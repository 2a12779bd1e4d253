// Cost of the corner and edge rule group, the first and largest group of the
// rule cascade, over the self-play corpus of the search benchmark
// (bench/data/search_positions.txt). Every search of the average strength
// runs it once per move, and the high strength once per simulated move, so it
// sets the floor of both. Reports the mean per position and how often the
// group decided the move.
#include "game/rules.h"
#include "game/position_text.h"
#include "game/search_context.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace dorvane;

std::vector<TPosition> LoadCorpus() {
    std::vector<TPosition> positions;
    std::ifstream in(DORVANE_SEARCH_CORPUS);
    std::string line;
    std::string error;
    while (std::getline(in, line)) {
        TPosition position;
        if (ParsePosition(line, position, error)) positions.push_back(position);
    }
    if (positions.empty()) {
        std::fprintf(stderr, "no positions in %s\n", DORVANE_SEARCH_CORPUS);
        std::exit(1);
    }
    return positions;
}

void BM_CornerRules(benchmark::State& state) {
    static const std::vector<TPosition> corpus = LoadCorpus();
    int decided = 0;
    for (auto _ : state) {
        decided = 0;
        for (const TPosition& position : corpus) {
            TGameState game;
            game.GameBoard = position.board;
            TSearchContext ctx(game);
            ctx.SetSide(position.sideToMove);
            ctx.Board = position.board;
            ComputeCandidates(ctx);
            ctx.Mode = kModeRules;
            if (RunCornerRules(ctx) != 0) ++decided;
            benchmark::DoNotOptimize(game.MovePriority);
        }
    }
    state.counters["per_position"] = benchmark::Counter(
        static_cast<double>(corpus.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["decided_share"] = static_cast<double>(decided) / corpus.size();
}
BENCHMARK(BM_CornerRules)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
