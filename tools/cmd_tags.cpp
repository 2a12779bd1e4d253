// dorvane-tool tags FILE...: what the tag readers find in sound files, as a
// JSON array with one object per file, in the order given.
#include "tool_commands.h"

#include "core/file_name.h"
#include "music/mp3_info.h"
#include "music/wma_info.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace dorvane::tool {

namespace {

std::string JsonString(const QString& text) {
    std::string out = "\"";
    for (const char c : text.toStdString()) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The keys of one object, in the order they were added.
class TJsonObject {
public:
    void text(const char* key, const QString& value) {
        if (!value.isEmpty()) add(key, JsonString(value));
    }
    void number(const char* key, unsigned long long value) { add(key, std::to_string(value)); }
    void boolean(const char* key, bool value) { add(key, value ? "true" : "false"); }
    std::string str() const { return "{" + body_ + "}"; }

private:
    void add(const char* key, const std::string& value) {
        if (!body_.empty()) body_ += ", ";
        body_.append(1, '"').append(key).append("\": ").append(value);
    }
    std::string body_;
};

// The tag query's rule: a version 2 field when it has one, else version 1.
QString Either(const QString& v2, const QString& v1) {
    return v2.isEmpty() ? v1 : v2;
}

const char* StatusError(TTagFileStatus status) {
    switch (status) {
    case TTagFileStatus::Read:
        return nullptr;
    case TTagFileStatus::OtherType:
        return "not an .mp3 or .wma file";
    case TTagFileStatus::Missing:
        return "no such file";
    case TTagFileStatus::NotRegular:
        return "not a regular file";
    case TTagFileStatus::Unreadable:
        break;
    }
    return "cannot read";
}

// Fills object with what the readers found; the error when they found
// nothing they could use.
const char* Describe(const QString& path, TJsonObject& object) {
    TID3v2Info v2;
    if (path.endsWith(u".wma", Qt::CaseInsensitive)) {
        AsfInfo asf;
        if (const char* error = StatusError(ReadWmaInfo(path, v2, kDetailEverything, &asf)))
            return error;
        if (!v2.Ok) return "no ASF header";
        for (const auto& [key, value] : {std::pair{"title", &v2.Titel},
                                         {"artist", &v2.Artist},
                                         {"album", &v2.Album},
                                         {"year", &v2.Year},
                                         {"track", &v2.Track},
                                         {"genre", &v2.Genre}})
            object.text(key, *value);
        if (asf.MaxBitRate > 0 && asf.AvgBytesPerSec > 0) object.number("seconds", asf.Duration);
        // In 64 bits: a hostile header's byte rate times 8 passes 32.
        if (asf.AvgBytesPerSec > 0)
            object.number("bitrate", (std::uint64_t(asf.AvgBytesPerSec) * 8 + 500) / 1000);
        return nullptr;
    }
    TID3v1Info v1;
    MpegInfo mpeg;
    if (const char* error = StatusError(ReadMp3Info(path, v1, v2, &mpeg, kDetailEverything)))
        return error;
    if (!v1.Ok && !v2.Ok && !mpeg.Found) return "no tag and no MPEG audio frame";
    object.text("title", Either(v2.Titel, v1.Titel));
    object.text("artist", Either(v2.Artist, v1.Artist));
    object.text("album", Either(v2.Album, v1.Album));
    object.text("year", Either(v2.Year, v1.Year));
    object.text("track", Either(v2.Track, v1.Track));
    object.text("genre", Either(v2.Genre, v1.Genre));
    if (mpeg.Found) {
        object.number("seconds", mpeg.Duration);
        if (mpeg.BitRate > 0) object.number("bitrate", unsigned(mpeg.BitRate));
        if (mpeg.FrameCount > 0) object.number("frames", mpeg.FrameCount);
        object.boolean("vbr", mpeg.Xing || mpeg.Vbri);
    }
    return nullptr;
}

} // namespace

int RunTags(Args args) {
    if (args.empty()) return Usage("tags needs files: tags FILE...");
    bool failed = false;
    std::string out = "[";
    for (std::size_t k = 0; k < args.size(); ++k) {
        const QString path =
            FileNameFromBytes(QByteArray(args[k].data(), qsizetype(args[k].size())));
        const QString shown = DisplayFileName(path);
        TJsonObject object;
        object.text("path", shown);
        if (const char* error = Describe(path, object)) {
            // Only the reason: nothing half-read.
            object = TJsonObject();
            object.text("path", shown);
            object.text("error", QString::fromUtf8(error));
            failed = true;
        }
        out += (k ? ",\n  " : "\n  ") + object.str();
    }
    out += "\n]\n";
    std::fputs(out.c_str(), stdout);
    return failed ? 2 : 0;
}

} // namespace dorvane::tool
