// The CPU one track costs on the stream path, against ffplay on the same
// file: the FFmpeg decoder, the feed and the SDL output play it to its end
// with the playback worker's rhythm (a step every 100 ms, the end checked
// every 10 ms once it is near), then ffplay -nodisp -autoexit plays it as a
// child. Both run with SDL_AUDIODRIVER=dummy unless the caller set a driver,
// so both play in real time. One run of a minute is the measurement, so this
// is a plain program rather than a Google Benchmark one.
//
//   bench_stream_cpu [file]   (without a file: a 60 s 44.1 kHz stereo MP3
//                              made with ffmpeg in a temporary folder)
#include "music/backends/ffmpeg_decoder.h"
#include "music/backends/sdl_loop_output.h"
#include "music/stream_feed.h"
#include "support/feed_rhythm.h"

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

void Report(const char* who, const TCost& cost) {
    if (!cost.ok) {
        std::printf("%-12s failed\n", who);
        return;
    }
    std::printf("%-12s cpu %8.1f ms  wall %8.1f ms  %5.2f %% of one core\n", who, cost.cpuMs,
                cost.wallMs, 100.0 * cost.cpuMs / cost.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::filesystem::path folder;
    std::string file;
    if (argc > 1) {
        file = argv[1];
    } else {
        std::string pattern = (std::filesystem::temp_directory_path() / "dorvane-cpu-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) return 1;
        folder = pattern;
        file = (folder / "sine.mp3").string();
        const TCost made = RunChild({"ffmpeg", "-v", "error", "-f", "lavfi", "-i",
                                     "sine=frequency=440:duration=60", "-ac", "2", "-ar", "44100",
                                     "-b:a", "192k", file});
        if (!made.ok) {
            std::fprintf(stderr, "ffmpeg could not make the test file\n");
            return 1;
        }
    }
    std::printf("%s\n", file.c_str());
    Report("stream path", PlayOnTheStreamPath(file));
    Report("ffplay", RunChild({"ffplay", "-v", "quiet", "-nodisp", "-autoexit", file}));
    if (!folder.empty()) std::filesystem::remove_all(folder);
    return 0;
}
