// .wma files come from anywhere. Whatever the bytes, the reader stays inside
// them, walks at most the header's object count, and what it reports fits
// the file.
#include "music/wma_info.h"

#include <cstdint>
#include <cstdlib>

namespace {

using namespace dorvane;

// Aborts on a request the reader should never make: every string and
// object field of ASF has a 16-bit length.
class TCheckedSource final : public TTagSource {
public:
    explicit TCheckedSource(TByteView data) : memory_(data) {}
    std::uint64_t size() const override { return memory_.size(); }
    std::optional<TByteView> bytes(std::uint64_t offset, std::size_t n) override {
        if (n > 0xFFFF) std::abort();
        ++requests;
        return memory_.bytes(offset, n);
    }
    std::size_t requests = 0;

private:
    TMemoryTagSource memory_;
};

void Check(TByteView data, TagDetail detail) {
    TCheckedSource source(data);
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
