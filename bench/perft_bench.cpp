// Move generation speed: perft from the standard start. Goal on the 2-core
// build machine: at least 10 million leaf positions per second on one core.
#include "game/perft.h"
#include "game/position_text.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PerftFromStart(benchmark::State& state) {
    const dorvane::TPosition start = dorvane::StandardStartPosition();
    const int depth = static_cast<int>(state.range(0));
    std::uint64_t leaves = 0;
    for (auto _ : state) {
        leaves = dorvane::Perft(start.board, start.sideToMove, depth);
        benchmark::DoNotOptimize(leaves);
    }
    state.counters["leaves"] = static_cast<double>(leaves);
    state.counters["leaves_per_second"] =
        benchmark::Counter(static_cast<double>(leaves) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PerftFromStart)->Arg(9)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
