// Playlist files come from anywhere. The first byte picks the list's type,
// the rest are the file's bytes; the file system is a stand-in that calls a
// fixed share of names existing files. Whatever the bytes, the reader ends,
// and every entry is a file the stand-in said exists, with a clean path and
// a title of a caption's length.
#include "music/playlist_formats.h"
#include "music/text_lines.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

std::uint32_t Fnv(const QString& text) {
    std::uint32_t hash = 2166136261u;
    for (const QChar c : text)
        hash = (hash ^ c.unicode()) * 16777619u;
    return hash;
}

bool Exists(const QString& path) {
    return path.startsWith(QLatin1Char('/')) &&
           (path.endsWith(QLatin1String("a.mp3")) || Fnv(path) % 5 == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    if (size == 0) return 0;
    static const std::array<const char*, 8> kExtensions = {".m3u", ".m3u8", ".pls", ".kpl",
                                                           ".wpl", ".asx",  ".plc", ".lst"};
    const QString extension = QString::fromLatin1(kExtensions[data[0] % kExtensions.size()]);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    TListContext context;
    context.currentFolder = QStringLiteral("/cwd");
    context.listFolder = QStringLiteral("/media/stick/lists");
    context.driveRoot = QStringLiteral("/media/stick");
    context.lookup = [](const QString& path) -> std::optional<TFoundFile> {
        if (!Exists(path)) return std::nullopt;
        return TFoundFile{path, path.size(), 1};
    };
    const std::optional<std::vector<FList>> entries = DecodePlaylist(bytes, extension, context);
    if (!entries) return 0;
    if (entries->size() > kMaxListEntries) std::abort();
    for (const FList& entry : *entries) {
        if (!Exists(entry.S2) || entry.Size != entry.S2.size() || entry.S2.contains(QChar(0)))
            std::abort();
        if (entry.S1.size() > kMaxTitleLength || entry.S3.size() > kMaxTitleLength ||
            entry.S2.startsWith(QLatin1String("/../")))
            std::abort();
        if (extension == QLatin1String(".lst") && !entry.S2.endsWith(entry.Ext)) std::abort();
    }
    return 0;
}
