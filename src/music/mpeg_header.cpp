#include "music/mpeg_header.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace dorvane {

namespace {

constexpr int kForbidden = -1;

// kbit/s by bit-rate index: ISO 11172-3 (MPEG-1) and ISO 13818-3 (MPEG-2 and
// 2.5 share the lower rates).
using TRates = std::array<int, 16>;
constexpr TRates kRateV1L1 = {0,   32,  64,  96,  128, 160, 192, 224,
                              256, 288, 320, 352, 384, 416, 448, kForbidden};
constexpr TRates kRateV1L2 = {0,   32,  48,  56,  64,  80,  96,  112,
                              128, 160, 192, 224, 256, 320, 384, kForbidden};
constexpr TRates kRateV1L3 = {0,   32,  40,  48,  56,  64,  80,  96,
                              112, 128, 160, 192, 224, 256, 320, kForbidden};
constexpr TRates kRateV2L1 = {0,   32,  48,  56,  64,  80,  96,  112,
                              128, 144, 160, 176, 192, 224, 256, kForbidden};
constexpr TRates kRateV2L23 = {0,  8,  16, 24,  32,  40,  48,  56,
                               64, 80, 96, 112, 128, 144, 160, kForbidden};

constexpr std::array<int, 4> kSampleRatesV1 = {44100, 48000, 32000, 0};

bool IsFrameHeader(TByteView b) {
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0;
}

std::uint32_t BigEndian32(TByteView b) {
    return std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3];
}

bool Is(TTagSource& source, std::uint64_t offset, const char (&magic)[5]) {
    const auto b = source.bytes(offset, 4);
    return b && std::memcmp(b->data(), magic, 4) == 0;
}

// The bytes of audio after the first frame header, without an ID3v1 tag.
std::uint64_t AudioBytes(const MpegInfo& info) {
    const std::uint64_t used = info.FirstFrame + info.ID3v1Size;
    return info.FileSize > used ? info.FileSize - used : 0;
}

// Where the first frame header is: straight after the tag, or after a RIFF
// wrapper's header, or else the first sync found within the next 8 KiB.
bool FindFirstFrame(TTagSource& source, MpegInfo& info) {
    const std::uint64_t start = info.ID3v2Size;
    std::uint64_t candidate = start;
    if (Is(source, start, "RIFF")) {
        if (Is(source, start + 62, "data"))
            info.RiffDataOffset = 70;
        else if (Is(source, start + 64, "data"))
            info.RiffDataOffset = 72;
        candidate = start + info.RiffDataOffset;
    }
    const std::uint64_t end = candidate + kFrameSearchBytes;
    for (std::uint64_t position = candidate; position < end; ++position) {
        const auto header = source.bytes(position, 4);
        if (!header) return false;
        if (IsFrameHeader(*header)) {
            info.FirstFrame = position;
            std::memcpy(info.Header, header->data(), 4);
            return true;
        }
    }
    return false;
}

// A Xing header: "Xing", a flags word, then the fields it announces in
// order: the frame count (bit 0) and the stream's byte count (bit 1). LAME
// writes the same header as "Info" into files of a constant bit rate; their
// first frame, which carries it, may have a higher bit rate than the rest.
bool ReadXing(TTagSource& source, MpegInfo& info, std::uint32_t& frames) {
    const std::uint64_t at = info.FirstFrame + std::uint64_t(info.XingOffset);
    const auto head = source.bytes(at, 8);
    if (!head) return false;
    if (std::memcmp(head->data(), "Xing", 4) == 0)
        info.Xing = true;
    else if (std::memcmp(head->data(), "Info", 4) == 0)
        info.Info = true;
    else
        return false;
    const std::uint32_t flags = BigEndian32(head->subspan(4));
    std::uint64_t field = at + 8;
    if (flags & 1) {
        if (const auto b = source.bytes(field, 4)) frames = BigEndian32(*b);
        field += 4;
    }
    if (flags & 2) {
        if (const auto b = source.bytes(field, 4)) info.StreamBytes = BigEndian32(*b);
    }
    return true;
}

// A VBRI header (Fraunhofer), always 36 bytes into the frame: "VBRI",
// version, delay and quality (2 bytes each), the byte count, the frame count.
bool ReadVbri(TTagSource& source, MpegInfo& info, std::uint32_t& frames) {
    const auto b = source.bytes(info.FirstFrame + 36, 18);
    if (!b || std::memcmp(b->data(), "VBRI", 4) != 0) return false;
    info.Vbri = true;
    info.StreamBytes = BigEndian32(b->subspan(10));
    frames = BigEndian32(b->subspan(14));
    return true;
}

} // namespace

void DecodeMpegHeader(MpegInfo& info) {
    const std::uint8_t b1 = info.Header[1];
    const std::uint8_t b2 = info.Header[2];
    const std::uint8_t b3 = info.Header[3];
    info.Protection = b1 & 1;
    info.LayerCode = (b1 >> 1) & 3;
    info.VersionCode = (b1 >> 3) & 3;
    info.Private = b2 & 1;
    info.Padding = (b2 >> 1) & 1;
    info.SampleRateIndex = (b2 >> 2) & 3;
    info.BitRateIndex = (b2 >> 4) & 15;
    info.Emphasis = b3 & 3;
    info.Original = (b3 >> 2) & 1;
    info.Rights = (b3 >> 3) & 1;
    info.ModeExtension = (b3 >> 4) & 3;
    info.ChannelMode = (b3 >> 6) & 3;
    // Reserved codes say nothing about the stream.
    if (info.VersionCode == 1 || info.LayerCode == 0) return;
    info.Layer = 4 - info.LayerCode;
    const bool mono = info.ChannelMode == 3;
    const bool version1 = info.VersionCode == 3;
    const int sampleRate = kSampleRatesV1[info.SampleRateIndex];
    // Layer I frames hold 384 samples and layer II frames 1152 in every
    // version; only layer III halves its frame (576 samples) below MPEG-1.
    const bool halfFrame = !version1 && info.Layer == 3;
    info.SamplesDiv8 = info.Layer == 1 ? 48 : halfFrame ? 72 : 144;
    if (version1) {
        info.Version = 1.0;
        info.SampleRate = sampleRate;
        info.XingOffset = mono ? 21 : 36;
    } else {
        info.Version = info.VersionCode == 2 ? 2.0 : 2.5;
        info.SampleRate = info.VersionCode == 2 ? sampleRate / 2 : sampleRate / 4;
        info.XingOffset = mono ? 13 : 21;
    }
    const TRates& rates = version1 ? (info.Layer == 1   ? kRateV1L1
                                      : info.Layer == 2 ? kRateV1L2
                                                        : kRateV1L3)
                                   : (info.Layer == 1 ? kRateV2L1 : kRateV2L23);
    info.BitRate = rates[info.BitRateIndex];

    const std::uint64_t audio = AudioBytes(info);
    if (info.BitRate >= 1) info.Duration = audio / (std::uint64_t(info.BitRate) * 125);
    if (info.SampleRate > 0 && info.BitRate >= 1) {
        // A frame's bytes: its samples' share of the bit rate, a layer I
        // frame counted in 4-byte slots.
        const unsigned rate = unsigned(info.BitRate);
        const unsigned hertz = unsigned(info.SampleRate);
        if (info.Layer == 1)
            info.FrameLength = (12000u * rate / hertz + info.Padding) * 4;
        else
            info.FrameLength = unsigned(info.SamplesDiv8) * 1000u * rate / hertz + info.Padding;
    }
    if (info.FrameLength > 0) info.FrameCount = audio / info.FrameLength;
}

void ReadMpegStream(TTagSource& source, MpegInfo& info) {
    if (source.size() < std::uint64_t(info.ID3v2Size) + 4) return;
    if (!FindFirstFrame(source, info)) return;
    info.Found = true;
    DecodeMpegHeader(info);
    if (info.Layer == 0) return;
    std::uint32_t frames = 0;
    if (!ReadXing(source, info, frames) && !ReadVbri(source, info, frames)) return;
    if (frames == 0 || info.StreamBytes == 0 || info.SampleRate <= 0 || info.SamplesDiv8 <= 0)
        return;
    const std::uint64_t samplesDiv8 = std::uint64_t(info.SamplesDiv8);
    const std::uint64_t sampleRate = std::uint64_t(info.SampleRate);
    info.FrameCount = frames;
    info.Duration = std::uint64_t(frames) * samplesDiv8 * 8 / sampleRate;
    const std::int64_t perFrame = std::int64_t(info.StreamBytes / frames) - info.Padding;
    const std::uint64_t bitRate =
        perFrame > 0 ? std::uint64_t(perFrame) * sampleRate / samplesDiv8 / 1000 : 0;
    info.BitRate = int(std::min<std::uint64_t>(bitRate, std::numeric_limits<int>::max()));
    info.FrameLength = std::uint32_t(std::min<std::uint64_t>(
        AudioBytes(info) / frames, std::numeric_limits<std::uint32_t>::max()));
}

} // namespace dorvane
