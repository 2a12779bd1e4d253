#include "music/id3_tags.h"

#include "core/cp1251.h"
#include "music/genre_names.h"
#include "music/tag_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace dorvane {

namespace {

constexpr std::size_t kHeaderSize = 10;

std::uint32_t BigEndian32(TByteView b) {
    return std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3];
}

// Seven bits from each byte, the most significant first; the top bits are
// ignored.
std::uint32_t Syncsafe32(TByteView b) {
    return std::uint32_t(b[0] & 0x7F) << 21 | std::uint32_t(b[1] & 0x7F) << 14 |
           std::uint32_t(b[2] & 0x7F) << 7 | (b[3] & 0x7F);
}

enum class TFrameKind { Text, Genre, Comment, Lyrics };

struct TFrameField {
    std::string_view id;
    TagDetail detail; // the smallest detail that admits the frame
    TFrameKind kind;
    QString TID3v2Info::*field;
    QString TID3v2Info::*firstLine = nullptr;
};

// Version 2.4 puts the recording date where 2.3 had the year.
const std::array<TFrameField, 15> kFrames = {{
    {"TIT2", 0, TFrameKind::Text, &TID3v2Info::Titel},
    {"TPE1", 0, TFrameKind::Text, &TID3v2Info::Artist},
    {"TYER", kDetailAlbum, TFrameKind::Text, &TID3v2Info::Year},
    {"TDRC", kDetailAlbum, TFrameKind::Text, &TID3v2Info::Year},
    {"TALB", kDetailAlbum, TFrameKind::Text, &TID3v2Info::Album},
    {"TRCK", kDetailAlbum, TFrameKind::Text, &TID3v2Info::Track},
    {"COMM", kDetailComments, TFrameKind::Comment, &TID3v2Info::Comment, &TID3v2Info::Comment1},
    {"TCON", kDetailComments, TFrameKind::Genre, &TID3v2Info::Genre},
    {"TCOM", kDetailComments, TFrameKind::Text, &TID3v2Info::Composer},
    {"TOPE", kDetailComments, TFrameKind::Text, &TID3v2Info::OrigArtist},
    {"TCOP", kDetailComments, TFrameKind::Text, &TID3v2Info::Copyright},
    {"WXXX", kDetailComments, TFrameKind::Text, &TID3v2Info::URL},
    {"TENC", kDetailComments, TFrameKind::Text, &TID3v2Info::Encoded},
    {"USLT", kDetailLyrics, TFrameKind::Lyrics, &TID3v2Info::Verses, &TID3v2Info::Verses1},
    {"TSSE", kDetailLyrics, TFrameKind::Text, &TID3v2Info::Means},
}};

const TFrameField* FrameField(TByteView id, TagDetail detail) {
    const std::string_view name(reinterpret_cast<const char*>(id.data()), 4);
    for (const TFrameField& frame : kFrames)
        if (frame.id == name) return detail >= frame.detail ? &frame : nullptr;
    return nullptr;
}

// "(17)" and "(17)Rock" are genre 17; a number past the list stays as it is.
QString GenreText(QString text) {
    if (!text.startsWith(u'(')) return text;
    const qsizetype close = text.indexOf(u')');
    if (close < 2 || close > 4) return text;
    int index = 0;
    for (qsizetype k = 1; k < close; ++k) {
        const char16_t c = text.at(k).unicode();
        if (c < u'0' || c > u'9') return text;
        index = index * 10 + (c - u'0');
    }
    if (index >= int(kGenreCount)) return text;
    const std::string_view name = GenreNames[std::size_t(index)];
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// A comment or lyrics frame: encoding, language, a description, the text.
// The old layout this reader knows drops five bytes (the encoding, the
// language and an empty description's end), or everything up to a CD
// database's "CDDB Disc ID" note.
QString LongText(TByteView body, bool searchDiscId) {
    if (body.empty()) return {};
    const std::uint8_t encoding = body[0];
    if (encoding == 2) {
        // Big-endian UTF-16 has no mark to realign on: skip the language and
        // the description up to its two-byte end.
        std::size_t k = 4;
        while (k + 1 < body.size() && (body[k] != 0 || body[k + 1] != 0))
            k += 2;
        return DecodeText(encoding, body.subspan(std::min(body.size(), k + 2)));
    }
    std::size_t skip = 5;
    if (searchDiscId) {
        constexpr std::string_view kDiscId = "CDDB Disc ID";
        const auto found = std::search(body.begin(), body.end(), kDiscId.begin(), kDiscId.end());
        if (found != body.end()) skip = std::size_t(found - body.begin()) + kDiscId.size();
    }
    if (skip >= body.size()) return {};
    TByteView text = body.subspan(skip);
    if (encoding == 1 && !text.empty() && (text[0] == 0xFF || text[0] == 0xFE))
        text = text.subspan(1);
    return DecodeText(encoding, text);
}

void Decode(const TFrameField& frame, TByteView body, TID3v2Info& info) {
    QString text;
    switch (frame.kind) {
    case TFrameKind::Text:
        text = DecodeFrameText(body);
        break;
    case TFrameKind::Genre:
        text = GenreText(DecodeFrameText(body));
        break;
    case TFrameKind::Comment:
        text = LongText(body, true);
        break;
    case TFrameKind::Lyrics:
        text = LongText(body, false);
        break;
    }
    if (frame.firstLine) info.*frame.firstLine = FirstLine(text);
    info.*frame.field = std::move(text);
}

QString Field(TByteView tag, std::size_t begin, std::size_t end) {
    TByteView bytes = tag.subspan(begin, end - begin);
    const auto nul = std::find(bytes.begin(), bytes.end(), std::uint8_t(0));
    bytes = bytes.first(std::size_t(nul - bytes.begin()));
    while (!bytes.empty() && bytes.front() <= 32)
        bytes = bytes.subspan(1);
    while (!bytes.empty() && bytes.back() <= 32)
        bytes = bytes.first(bytes.size() - 1);
    return DecodeCp1251(bytes);
}

} // namespace

std::uint32_t ReadID3v2(TTagSource& source, TID3v2Info& info, TagDetail detail) {
    if (source.size() <= kHeaderSize) return 0;
    const auto header = source.bytes(0, kHeaderSize);
    if (!header || std::memcmp(header->data(), "ID3", 3) != 0) return 0;
    info.Ok = true;
    const bool version4 = (*header)[3] >= 4;
    const std::uint32_t tagSize = Syncsafe32(header->subspan(6)) + kHeaderSize;
    if (source.size() < tagSize) return tagSize;

    std::uint64_t position = kHeaderSize;
    std::uint32_t remaining = tagSize - kHeaderSize;
    int fields = 0;
    while (remaining > kHeaderSize && fields < detail) {
        // Padding: bytes of 32 or less, never a frame identifier's first.
        bool more = true;
        for (;;) {
            const auto byte = source.bytes(position, 1);
            if (!byte) {
                more = false;
                break;
            }
            if ((*byte)[0] > 32) break;
            ++position;
            if (--remaining < kHeaderSize) {
                more = false;
                break;
            }
        }
        if (!more) break;
        const auto frameHeader = source.bytes(position, kHeaderSize);
        if (!frameHeader) break;
        const std::array<std::uint8_t, 4> id = {(*frameHeader)[0], (*frameHeader)[1],
                                                (*frameHeader)[2], (*frameHeader)[3]};
        const TByteView sizeBytes = frameHeader->subspan(4, 4);
        const std::uint32_t size = version4 ? Syncsafe32(sizeBytes) : BigEndian32(sizeBytes);
        position += kHeaderSize;
        remaining -= kHeaderSize;
        if (size > remaining) break;
        const TFrameField* frame = FrameField(id, detail);
        if (frame && size <= kMaxTextFrame) {
            const auto body = source.bytes(position, size);
            if (!body) break;
            Decode(*frame, *body, info);
            ++fields;
        }
        position += size;
        remaining -= size;
    }
    return tagSize;
}

bool ReadID3v1(TTagSource& source, TID3v1Info& info, TagDetail detail) {
    constexpr std::size_t kTagSize = 128;
    if (source.size() < kTagSize) return false;
    const auto read = source.bytes(source.size() - kTagSize, kTagSize);
    if (!read || std::memcmp(read->data(), "TAG", 3) != 0) return false;
    const TByteView tag = *read;
    info.Ok = true;
    info.Titel = Field(tag, 3, 33);
    info.Artist = Field(tag, 33, 63);
    if (detail > kDetailTitles) {
        info.Album = Field(tag, 63, 93);
        info.Year = Field(tag, 93, 97);
        if (tag[125] == 0 && tag[126] != 0) info.Track = QString::number(tag[126]);
    }
    if (detail > kDetailQuery) {
        info.Comment = Field(tag, 97, 127);
        if (tag[127] < kGenreCount) {
            const std::string_view name = GenreNames[tag[127]];
            info.Genre = QString::fromLatin1(name.data(), qsizetype(name.size()));
        }
    }
    return true;
}

} // namespace dorvane
