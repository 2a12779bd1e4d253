// The settings store reads the whole file for every read outside a run of
// reads and rewrites it on every write, so that another running copy is
// never out of step. These figures say what that costs with a file of
// realistic size (the game window's values, ten recent files, the custom
// scheme, a 30-item list) and with hostile ones near the 4 MiB limit.
#include "core/shell_settings.h"
#include "music/music_settings.h"
#include "play/game_settings.h"
#include "play/recent_files.h"
#include "play/saved_game_file.h"
#include "shell/settings_store.h"
#include "shell/settings_text.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace dorvane;

const TMusicContext kMusic{"/usr/share/dorvane/Sound", "/home/player"};

// The window's exit: its values, the shell's, the recent games, the music's.
void WriteExit(SettingsAccess& store, const TGameSettings& settings, const TRecentFiles& recent) {
    const TSettingsBatch batch(store);
    WriteGameSettingsAtExit(store, settings);
    ShellSettingsSchema().WriteAtExit(store, ShellSettingsSchema().Defaults());
    recent.Write(store);
    MusicSettingsSchema().WriteAtExit(store, MusicSettingsSchema().Defaults(kMusic));
}

struct TFilledStore {
    QTemporaryDir dir;
    SettingsStore store{dir.filePath("Kvo/Dorvane.conf")};

    TFilledStore() {
        store.SetStoreKeyPath("SOFTWARE\\Kvo\\Dorvane");
        TGameSettings settings = DefaultGameSettings();
        TRecentFiles recent;
        for (int i = 1; i <= 10; ++i)
            recent.Add(QString("/home/player/games/saved game %1.dvn").arg(i));
        for (int i = 0; i < 6; ++i)
            settings.Custom.Paths << QString("/home/player/pictures/figure %1.png").arg(i);
        WriteExit(store, settings, recent);
        WriteCustomScheme(store, settings.Custom);
        QStringList music;
        for (int i = 0; i < 30; ++i)
            music << QString("/home/player/Музыка/Альбом %1").arg(i);
        store.RegWriteList("Music", music, 0);
    }
};

void BM_ReadOneValue(benchmark::State& state) {
    TFilledStore filled;
    for (auto _ : state)
        benchmark::DoNotOptimize(filled.store.RegReadBool("ShowGrid", false));
    state.counters["file bytes"] = static_cast<double>(QFile(filled.store.FilePath()).size());
}
BENCHMARK(BM_ReadOneValue);

void BM_WriteOneValue(benchmark::State& state) {
    TFilledStore filled;
    int i = 0;
    for (auto _ : state)
        filled.store.RegWriteInteger("Left", ++i % 1000);
}
BENCHMARK(BM_WriteOneValue);

// Everything the game window reads at its creation.
void ReadEveryGroup(const SettingsAccess& store) {
    benchmark::DoNotOptimize(ReadGameSettings(store, {true}));
    benchmark::DoNotOptimize(ShellSettingsSchema().Read(store, {true}));
    benchmark::DoNotOptimize(MusicSettingsSchema().Read(store, kMusic));
    TRecentFiles recent;
    recent.Read(store);
}

// Each value read on its own: the file is read once per value.
void BM_ReadGameSettings(benchmark::State& state) {
    TFilledStore filled;
    for (auto _ : state)
        ReadEveryGroup(filled.store);
}
BENCHMARK(BM_ReadGameSettings)->Unit(benchmark::kMillisecond);

// As the window's creation does it: one run of reads, one reading of the file.
void BM_WindowCreationReads(benchmark::State& state) {
    TFilledStore filled;
    for (auto _ : state) {
        const TSettingsReads reads(filled.store);
        ReadEveryGroup(filled.store);
    }
}
BENCHMARK(BM_WindowCreationReads)->Unit(benchmark::kMillisecond);

// Everything the game window writes at its destruction.
void BM_WriteGameSettingsAtExit(benchmark::State& state) {
    TFilledStore filled;
    const TGameSettings settings = ReadGameSettings(filled.store, {true});
    TRecentFiles recent;
    recent.Read(filled.store);
    for (auto _ : state)
        WriteExit(filled.store, settings, recent);
}
BENCHMARK(BM_WriteGameSettingsAtExit)->Unit(benchmark::kMillisecond);

void BM_ParseSettingsText(benchmark::State& state) {
    TFilledStore filled;
    QFile file(filled.store.FilePath());
    file.open(QIODevice::ReadOnly);
    const QByteArray text = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseSettingsText(text, nullptr));
}
BENCHMARK(BM_ParseSettingsText);

// Large files that are still under the store's 4 MB limit: a hostile or
// runaway settings file must not stall the start.
QByteArray ManyKeys(int keys) {
    QByteArray text;
    for (int i = 0; i < keys; ++i)
        text += "SomeSetting" + QByteArray::number(i) + "=" + QByteArray::number(i * 7) + "\n";
    return text;
}

void BM_ParseManyKeys(benchmark::State& state) {
    const QByteArray text = ManyKeys(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseSettingsText(text, nullptr));
    state.counters["file bytes"] = double(text.size());
}
BENCHMARK(BM_ParseManyKeys)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The most values a file under the limit can hold: short distinct names.
void BM_ParseFullSizeFile(benchmark::State& state) {
    QByteArray text;
    for (int i = 0; text.size() < 4 * 1024 * 1024 - 32; ++i)
        text += "k" + QByteArray::number(i) + "=" + QByteArray::number(i % 10) + "\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseSettingsText(text, nullptr));
    state.counters["file bytes"] = double(text.size());
}
BENCHMARK(BM_ParseFullSizeFile)->Unit(benchmark::kMillisecond);

void BM_ParseOneLongLine(benchmark::State& state) {
    const QByteArray text = "Long=" + QByteArray(3 * 1024 * 1024, 'x') + "\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseSettingsText(text, nullptr));
}
BENCHMARK(BM_ParseOneLongLine)->Unit(benchmark::kMillisecond);

void BM_SaveAndReadGameFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("game.dvn");
    const TSavedGame game;
    for (auto _ : state) {
        WriteSavedGameFile(path, game);
        benchmark::DoNotOptimize(ReadSavedGameFile(path));
    }
}
BENCHMARK(BM_SaveAndReadGameFile);

} // namespace

BENCHMARK_MAIN();
