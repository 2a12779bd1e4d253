// .mp3 files come from anywhere. Whatever the bytes, the reader stays inside
// them, asks for no piece larger than a text frame's limit, and what it
// reports fits the file.
#include "checked_tag_source.h"
#include "music/id3_tags.h"
#include "music/mp3_info.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace dorvane;

void Check(TByteView data, TagDetail detail) {
    fuzz::TCheckedSource source(data, kMaxTextFrame);
    TID3v1Info v1;
    TID3v2Info v2;
    MpegInfo mpeg;
    ReadMp3Info(source, v1, v2, &mpeg, detail);
    const std::size_t size = data.size();
    if (mpeg.FileSize != size) std::abort();
    if (v1.Ok != (mpeg.ID3v1Size == 128) || (v1.Ok && size < 128)) std::abort();
    if (v2.Ok != (mpeg.ID3v2Size > 0)) std::abort();
    // Every character comes from at least one byte of the file.
    for (const QString* text : {&v2.Titel, &v2.Artist, &v2.Album, &v2.Comment, &v2.Verses})
        if (std::size_t(text->size()) > size) std::abort();
    if (mpeg.Found) {
        if (mpeg.FirstFrame + 4 > size || mpeg.FirstFrame < mpeg.ID3v2Size) std::abort();
        if (mpeg.Header[0] != 0xFF || (mpeg.Header[1] & 0xE0) != 0xE0) std::abort();
        if (mpeg.Layer < 0 || mpeg.Layer > 3 || mpeg.BitRate < -1) std::abort();
    } else if (mpeg.Duration != 0 || mpeg.BitRate != 0 || mpeg.Xing || mpeg.Vbri) {
        std::abort();
    }
    // Without the stream wanted the tags are the same.
    TID3v1Info v1Alone;
    TID3v2Info v2Alone;
    ReadMp3Info(source, v1Alone, v2Alone, nullptr, detail);
    if (v2Alone.Titel != v2.Titel || v2Alone.Artist != v2.Artist || v1Alone.Titel != v1.Titel)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TByteView bytes(data, size);
    Check(bytes, kDetailTitles);
    Check(bytes, kDetailEverything);
    return 0;
}
