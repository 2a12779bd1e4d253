// The settings store reads the whole file on every read and rewrites it on
// every write, so that another running copy is never out of step. These
// figures say what that costs with a file of realistic size: the game
// window's values, ten recent files, the custom scheme, and a 30-item list.
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
void BM_ReadGameSettings(benchmark::State& state) {
    TFilledStore filled;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadGameSettings(filled.store, {true}));
        benchmark::DoNotOptimize(ShellSettingsSchema().Read(filled.store, {true}));
        benchmark::DoNotOptimize(MusicSettingsSchema().Read(filled.store, kMusic));
        TRecentFiles recent;
        recent.Read(filled.store);
    }
}
BENCHMARK(BM_ReadGameSettings)->Unit(benchmark::kMillisecond);

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
