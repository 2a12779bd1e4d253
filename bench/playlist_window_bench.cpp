// The playlist window on a list of 10 000 entries: the sort by each key
// (from the same shuffled order every time) and the repaint of the list and
// of the whole window, in one scrolling column and in automatic columns.
// Offscreen; run by hand.
#include "music/music_engine.h"
#include "music/playlist_edit.h"
#include "musicui/musicform.h"
#include "musicui/playlist_box.h"

#include "support/quiet_engine_host.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <memory>
#include <random>

namespace {

using namespace dorvane;

constexpr int kEntries = 10000;

std::vector<FList> Entries() {
    std::mt19937 random(7);
    std::vector<FList> entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        FList entry;
        const int artist = int(random() % 300);
        entry.S1 = QStringLiteral("Artist %1 - Track title number %2").arg(artist).arg(i);
        entry.S2 = QStringLiteral("/home/user/Music/Artist %1/%2 - Track title number %3.mp3")
                       .arg(artist)
                       .arg(i % 20, 2, 10, QLatin1Char('0'))
                       .arg(i);
        entry.Ext = i % 3 ? QStringLiteral(".mp3") : QStringLiteral(".flac");
        entry.Size = qint64(random() % 4000) * 1024; // many equal sizes: the tie-break works
        entry.Time = random();
        entries.push_back(std::move(entry));
    }
    std::shuffle(entries.begin(), entries.end(), random);
    return entries;
}

void Sort(benchmark::State& state) {
    static const std::vector<FList> entries = Entries();
    const auto key = TSortKey(state.range(0));
    const bool descending = state.range(1) != 0;
    TPlaylist playlist;
    for (auto _ : state) {
        state.PauseTiming();
        playlist.Clear();
        playlist.Append(entries);
        state.ResumeTiming();
        benchmark::DoNotOptimize(SortRows(playlist, key, descending, 5000));
    }
    state.SetLabel(descending ? "descending" : "ascending");
}
BENCHMARK(Sort)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})
    ->ArgNames({"key", "desc"})
    ->Unit(benchmark::kMillisecond);

using test::TQuietHost;

// state.range(0): the column choice; range(1): 1 the whole window, 0 the list.
void Repaint(benchmark::State& state) {
    TQuietHost host;
    TMusicEngine engine(host, TPlaybackBackends{}, TMusicStart{});
    engine.Playlist().Append(Entries());
    TMusicFormParts parts;
    parts.engine = &engine;
    parts.gameWindow = QRect(0, 0, 640, 800);
    parts.workArea = QRect(0, 0, 1920, 1080);
    {
        TMusicForm form(std::move(parts));
        form.SetColumnChoice(int(state.range(0)));
        form.show();
        form.List()->SetCurrentRow(5000);
        QWidget* target = state.range(1) ? static_cast<QWidget*>(&form) : form.List()->viewport();
        QImage image(target->size(), QImage::Format_RGB32);
        for (auto _ : state) {
            target->render(&image);
            benchmark::DoNotOptimize(image.constBits());
        }
        state.counters["columns"] = form.List()->Columns();
        state.counters["rows_per_column"] =
            form.List()->viewport()->height() / std::max(form.List()->RowHeight(), 1);
    }
    engine.Shutdown();
}
BENCHMARK(Repaint)
    ->ArgsProduct({{0, -1}, {0, 1}})
    ->ArgNames({"columns", "window"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
