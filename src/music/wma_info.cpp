#include "music/wma_info.h"

#include "music/tag_file.h"
#include "music/tag_text.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace dorvane {

namespace {

using TGuid = std::array<std::uint8_t, 16>;

constexpr std::uint8_t HexDigit(char c) {
    return std::uint8_t(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
}

constexpr std::uint8_t HexByte(const char* text) {
    return std::uint8_t(HexDigit(text[0]) << 4 | HexDigit(text[1]));
}

// A GUID as it is written ("75B22630-668E-11CF-A6D9-00AA0062CE6C") in the
// byte order of the file: the first three groups little-endian.
constexpr TGuid Guid(const char (&text)[37]) {
    constexpr std::array<int, 16> at = {6, 4, 2, 0, 11, 9, 16, 14, 19, 21, 24, 26, 28, 30, 32, 34};
    TGuid guid{};
    for (std::size_t k = 0; k < 16; ++k)
        guid[k] = HexByte(text + at[k]);
    return guid;
}

constexpr TGuid kHeader = Guid("75B22630-668E-11CF-A6D9-00AA0062CE6C");
constexpr TGuid kContentDescription = Guid("75B22633-668E-11CF-A6D9-00AA0062CE6C");
constexpr TGuid kFileProperties = Guid("8CABDCA1-A947-11CF-8EE4-00C00C205365");
constexpr TGuid kStreamProperties = Guid("B7DC0791-A9B7-11CF-8EE6-00C00C205365");
constexpr TGuid kExtendedContent = Guid("D2D0A440-E307-11D2-97F0-00A0C95EA850");
constexpr TGuid kStreamBitRate = Guid("7BF875CE-468D-11D1-8D82-006097C9A2B2");
constexpr TGuid kHeaderExtension = Guid("5FBF03B5-A92E-11CF-8EE3-00C00C205365");
constexpr TGuid kCodecList = Guid("86D15240-311D-11D0-A3A4-00A0C90348F6");

constexpr std::size_t kObjectHeader = 24; // identifier and size

std::uint16_t Le16(TByteView b) {
    return std::uint16_t(b[0] | b[1] << 8);
}
std::uint32_t Le32(TByteView b) {
    return std::uint32_t(Le16(b)) | std::uint32_t(Le16(b.subspan(2))) << 16;
}
std::uint64_t Le64(TByteView b) {
    return std::uint64_t(Le32(b)) | std::uint64_t(Le32(b.subspan(4))) << 32;
}

bool Same(TByteView bytes, const TGuid& guid) {
    return std::memcmp(bytes.data(), guid.data(), guid.size()) == 0;
}

// Extended content descriptors by name, with the smallest detail that
// admits each.
struct TDescriptorField {
    QStringView name;
    TagDetail detail;
    QString TID3v2Info::*field;
    QString TID3v2Info::*firstLine = nullptr;
};

const std::array<TDescriptorField, 8> kDescriptors = {{
    {u"WM/Year", kDetailAlbum, &TID3v2Info::Year},
    {u"WM/AlbumTitle", kDetailAlbum, &TID3v2Info::Album},
    {u"WM/TrackNumber", kDetailAlbum, &TID3v2Info::Track},
    {u"WM/Genre", kDetailComments, &TID3v2Info::Genre},
    {u"WM/Composer", kDetailComments, &TID3v2Info::Composer},
    {u"WM/OriginalArtist", kDetailComments, &TID3v2Info::OrigArtist},
    {u"WM/UserWebURL", kDetailComments, &TID3v2Info::URL},
    {u"WM/Lyrics", kDetailLyrics, &TID3v2Info::Verses, &TID3v2Info::Verses1},
}};

// One header object's data: [begin, end) of the file, end within the file.
class TObjectReader {
public:
    TObjectReader(TTagSource& source, std::uint64_t begin, std::uint64_t end)
        : source_(source), at_(begin), end_(end) {}

    std::optional<TByteView> take(std::size_t n) {
        if (n > end_ - at_) return std::nullopt;
        const auto bytes = source_.bytes(at_, n);
        if (bytes) at_ += n;
        return bytes;
    }
    std::optional<std::uint16_t> word() {
        const auto b = take(2);
        return b ? std::optional(Le16(*b)) : std::nullopt;
    }

private:
    TTagSource& source_;
    std::uint64_t at_;
    std::uint64_t end_;
};

class TAsfWalk {
public:
    TAsfWalk(TTagSource& source, TID3v2Info& tags, TagDetail detail, AsfInfo* asf)
        : source_(source), tags_(tags), detail_(detail), asf_(asf) {}

    void run();

private:
    void handle(const TGuid& id, std::uint64_t position, std::uint64_t size);
    void contentDescription(TObjectReader data);
    void extendedContent(TObjectReader data);
    void fileProperties(std::uint64_t data, std::uint64_t end);
    void streamProperties(std::uint64_t data, std::uint64_t end);

    TTagSource& source_;
    TID3v2Info& tags_;
    TagDetail detail_;
    AsfInfo* asf_;
    int fields_ = 0;
    bool haveFile_ = false;
    bool haveStream_ = false;
};

void TAsfWalk::run() {
    const auto header = source_.bytes(0, 30);
    if (!header || !Same(*header, kHeader)) return;
    tags_.Ok = true;
    const std::uint64_t headerSize = Le64(header->subspan(16));
    const int objects = Le16(header->subspan(24));
    std::uint64_t position = 30;
    std::uint64_t lastEnd = 0;
    for (int k = 0; k < objects && (fields_ < detail_ || asf_); ++k) {
        const auto object = source_.bytes(position, kObjectHeader);
        if (!object) break;
        const std::uint64_t size = Le64(object->subspan(16));
        // position is within the file, so only a size that reaches past the
        // largest position could wrap the sum.
        if (size == 0 || size >= headerSize ||
            size > std::numeric_limits<std::uint64_t>::max() - position)
            break;
        TGuid id;
        std::memcpy(id.data(), object->data(), id.size());
        handle(id, position, size);
        lastEnd = position + size;
        if (lastEnd > source_.size()) break;
        position = lastEnd;
    }
    if (!asf_ || asf_->MaxBitRate == 0 || asf_->AvgBytesPerSec == 0) return;
    asf_->HeaderEnd = lastEnd;
    // The rest of the file is packets: its length at the file's bit rate and at
    // the audio stream's, averaged.
    const double rest = lastEnd < source_.size() ? double(source_.size() - lastEnd) : 0.0;
    asf_->Duration = std::uint64_t(
        std::llround((rest * 8 / asf_->MaxBitRate + rest / asf_->AvgBytesPerSec) / 2));
}

void TAsfWalk::handle(const TGuid& id, std::uint64_t position, std::uint64_t size) {
    // The object's data, cut at the end of the file.
    const std::uint64_t data = position + kObjectHeader;
    const std::uint64_t end = std::min(position + size, source_.size());
    if (data > end) return;
    const TAsfObjectPlace place{position, size};
    // Attributes only while fields are wanted: walking on for the stream's
    // facts does not let a second description replace the first.
    if (id == kContentDescription) {
        if (fields_ < detail_) contentDescription(TObjectReader(source_, data, end));
    } else if (id == kExtendedContent) {
        if (detail_ > kDetailTitles && fields_ < detail_)
            extendedContent(TObjectReader(source_, data, end));
    } else if (!asf_) {
        return;
    } else if (id == kFileProperties && !haveFile_) {
        haveFile_ = true;
        asf_->FileProperties = place;
        fileProperties(data, end);
    } else if (id == kStreamProperties && !haveStream_) {
        haveStream_ = true;
        asf_->StreamProperties = place;
        streamProperties(data, end);
    } else if (detail_ > 12) {
        if (id == kStreamBitRate) asf_->StreamBitRate = place;
        if (id == kHeaderExtension) asf_->HeaderExtension = place;
        if (id == kCodecList) asf_->CodecList = place;
    }
}

void TAsfWalk::contentDescription(TObjectReader data) {
    // Five lengths: title, author, copyright, description and rating; the
    // strings follow in that order.
    std::array<std::uint16_t, 5> lengths{};
    for (auto& length : lengths) {
        const auto word = data.word();
        if (!word) return;
        length = *word;
    }
    QString TID3v2Info::*const into[4] = {&TID3v2Info::Titel, &TID3v2Info::Artist,
                                          &TID3v2Info::Copyright, &TID3v2Info::Comment};
    for (std::size_t k = 0; k < 4; ++k) {
        const auto text = data.take(lengths[k]);
        if (!text) return;
        if (k >= 2 && detail_ < kDetailComments) continue;
        tags_.*into[k] = DecodeUtf16Le(*text);
        ++fields_;
    }
    tags_.Comment1 = FirstLine(tags_.Comment);
}

void TAsfWalk::extendedContent(TObjectReader data) {
    const auto count = data.word();
    if (!count) return;
    for (int k = 0; k < *count && fields_ < detail_; ++k) {
        const auto nameLength = data.word();
        const auto name = nameLength ? data.take(*nameLength) : std::nullopt;
        const auto type = name ? data.word() : std::nullopt;
        const auto valueLength = type ? data.word() : std::nullopt;
        const auto value = valueLength ? data.take(*valueLength) : std::nullopt;
        if (!value) return;
        const QString decodedName = DecodeUtf16LeName(*name);
        for (const TDescriptorField& descriptor : kDescriptors) {
            if (descriptor.name != decodedName || detail_ < descriptor.detail) continue;
            QString text;
            if (*type == 0)
                text = DecodeUtf16Le(*value);
            else if (*type == 1 && descriptor.field == &TID3v2Info::URL)
                text = QStringLiteral("Binary data");
            else if (*type == 3 && value->size() >= 4)
                text = QString::number(Le32(*value));
            if (descriptor.firstLine) tags_.*descriptor.firstLine = FirstLine(text);
            tags_.*descriptor.field = std::move(text);
            ++fields_;
            break;
        }
    }
}

void TAsfWalk::fileProperties(std::uint64_t data, std::uint64_t end) {
    asf_->FileSize = source_.size();
    constexpr std::uint64_t kMaxBitRate = 76;
    if (end - data < kMaxBitRate + 4) return;
    if (const auto b = source_.bytes(data + kMaxBitRate, 4)) asf_->MaxBitRate = Le32(*b);
}

void TAsfWalk::streamProperties(std::uint64_t data, std::uint64_t end) {
    // The audio format (WAVEFORMATEX) starts 54 bytes in: codec, channels,
    // sample rate, average bytes per second.
    constexpr std::uint64_t kChannels = 56;
    if (end - data < kChannels + 10) return;
    const auto b = source_.bytes(data + kChannels, 10);
    if (!b) return;
    asf_->Channels = Le16(*b);
    asf_->SampleRate = Le32(b->subspan(2));
    asf_->AvgBytesPerSec = Le32(b->subspan(6));
}

} // namespace

void ReadWmaInfo(TTagSource& source, TID3v2Info& tags, TagDetail detail, AsfInfo* asf) {
    tags = {};
    if (asf) *asf = {};
    TAsfWalk(source, tags, detail, asf).run();
}

TTagFileStatus ReadWmaInfo(const QString& path, TID3v2Info& tags, TagDetail detail, AsfInfo* asf) {
    tags = {};
    if (asf) *asf = {};
    TTagFile file = OpenTagFile(path, u".wma");
    if (file.source) ReadWmaInfo(*file.source, tags, detail, asf);
    return file.status;
}

} // namespace dorvane
