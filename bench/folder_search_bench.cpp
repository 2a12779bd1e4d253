// The music folder search against find(1) on 50 000 files in 1 000 folders
// (four in five are sound files): the walk, the sort in the program's
// Russian collation, and the entries with their sizes and times. The tree is
// made once in a temporary folder; its folders are in the page cache after
// the first run, as they are for a player who opens the same music twice.
#include "music/folder_search.h"
#include "music/music_loader.h"
#include "music/music_masks.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <string>
#include <unistd.h>

namespace {

using namespace dorvane;

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 50;

struct TMusicTree {
    QTemporaryDir dir;
    int sounds = 0;

    TMusicTree() {
        static const char* kKinds[] = {".mp3", ".MP3", ".flac", ".wma", ".jpg"};
        for (int f = 0; f < kFolders; ++f) {
            const QString folder =
                dir.path() + QStringLiteral("/Артист %1/Альбом %2").arg(f / 10).arg(f % 10);
            QDir().mkpath(folder);
            for (int k = 0; k < kFilesPerFolder; ++k) {
                const char* kind = kKinds[k % 5];
                const QByteArray path =
                    QFile::encodeName(folder +
                                      QStringLiteral("/%1 Песня").arg(k, 2, 10, QChar(u'0'))) +
                    kind;
                ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0600));
                sounds += k % 5 != 4;
            }
        }
    }
};

TMusicTree& Tree() {
    static TMusicTree tree;
    return tree;
}

const QString kAudio = QString::fromLatin1(kAudioMasks);

void BM_FindMusicFiles(benchmark::State& state) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TMusicTree& tree = Tree();
    for (auto _ : state) {
        const QStringList found = FindMusicFiles(tree.dir.path(), kAudio, true, true);
        if (found.size() != tree.sounds) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(found.constData());
    }
    state.counters["files"] = tree.sounds;
}
BENCHMARK(BM_FindMusicFiles)->Unit(benchmark::kMillisecond);

void BM_SortForUser(benchmark::State& state) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QStringList found = FindMusicFiles(Tree().dir.path(), kAudio, true, true);
    for (auto _ : state) {
        QStringList copy = found;
        SortPathsForUser(copy);
        benchmark::DoNotOptimize(copy.constData());
    }
}
BENCHMARK(BM_SortForUser)->Unit(benchmark::kMillisecond);

// What the loader makes of the folder: the search and one stat per file.
void BM_CollectFolderEntries(benchmark::State& state) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TMusicTree& tree = Tree();
    for (auto _ : state) {
        const std::vector<FList> entries = CollectSourceEntries(tree.dir.path(), {true, QString()});
        if (int(entries.size()) != tree.sounds) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(entries.data());
    }
}
BENCHMARK(BM_CollectFolderEntries)->Unit(benchmark::kMillisecond);

double ChildrenCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The shell's own CPU time goes into "cpu_ms", the time the children (find,
// sort) spent working, per run: on a loaded machine the wall time says little.
void RunShell(benchmark::State& state, const std::string& command, int expected) {
    const double before = ChildrenCpuMs();
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        int lines = 0;
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe))
            lines += buffer[std::strlen(buffer) - 1] == '\n';
        ::pclose(pipe);
        if (lines != expected) state.SkipWithError("wrong count");
    }
    state.counters["cpu_ms"] = (ChildrenCpuMs() - before) / double(state.iterations());
}

const std::string kFindMasks = "\\( -iname '*.ac3' -o -iname '*.ape' -o -iname '*.flac' -o "
                               "-iname '*.m4a' -o -iname '*.mid' -o -iname '*.midi' -o "
                               "-iname '*.mp3' -o -iname '*.rmi' -o -iname '*.wav' -o "
                               "-iname '*.wma' \\)";

void BM_Find(benchmark::State& state) {
    TMusicTree& tree = Tree();
    RunShell(state, "find '" + tree.dir.path().toStdString() + "' -type f " + kFindMasks,
             tree.sounds);
}
BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond);

void BM_FindSorted(benchmark::State& state) {
    TMusicTree& tree = Tree();
    RunShell(state,
             "find '" + tree.dir.path().toStdString() + "' -type f " + kFindMasks +
                 " | LC_ALL=C.UTF-8 sort -f",
             tree.sounds);
}
BENCHMARK(BM_FindSorted)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
