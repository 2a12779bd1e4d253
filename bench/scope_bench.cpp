// The visualiser's time per frame in each style, over a sequence of 64
// snapshots made the way the stream feed makes them from a two-channel tone
// sweep (100 ms of 44.1 kHz audio per snapshot), and the full-screen frame:
// the style plus the stretch to 1920 x 960.
#include "musicui/scope_picture.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include <cmath>
#include <numbers>
#include <vector>

using namespace dorvane;

namespace {

const std::vector<TWaveSnapshot>& Sweep() {
    static const std::vector<TWaveSnapshot> frames = [] {
        std::vector<TWaveSnapshot> out(64);
        constexpr int kRate = 44100, kPerColumn = kRate * 100 / 639000;
        double phase[2] = {0, 0};
        for (std::size_t f = 0; f < out.size(); ++f) {
            TWaveSnapshot& s = out[f];
            s.fill(128);
            for (int j = 0; j < kSnapshotColumns; ++j) {
                for (int c = 0; c < 2; ++c) {
                    const double hz =
                        110.0 * std::pow(2.0, (double(f) + j / 640.0) / 12.0) * (1 + c);
                    const double loud = 0.3 + 0.6 * std::abs(std::sin(double(f) / 5.0 + c));
                    int high = 0, low = 255;
                    for (int k = 0; k < kPerColumn; ++k) {
                        phase[c] += 2 * std::numbers::pi * hz / kRate;
                        const int v = 128 + int(127 * loud * std::sin(phase[c]));
                        high = std::max(high, v);
                        low = std::min(low, v);
                    }
                    s[std::size_t(4 + 4 * j + 2 * c)] = std::uint8_t(high);
                    s[std::size_t(5 + 4 * j + 2 * c)] = std::uint8_t(low);
                }
            }
        }
        return out;
    }();
    return frames;
}

void Frame(benchmark::State& state) {
    TScopePicture picture(1, int(state.range(0)));
    const auto& frames = Sweep();
    std::size_t i = 0;
    for (auto _ : state) {
        picture.DrawFrame(frames[i++ % frames.size()]);
        benchmark::DoNotOptimize(picture.Picture().constBits());
    }
    state.SetLabel(ScopeCaption(int(state.range(0))).toStdString());
}
BENCHMARK(Frame)->DenseRange(0, kScopeStyles - 1)->Unit(benchmark::kMillisecond);

// The window's full-screen paint: the picture stretched to the screen width
// with height = width / 2, onto a screen-sized surface.
void FullScreenFrame(benchmark::State& state) {
    TScopePicture picture(1, int(state.range(0)));
    QImage screen(1920, 1080, QImage::Format_RGB32);
    const auto& frames = Sweep();
    std::size_t i = 0;
    for (auto _ : state) {
        picture.DrawFrame(frames[i++ % frames.size()]);
        QPainter painter(&screen);
        painter.drawImage(QRect(0, (1080 - 960) / 2, 1920, 960), picture.Picture());
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.SetLabel(ScopeCaption(int(state.range(0))).toStdString());
}
BENCHMARK(FullScreenFrame)->DenseRange(0, kScopeStyles - 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the painter
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
