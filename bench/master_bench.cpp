// The master's speed: nodes per second of the midgame search and of the
// solver, the time to solve a fixed set of 20-empty positions (median and
// slowest as counters), and its move time at the default budget per stage.
#include "game/master/random_positions.h"
#include "game/master/search.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using namespace dorvane::master;

std::vector<TPosition> Positions(int empties, int count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::vector<TPosition> positions;
    for (int i = 0; i < count; ++i)
        positions.push_back(RandomPosition(random, empties));
    return positions;
}

void BM_MasterMidgameNodes(benchmark::State& state) {
    const std::vector<TPosition> positions = Positions(40, 8, 1);
    TMasterSearch search;
    std::uint64_t nodes = 0;
    for (auto _ : state)
        for (const TPosition& position : positions)
            nodes +=
                search.Search(position, {.seconds = 0, .maxDepth = 8, .solveEmpties = 0}).nodes;
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MasterMidgameNodes)->Unit(benchmark::kMillisecond);

void BM_MasterSolverNodes(benchmark::State& state) {
    const std::vector<TPosition> positions = Positions(16, 10, 2);
    TMasterSearch search;
    std::uint64_t nodes = 0;
    for (auto _ : state)
        for (const TPosition& position : positions) {
            benchmark::DoNotOptimize(search.Solve(position));
            nodes += search.Nodes();
        }
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MasterSolverNodes)->Unit(benchmark::kMillisecond);

// Fifty positions with 20 empties, each solved once per run.
void BM_MasterSolveTwentyEmpties(benchmark::State& state) {
    const std::vector<TPosition> positions = Positions(20, 50, 3);
    TMasterSearch search;
    for (auto _ : state) {
        std::vector<double> seconds;
        for (const TPosition& position : positions) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(search.Solve(position));
            seconds.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(seconds.begin(), seconds.end());
        state.counters["median_s"] = seconds[seconds.size() / 2];
        state.counters["slowest_s"] = seconds.back();
    }
}
BENCHMARK(BM_MasterSolveTwentyEmpties)->Unit(benchmark::kSecond)->Iterations(1);

// The move at the default budget, by the empties left.
void BM_MasterMoveTime(benchmark::State& state) {
    const std::vector<TPosition> positions = Positions(static_cast<int>(state.range(0)), 4, 4);
    TMasterSearch search;
    for (auto _ : state)
        for (const TPosition& position : positions)
            benchmark::DoNotOptimize(search.Search(position).move);
    state.counters["s/move"] = benchmark::Counter(static_cast<double>(positions.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}
BENCHMARK(BM_MasterMoveTime)
    ->Arg(50)
    ->Arg(36)
    ->Arg(24)
    ->Arg(18)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
BENCHMARK_MAIN();
