// The CPU one track costs on the stream path, against ffplay on the same
// file: the FFmpeg decoder, the feed and the SDL output play it to its end
// with the playback worker's rhythm (a step every 100 ms, the end checked
// every 10 ms once it is near), then ffplay -nodisp -autoexit plays it as a
// child. Both run with SDL_AUDIODRIVER=dummy unless the caller set a driver,
// so both play in real time. One run of each, a minute long, is the
// measurement; its figure is the counter core_percent (CPU time over wall
// time, in % of one core).
//
//   bench_stream_cpu [benchmark flags] [file]   (without a file: a 60 s
//                    44.1 kHz stereo MP3 made with ffmpeg in a temporary folder)
#include "music/backends/ffmpeg_decoder.h"
#include "music/backends/sdl_loop_output.h"
#include "music/stream_feed.h"
#include "support/feed_rhythm.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace dorvane;
using TClock = std::chrono::steady_clock;

struct TCost {
    double cpuMs = 0;
    double wallMs = 0;
    bool ok = false;
};

double CpuMs(const rusage& usage) {
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double MsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// Runs argv to its end; its CPU time from wait4.
TCost RunChild(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    TCost cost;
    const auto start = TClock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return cost;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return cost;
    cost.wallMs = MsSince(start);
    cost.cpuMs = CpuMs(usage);
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return cost;
}

// The whole process (the worker here, SDL's audio thread) from open to end.
TCost PlayOnTheStreamPath(const std::string& path) {
    TCost cost;
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const auto start = TClock::now();

    TFfmpegDecoder decoder;
    TSdlLoopOutput output;
    TStreamFeed feed(decoder, output);
    if (!feed.Open(path)) return cost;
    feed.Start();
    // The worker's position poll with every step.
    test::PlayUntilStopped(
        feed, [&] { feed.Position(); }, std::chrono::hours(1));
    feed.Close();

    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    cost.wallMs = MsSince(start);
    cost.cpuMs = CpuMs(after) - CpuMs(before);
    cost.ok = true;
    return cost;
}

std::string gFile;

void Record(benchmark::State& state, const TCost& cost) {
    if (!cost.ok) {
        state.SkipWithError("the file did not play");
        return;
    }
    state.SetIterationTime(cost.wallMs / 1e3);
    state.counters["cpu_ms"] = cost.cpuMs;
    state.counters["core_percent"] = 100.0 * cost.cpuMs / cost.wallMs;
}

void BM_StreamPath(benchmark::State& state) {
    for (auto _ : state)
        Record(state, PlayOnTheStreamPath(gFile));
}
BENCHMARK(BM_StreamPath)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_Ffplay(benchmark::State& state) {
    for (auto _ : state)
        Record(state, RunChild({"ffplay", "-v", "quiet", "-nodisp", "-autoexit", gFile}));
}
BENCHMARK(BM_Ffplay)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    std::filesystem::path folder;
    if (argc > 1) {
        gFile = argv[1];
    } else {
        std::string pattern = (std::filesystem::temp_directory_path() / "dorvane-cpu-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) return 1;
        folder = pattern;
        gFile = (folder / "sine.mp3").string();
        const TCost made = RunChild({"ffmpeg", "-v", "error", "-f", "lavfi", "-i",
                                     "sine=frequency=440:duration=60", "-ac", "2", "-ar", "44100",
                                     "-b:a", "192k", gFile});
        if (!made.ok) {
            std::fprintf(stderr, "ffmpeg could not make the test file\n");
            return 1;
        }
    }
    std::printf("%s\n", gFile.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!folder.empty()) std::filesystem::remove_all(folder);
    return 0;
}
