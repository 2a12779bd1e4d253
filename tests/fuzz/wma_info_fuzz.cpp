// .wma files come from anywhere. Whatever the bytes, the reader stays inside
// them, walks at most the header's object count, and what it reports fits
// the file.
#include "checked_tag_source.h"
#include "music/wma_info.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace dorvane;

void Check(TByteView data, TagDetail detail) {
    // Every string and value of ASF has a 16-bit length.
    fuzz::TCheckedSource source(data, 0xFFFF);
    TID3v2Info tags;
    AsfInfo asf;
    ReadWmaInfo(source, tags, detail, &asf);
    const std::size_t size = data.size();
    // UTF-16: two bytes a character at the least.
    for (const QString* text :
         {&tags.Titel, &tags.Artist, &tags.Album, &tags.Comment, &tags.Verses})
        if (std::size_t(text->size()) * 2 > size) std::abort();
    if (asf.FileSize != 0 && asf.FileSize != size) std::abort();
    if (asf.Duration != 0 && asf.HeaderEnd > size) std::abort();
    // 65,535 objects of a few reads each, and 65,535 descriptors of five.
    if (source.requests > 2u * 6 * 65536) std::abort();

    TID3v2Info alone;
    ReadWmaInfo(source, alone, detail, nullptr);
    if (alone.Titel != tags.Titel || alone.Artist != tags.Artist) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TByteView bytes(data, size);
    Check(bytes, kDetailTitles);
    Check(bytes, kDetailEverything);
    return 0;
}
