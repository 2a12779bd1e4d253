// Background photos: what scale-on-decode saves. A 4000 x 3000 photo is
// decoded at full size and at the smallest scale that still covers the
// 445 x 445 board area; the counters give the decoded picture's size.
#include "view/jpegdecoder.h"
#include "view/pictureloader.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>

namespace {

const QByteArray& Photo() {
    static const QByteArray bytes = [] {
        QImage image(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb((x * 7 + y) & 255, (y * 3) & 255, (x ^ y) & 255);
        }
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(85);
        writer.write(image);
        return out;
    }();
    return bytes;
}

void Decode(benchmark::State& state, QSize cover) {
    const QByteArray& bytes = Photo();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    QImage image;
    for (auto _ : state) {
        image = dorvane::DecodeJpeg(data, std::size_t(bytes.size()), cover);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = image.width();
    state.counters["height"] = image.height();
    state.counters["MB"] = double(image.sizeInBytes()) / (1024.0 * 1024.0);
}

void BM_JpegScaledToBoard(benchmark::State& state) {
    Decode(state, dorvane::kBackgroundCover);
}
void BM_JpegFullSize(benchmark::State& state) {
    Decode(state, QSize());
}

// Qt's own reader at full size, for comparison.
void BM_JpegQtReader(benchmark::State& state) {
    QImage image;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(Photo());
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "jpeg");
        image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["MB"] = double(image.sizeInBytes()) / (1024.0 * 1024.0);
}

BENCHMARK(BM_JpegScaledToBoard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegFullSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegQtReader)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
