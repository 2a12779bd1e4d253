// Search speed of the three strengths.
//
// Two sets of positions. The corpus (bench/data/search_positions.txt) holds
// positions from self-play, nine for every disc total from 5 to 63; its draws
// come from one seeded source, as in a game. The hard set
// (bench/data/hard_positions.txt) holds the high strength's slowest positions
// that make_hard_positions found, each searched under all eight pairs of
// draws. For the high strength each move is timed on its own, by the wall
// clock, and the median, p90 and slowest are reported per set, with a table by
// disc total printed after the benchmarks: for the plain serial search
// (threads:0), and on pools of 1, 2 and the machine's number of threads.
//
// Goal on the 2-core build machine: the hard set's slowest move at most 50 ms
// and the corpus's median at most 1 ms.
#include "game/engine.h"
#include "game/position_text.h"
#include "game/random.h"
#include "game/search_pool.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace dorvane;

struct TBenchPosition {
    TPosition position;
    std::string kind; // the hard set's mark: "reachable" or "constructed"
};

[[noreturn]] void Fail(const char* path, int line, const std::string& error) {
    std::fprintf(stderr, "%s:%d: %s\n", path, line, error.c_str());
    std::exit(1);
}

// One position per line; the hard set puts its mark before the position and
// the generator's time after it, and has '#' comment lines.
std::vector<TBenchPosition> Load(const char* path, bool marked) {
    std::vector<TBenchPosition> positions;
    std::ifstream in(path);
    std::string line;
    std::string error;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        TBenchPosition entry;
        std::string text = line;
        if (marked) {
            std::istringstream fields(line);
            std::string cells;
            std::string side;
            fields >> entry.kind >> cells >> side;
            if (entry.kind != "reachable" && entry.kind != "constructed")
                Fail(path, number, "the mark must be reachable or constructed");
            text = cells + ' ' + side;
        }
        if (!ParsePosition(text, entry.position, error)) Fail(path, number, error);
        positions.push_back(entry);
    }
    if (positions.empty()) Fail(path, 0, "no positions");
    return positions;
}

const std::vector<TBenchPosition>& Corpus() {
    static const auto corpus = Load(DORVANE_SEARCH_CORPUS, false);
    return corpus;
}

const std::vector<TBenchPosition>& HardSet() {
    static const auto hard = Load(DORVANE_HARD_POSITIONS, true);
    return hard;
}

TGameState GameAt(const TPosition& position) {
    return TGameState::At(position.board, position.sideToMove);
}

// The whole corpus per iteration; "per_search" is the mean time of one search.
void BM_SearchCorpus(benchmark::State& state) {
    const auto& corpus = Corpus();
    const TSearchType type = SearchTypeOf(static_cast<int>(state.range(0)));
    TRandom random(1);
    for (auto _ : state)
        for (const TBenchPosition& entry : corpus) {
            TGameState game = GameAt(entry.position);
            FindMove(game, random, type);
            benchmark::DoNotOptimize(game.MoveColumn);
        }
    state.counters["per_search"] = benchmark::Counter(
        static_cast<double>(corpus.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SearchCorpus)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

struct TTimedSearch {
    int discs = 0;
    double ms = 0;
    std::string what;
};

double Percentile(std::vector<double> ms, int percent) {
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, ms.size() * static_cast<std::size_t>(percent) / 100)];
}

// The tables printed after the benchmarks, one per run of BM_LookAheadEachMove.
std::vector<std::string>& Tables() {
    static std::vector<std::string> tables;
    return tables;
}

std::string TableByDiscs(const std::string& title, const std::vector<TTimedSearch>& searches) {
    std::map<int, std::vector<double>> byDiscs;
    for (const TTimedSearch& search : searches)
        byDiscs[search.discs].push_back(search.ms);
    std::string table = title + "\n  discs  searches  median_ms  p90_ms  slowest_ms\n";
    char row[96];
    for (const auto& [discs, ms] : byDiscs) {
        std::snprintf(row, sizeof row, "  %5d  %8zu  %9.3f  %6.2f  %10.2f\n", discs, ms.size(),
                      Percentile(ms, 50), Percentile(ms, 90), Percentile(ms, 100));
        table += row;
    }
    return table;
}

// The pools the benchmarks search with, one per thread count, made before
// the timing starts.
TSearchPool& PoolOf(int threads) {
    static std::map<int, std::unique_ptr<TSearchPool>> pools;
    auto& pool = pools[threads];
    if (!pool) pool = std::make_unique<TSearchPool>(threads);
    return *pool;
}

// threads 0: the plain serial search, nothing remembered; else a pool of that many threads.
TSearchOptions OptionsFor(int threads) {
    TSearchOptions options;
    if (threads == 0)
        options.Serial = true;
    else
        options.Pool = &PoolOf(threads);
    return options;
}

// One pass of the high strength over a set, each search timed on its own.
// Arguments: 0 the corpus or 1 the hard set; the thread count (0 serial).
void BM_LookAheadEachMove(benchmark::State& state) {
    const bool hard = state.range(0) == 1;
    const int threads = static_cast<int>(state.range(1));
    const TSearchOptions options = OptionsFor(threads);
    const auto& positions = hard ? HardSet() : Corpus();
    std::vector<TTimedSearch> searches;
    for (auto _ : state) {
        searches.clear();
        TRandom random(1);
        for (const TBenchPosition& entry : positions) {
            for (int draws = 0; draws < (hard ? 8 : 1); ++draws) {
                TGameState game = GameAt(entry.position);
                const TSearchDraws pair = hard ? TSearchDraws{static_cast<std::uint8_t>(draws / 4),
                                                              static_cast<std::uint8_t>(draws % 4)}
                                               : TSearchDraws::Take(random);
                const auto start = std::chrono::steady_clock::now();
                FindMove(game, pair, TSearchType::LookAhead, options);
                const std::chrono::duration<double, std::milli> ms =
                    std::chrono::steady_clock::now() - start;
                benchmark::DoNotOptimize(game.MoveColumn);
                searches.push_back(
                    {CountDiscs(entry.position.board).Total(), ms.count(),
                     (hard ? entry.kind + ' ' : std::string()) + FormatPosition(entry.position)});
            }
        }
    }
    std::vector<double> ms;
    for (const TTimedSearch& search : searches)
        ms.push_back(search.ms);
    const auto slowest = std::max_element(searches.begin(), searches.end(),
                                          [](const auto& a, const auto& b) { return a.ms < b.ms; });
    state.counters["median_ms"] = Percentile(ms, 50);
    state.counters["p90_ms"] = Percentile(ms, 90);
    state.counters["slowest_ms"] = slowest->ms;
    state.SetLabel(std::string(hard ? "hard set" : "corpus") + ", slowest: " + slowest->what);
    std::string byKind;
    for (const char* kind : {"reachable", "constructed"}) {
        std::vector<double> kindMs;
        for (const TTimedSearch& search : searches)
            if (search.what.starts_with(kind)) kindMs.push_back(search.ms);
        if (kindMs.empty()) continue;
        char row[128];
        std::snprintf(
            row, sizeof row, "  %s: %zu searches, median %.3f ms, p90 %.2f, slowest %.2f\n", kind,
            kindMs.size(), Percentile(kindMs, 50), Percentile(kindMs, 90), Percentile(kindMs, 100));
        byKind += row;
    }
    std::string title =
        std::string("high strength, ") + (hard ? "hard set (8 draws each)" : "corpus") + ", " +
        (threads == 0 ? std::string("serial") : std::to_string(threads) + " thread(s)") +
        ", wall time:";
    if (!byKind.empty()) {
        title += '\n';
        title.append(byKind, 0, byKind.size() - 1);
    }
    Tables().push_back(TableByDiscs(title, searches));
}
// Serial, then 1, 2 and the machine's thread count (at most 8).
void EachMoveArgs(benchmark::internal::Benchmark* b) {
    const int machine = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                                   TSearchPool::kMostThreads);
    std::vector<int> threads = {0, 1, 2};
    if (machine > 2) threads.push_back(machine);
    for (int hard : {0, 1})
        for (int count : threads)
            b->Args({hard, count});
}
BENCHMARK(BM_LookAheadEachMove)
    ->ArgNames({"hard", "threads"})
    ->Apply(EachMoveArgs)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// How soon a cancelled search returns: each position of the hard set is
// searched on another thread with the machine's threads and cancelled 5 ms
// in; the figures are the times from the cancel to the search's return.
void BM_CancelLatency(benchmark::State& state) {
    const int machine = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                                   TSearchPool::kMostThreads);
    TSearchOptions options = OptionsFor(machine);
    std::vector<double> ms;
    for (auto _ : state) {
        for (const TBenchPosition& entry : HardSet()) {
            std::atomic<bool> cancel{false};
            options.Cancel = &cancel;
            std::atomic<bool> running{false};
            std::chrono::steady_clock::time_point returned;
            std::thread searcher([&] {
                TGameState game = GameAt(entry.position);
                running = true;
                FindMove(game, TSearchDraws{}, TSearchType::LookAhead, options);
                returned = std::chrono::steady_clock::now();
            });
            while (!running)
                std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            const auto cancelled = std::chrono::steady_clock::now();
            cancel = true;
            searcher.join();
            ms.push_back(std::chrono::duration<double, std::milli>(returned - cancelled).count());
        }
    }
    state.counters["median_ms"] = Percentile(ms, 50);
    state.counters["slowest_ms"] = Percentile(ms, 100);
}
BENCHMARK(BM_CancelLatency)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& table : Tables())
        std::printf("\n%s", table.c_str());
    return 0;
}
