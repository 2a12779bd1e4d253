// dorvane-tool playlist [--subfolders] FILE: the entries the music player
// makes of a playlist file or a folder, in order, as JSON.
#include "tool_commands.h"

#include "core/file_name.h"
#include "music/file_lookup.h"
#include "music/music_loader.h"
#include "music/music_masks.h"
#include "music/playlist_formats.h"
#include "music/text_lines.h"

#include <QByteArray>
#include <QFileInfo>

#include <cstdio>
#include <string>

namespace dorvane::tool {

namespace {

std::string JsonString(const QString& text) {
    const QByteArray utf8 = DisplayFileName(text).toUtf8();
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string EntriesJson(const std::vector<FList>& entries) {
    if (entries.empty()) return "[]\n";
    std::string out = "[\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FList& e = entries[i];
        out += "  {\"title\": " + JsonString(e.S1) + ", \"path\": " + JsonString(e.S2) +
               ", \"length\": " + JsonString(e.S3) + ", \"size\": " + std::to_string(e.Size) + "}";
        out += i + 1 < entries.size() ? ",\n" : "\n";
    }
    return out + "]\n";
}

} // namespace

int RunPlaylist(Args args) {
    bool subfolders = false;
    if (!args.empty() && args[0] == "--subfolders") {
        subfolders = true;
        args = args.subspan(1);
    }
    if (args.size() != 1) return Usage("playlist: usage: playlist [--subfolders] FILE");
    const QString item =
        FileNameFromBytes(QByteArray(args[0].data(), static_cast<qsizetype>(args[0].size())));
    const std::string shown(args[0]);
    std::vector<FList> entries;
    if (IsExistingFolder(item)) {
        entries = CollectSourceEntries(item, {subfolders, QString()});
    } else {
        TTextLineReader lines = LookUpFile(QFileInfo(item).absoluteFilePath())
                                    ? TTextLineReader::OpenFile(item)
                                    : TTextLineReader(QByteArrayView());
        if (!lines.ok()) return Usage("playlist: cannot read " + shown);
        entries = ParsePlaylist(lines, ExtensionOf(item), ContextForList(item)).entries;
    }
    std::fputs(EntriesJson(entries).c_str(), stdout);
    return 0;
}

} // namespace dorvane::tool
