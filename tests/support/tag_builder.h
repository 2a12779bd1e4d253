// Byte builders for the tag readers' tests, fuzz corpora and benchmarks:
// ID3 tags, MPEG audio frames with Xing and VBRI headers, ASF header
// objects. Each builds exactly what its name says and nothing more, so a
// test shows the bytes it is about.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace dorvane::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Of(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes Zeros(std::size_t n) {
    return Bytes(n, 0);
}

inline Bytes BigEndian(std::uint32_t v) {
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

inline Bytes Syncsafe(std::uint32_t v) {
    return {std::uint8_t(v >> 21 & 0x7F), std::uint8_t(v >> 14 & 0x7F), std::uint8_t(v >> 7 & 0x7F),
            std::uint8_t(v & 0x7F)};
}

inline Bytes LittleEndian(std::uint64_t v, int bytes) {
    Bytes out;
    for (int k = 0; k < bytes; ++k)
        out.push_back(std::uint8_t(v >> (8 * k)));
    return out;
}

inline Bytes Utf16(std::u16string_view text, bool bigEndian = false) {
    Bytes out;
    for (const char16_t c : text) {
        const std::uint8_t high = std::uint8_t(c >> 8);
        const std::uint8_t low = std::uint8_t(c);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
    return out;
}

// ID3v2 ---------------------------------------------------------------------

// A frame: identifier, size (plain in version 2.3, syncsafe in 2.4), no flags.
inline Bytes Id3Frame(std::string_view id, const Bytes& body, int version = 3) {
    const std::uint32_t size = std::uint32_t(body.size());
    return Cat({Of(id), version >= 4 ? Syncsafe(size) : BigEndian(size), Zeros(2), body});
}

// A text frame in encoding 0 (single bytes) or 3 (UTF-8).
inline Bytes TextFrame(std::string_view id, std::string_view text, std::uint8_t encoding = 0,
                       int version = 3) {
    return Id3Frame(id, Cat({{encoding}, Of(text)}), version);
}

// A text frame in UTF-16 with a little-endian byte-order mark.
inline Bytes Utf16Frame(std::string_view id, std::u16string_view text) {
    return Id3Frame(id, Cat({{1, 0xFF, 0xFE}, Utf16(text)}));
}

// A tag around frames, with padding bytes after them.
inline Bytes Id3Tag(const Bytes& frames, std::size_t padding = 0, int version = 3) {
    const std::uint32_t size = std::uint32_t(frames.size() + padding);
    return Cat({Of("ID3"), {std::uint8_t(version), 0, 0}, Syncsafe(size), frames, Zeros(padding)});
}

struct Id3v1Fields {
    std::string title, artist, album, year, comment;
    std::uint8_t track = 0; // 0: the comment has all 30 bytes
    std::uint8_t genre = 255;
};

inline Bytes Id3v1Tag(const Id3v1Fields& f) {
    Bytes tag = Of("TAG");
    auto field = [&](const std::string& text, std::size_t width) {
        Bytes bytes = Of(text.substr(0, width));
        bytes.resize(width, 0);
        tag.insert(tag.end(), bytes.begin(), bytes.end());
    };
    field(f.title, 30);
    field(f.artist, 30);
    field(f.album, 30);
    field(f.year, 4);
    field(f.comment, 30);
    if (f.track != 0) {
        tag[125] = 0;
        tag[126] = f.track;
    }
    tag.push_back(f.genre);
    return tag;
}

// MPEG audio ------------------------------------------------------------------

// MPEG-1 layer 3, 44100 Hz, no CRC: bit-rate index 9 is 128 kbit/s.
inline Bytes Mp3Header(std::uint8_t bitRateIndex = 9, bool mono = false, bool padding = false) {
    return {0xFF, 0xFB, std::uint8_t(bitRateIndex << 4 | (padding ? 2 : 0)),
            std::uint8_t(mono ? 0xC0 : 0x00)};
}

// Frames of 128 kbit/s at 44100 Hz: 417 bytes each, the header and silence.
inline Bytes Mp3Frames(std::size_t count) {
    Bytes frame = Cat({Mp3Header(), Zeros(413)});
    Bytes out;
    out.reserve(frame.size() * count);
    for (std::size_t k = 0; k < count; ++k)
        out.insert(out.end(), frame.begin(), frame.end());
    return out;
}

// A first frame (stereo MPEG-1) that carries a Xing header with frame and
// byte counts (flags 3).
inline Bytes XingFrame(std::uint32_t frames, std::uint32_t bytes) {
    Bytes frame = Cat(
        {Mp3Header(), Zeros(32), Of("Xing"), BigEndian(3), BigEndian(frames), BigEndian(bytes)});
    frame.resize(417, 0);
    return frame;
}

// A first frame with a Fraunhofer VBRI header 36 bytes in.
inline Bytes VbriFrame(std::uint32_t frames, std::uint32_t bytes) {
    Bytes frame = Cat({Mp3Header(),
                       Zeros(32),
                       Of("VBRI"),
                       {0, 1, 0, 0, 0, 75},
                       BigEndian(bytes),
                       BigEndian(frames)});
    frame.resize(417, 0);
    return frame;
}

// ASF -------------------------------------------------------------------------

// The identifier written as text, in the file's byte order.
inline Bytes Guid(std::string_view text) {
    auto hex = [&](std::size_t at) {
        return std::uint8_t(std::stoi(std::string(text.substr(at, 2)), nullptr, 16));
    };
    const std::size_t order[16] = {6, 4, 2, 0, 11, 9, 16, 14, 19, 21, 24, 26, 28, 30, 32, 34};
    Bytes out;
    for (const std::size_t at : order)
        out.push_back(hex(at));
    return out;
}

inline const char* const kAsfHeader = "75B22630-668E-11CF-A6D9-00AA0062CE6C";
inline const char* const kAsfContent = "75B22633-668E-11CF-A6D9-00AA0062CE6C";
inline const char* const kAsfFileProperties = "8CABDCA1-A947-11CF-8EE4-00C00C205365";
inline const char* const kAsfStreamProperties = "B7DC0791-A9B7-11CF-8EE6-00C00C205365";
inline const char* const kAsfExtendedContent = "D2D0A440-E307-11D2-97F0-00A0C95EA850";
inline const char* const kAsfData = "75B22636-668E-11CF-A6D9-00AA0062CE6C";

inline Bytes AsfObject(std::string_view guid, const Bytes& data) {
    return Cat({Guid(guid), LittleEndian(24 + data.size(), 8), data});
}

// The header object around objects.
inline Bytes AsfHeader(const std::vector<Bytes>& objects) {
    Bytes body;
    for (const Bytes& object : objects)
        body.insert(body.end(), object.begin(), object.end());
    return Cat({Guid(kAsfHeader),
                LittleEndian(30 + body.size(), 8),
                LittleEndian(objects.size(), 4),
                {1, 2},
                body});
}

// A string as ASF stores it: UTF-16LE with its terminating zero.
inline Bytes AsfString(std::u16string_view text) {
    return Cat({Utf16(text), Zeros(2)});
}

inline Bytes AsfContent(std::u16string_view title, std::u16string_view author,
                        std::u16string_view copyright = u"",
                        std::u16string_view description = u"") {
    const Bytes parts[4] = {AsfString(title), AsfString(author), AsfString(copyright),
                            AsfString(description)};
    Bytes data;
    for (const Bytes& part : parts) {
        const Bytes length = LittleEndian(part.size(), 2);
        data.insert(data.end(), length.begin(), length.end());
    }
    data.insert(data.end(), {0, 0}); // no rating
    for (const Bytes& part : parts)
        data.insert(data.end(), part.begin(), part.end());
    return AsfObject(kAsfContent, data);
}

// One extended content descriptor: a name, a value type and the value.
inline Bytes AsfDescriptor(std::u16string_view name, std::uint16_t type, const Bytes& value) {
    const Bytes encodedName = AsfString(name);
    return Cat({LittleEndian(encodedName.size(), 2), encodedName, LittleEndian(type, 2),
                LittleEndian(value.size(), 2), value});
}

inline Bytes AsfExtendedContent(const std::vector<Bytes>& descriptors) {
    Bytes data = LittleEndian(descriptors.size(), 2);
    for (const Bytes& d : descriptors)
        data.insert(data.end(), d.begin(), d.end());
    return AsfObject(kAsfExtendedContent, data);
}

// File properties with the maximum bit rate (bit/s) 76 bytes into the data.
inline Bytes AsfFileProperties(std::uint32_t maxBitRate) {
    return AsfObject(kAsfFileProperties, Cat({Zeros(76), LittleEndian(maxBitRate, 4)}));
}

// Stream properties of an audio stream (WAVEFORMATEX 54 bytes into the data).
inline Bytes AsfAudioStream(std::uint16_t channels, std::uint32_t sampleRate,
                            std::uint32_t bytesPerSecond) {
    return AsfObject(kAsfStreamProperties,
                     Cat({Zeros(54), LittleEndian(0x161, 2), LittleEndian(channels, 2),
                          LittleEndian(sampleRate, 4), LittleEndian(bytesPerSecond, 4), Zeros(8)}));
}

} // namespace dorvane::test
