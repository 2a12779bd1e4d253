// Title and artist of 1000 .mp3 files, the way the player asks for them when
// it opens an entry without a length (TagDetail 2), against TagLib on the
// same files. The files are generated: an ID3v2.3 tag with the usual text
// frames, a comment and padding, 8 KiB of frames, an ID3v1 tag; in the
// second set the tag also holds a 40 KiB cover picture after the texts, as
// many real files do. The page cache holds them all: this measures the
// readers, not the disk.
#include "music/mp3_info.h"
#include "support/tag_builder.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef DORVANE_HAVE_TAGLIB
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#endif

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dorvane;
using namespace dorvane::test;

constexpr int kFiles = 1000;

Bytes TrackFile(int k, std::size_t pictureBytes) {
    const std::string n = std::to_string(k);
    Bytes frames =
        Cat({TextFrame("TIT2", "Title number " + n), TextFrame("TPE1", "Artist " + n),
             TextFrame("TALB", "Album " + std::to_string(k / 10)), TextFrame("TYER", "2024"),
             TextFrame("TRCK", std::to_string(k % 10 + 1)), TextFrame("TCON", "(17)"),
             Id3Frame("COMM", Cat({{0}, Of("eng"), {0}, Of("A comment of some length")}))});
    if (pictureBytes > 0)
        frames = Cat(
            {frames,
             Id3Frame("APIC",
                      Cat({{0}, Of("image/jpeg"), {0, 3, 0}, {0xFF, 0xD8}, Zeros(pictureBytes)}))});
    return Cat({Id3Tag(frames, 1024), Mp3Frames(20),
                Id3v1Tag({"Title number " + n, "Artist " + n, "Album", "2024", "", 1, 17})});
}

// The 1000 files, written once per set.
class TFileSet {
public:
    explicit TFileSet(std::size_t pictureBytes) {
        for (int k = 0; k < kFiles; ++k) {
            const QString path = dir_.filePath(QStringLiteral("track%1.mp3").arg(k));
            QFile file(path);
            const Bytes bytes = TrackFile(k, pictureBytes);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) !=
                    qint64(bytes.size()))
                std::abort();
            paths_.push_back(path);
            nativePaths_.push_back(QFile::encodeName(path).toStdString());
        }
    }
    const std::vector<QString>& paths() const { return paths_; }
    const std::vector<std::string>& nativePaths() const { return nativePaths_; }

private:
    QTemporaryDir dir_;
    std::vector<QString> paths_;
    std::vector<std::string> nativePaths_;
};

const TFileSet& Files(std::size_t pictureBytes) {
    static const TFileSet plain(0);
    static const TFileSet withPicture(40 * 1024);
    return pictureBytes == 0 ? plain : withPicture;
}

void BM_ReadMp3Info(benchmark::State& state) {
    const TFileSet& files = Files(std::size_t(state.range(0)));
    for (auto _ : state) {
        for (const QString& path : files.paths()) {
            TID3v1Info v1;
            TID3v2Info v2;
            ReadMp3Info(path, v1, v2, nullptr, kDetailTitles);
            if (v2.Titel.isEmpty() || v2.Artist.isEmpty()) state.SkipWithError("no title");
            benchmark::DoNotOptimize(v2.Titel.constData());
            benchmark::DoNotOptimize(v2.Artist.constData());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ReadMp3Info)->Arg(0)->Arg(40 * 1024)->Unit(benchmark::kMillisecond);

#ifdef DORVANE_HAVE_TAGLIB
// TagLib's MPEG reader without the audio properties: its least work for
// the same two texts.
void BM_TagLib(benchmark::State& state) {
    const TFileSet& files = Files(std::size_t(state.range(0)));
    for (auto _ : state) {
        for (const std::string& path : files.nativePaths()) {
            TagLib::MPEG::File file(path.c_str(), false);
            const TagLib::Tag* tag = file.tag();
            if (!tag) {
                state.SkipWithError("no tag");
                break;
            }
            const TagLib::String title = tag->title();
            const TagLib::String artist = tag->artist();
            if (title.isEmpty() || artist.isEmpty()) state.SkipWithError("no title");
            benchmark::DoNotOptimize(title.toCWString());
            benchmark::DoNotOptimize(artist.toCWString());
        }
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_TagLib)->Arg(0)->Arg(40 * 1024)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
