// The silence between two tracks: the engine on the system's services plays a
// one-second track and then a longer one (whose first feed decodes the whole
// 12 s buffer), and the time from the first track's stop to the second one's
// start is the iteration time. The stop comes at most 20 ms before the last
// audible sample, so the true gap is at most this figure; SDL adds up to one
// device period (1024 frames, 23 ms at 44.1 kHz) before the first sample is
// heard. Run with SDL_AUDIODRIVER=dummy on a machine without a card.
#include "music/backends/sdl_loop_output.h"
#include "music/backends/system_backends.h"
#include "music/music_engine.h"
#include "music/music_loader.h"

#include "support/quiet_engine_host.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

namespace dorvane {
namespace {

using TSteady = std::chrono::steady_clock;

// The system output, with the times of its stops and starts noted.
class TTimedOutput final : public ILoopOutput {
public:
    explicit TTimedOutput(std::unique_ptr<ILoopOutput> inner) : inner_(std::move(inner)) {}
    std::atomic<int> plays{0};
    TSteady::time_point lastStop, lastPlay;

    bool Create(const TPcmFormat& f, std::size_t n) override { return inner_->Create(f, n); }
    void Release() override { inner_->Release(); }
    void Write(std::size_t o, const std::uint8_t* d, std::size_t n) override {
        inner_->Write(o, d, n);
    }
    std::size_t PlayCursor() const override { return inner_->PlayCursor(); }
    void SetPlayCursor(std::size_t o) override { inner_->SetPlayCursor(o); }
    int Frequency() const override { return inner_->Frequency(); }
    void SetFrequency(int hz) override { inner_->SetFrequency(hz); }
    void SetVolume(double g) override { inner_->SetVolume(g); }
    void Play() override {
        if (!inner_->Playing()) {
            lastPlay = TSteady::now();
            ++plays;
        }
        inner_->Play();
    }
    void Stop() override {
        if (inner_->Playing()) lastStop = TSteady::now();
        inner_->Stop();
    }
    bool Playing() const override { return inner_->Playing(); }

private:
    std::unique_ptr<ILoopOutput> inner_;
};

using test::TQuietHost;

void BM_TrackGap(benchmark::State& state, const char* next) {
    for (auto _ : state) {
        TPlaybackBackends backends = MakeSystemPlaybackBackends();
        auto timed = std::make_unique<TTimedOutput>(std::move(backends.output));
        TTimedOutput* output = timed.get();
        backends.output = std::move(timed);
        TQuietHost host;
        TMusicStart start;
        start.randomOn = false;
        TMusicEngine engine(host, std::move(backends), start);
        engine.Start();
        engine.Playlist().Append(FileEntry(QStringLiteral(DORVANE_FIRST_TRACK)));
        engine.Playlist().Append(FileEntry(QString::fromUtf8(next)));
        engine.PlayChosen(0);
        QElapsedTimer limit;
        limit.start();
        while (output->plays.load() < 2 && limit.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            QThread::usleep(500);
        }
        if (output->plays.load() < 2) {
            state.SkipWithError("the second track never started");
            break;
        }
        const std::chrono::duration<double> gap = output->lastPlay - output->lastStop;
        state.SetIterationTime(gap.count());
        engine.Shutdown();
    }
}

BENCHMARK_CAPTURE(BM_TrackGap, then_mp3, DORVANE_NEXT_MP3)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TrackGap, then_flac, DORVANE_NEXT_FLAC)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace dorvane

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
