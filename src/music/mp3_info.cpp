#include "music/mp3_info.h"

#include "music/id3_tags.h"
#include "music/mpeg_header.h"
#include "music/tag_file.h"

namespace dorvane {

void ReadMp3Info(TTagSource& source, TID3v1Info& v1, TID3v2Info& v2, MpegInfo* mpeg,
                 TagDetail detail) {
    v1 = {};
    v2 = {};
    if (mpeg) *mpeg = {};
    const std::uint32_t v2Size = ReadID3v2(source, v2, detail);
    const bool hasV1 = ReadID3v1(source, v1, detail);
    if (!mpeg) return;
    mpeg->FileSize = source.size();
    mpeg->ID3v2Size = v2Size;
    mpeg->ID3v1Size = hasV1 ? 128 : 0;
    ReadMpegStream(source, *mpeg);
}

TTagFileStatus ReadMp3Info(const QString& path, TID3v1Info& v1, TID3v2Info& v2, MpegInfo* mpeg,
                           TagDetail detail) {
    v1 = {};
    v2 = {};
    if (mpeg) *mpeg = {};
    TTagFile file = OpenTagFile(path, u".mp3");
    if (file.source) ReadMp3Info(*file.source, v1, v2, mpeg, detail);
    return file.status;
}

} // namespace dorvane
