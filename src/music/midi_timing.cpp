#include "music/midi_timing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace dorvane {
namespace {

constexpr std::uint32_t kDefaultTempo = 500000; // microseconds per quarter, 120 bpm

class TCursor {
public:
    TCursor(std::span<const char> bytes) : bytes_(bytes) {}
    std::size_t left() const { return bytes_.size() - at_; }
    std::size_t at() const { return at_; }
    bool Tag(const char* tag) const {
        return left() >= 4 && std::memcmp(&bytes_[at_], tag, 4) == 0;
    }
    std::uint32_t Byte() { return std::uint8_t(bytes_[at_++]); }
    std::uint32_t Big(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | Byte();
        return v;
    }
    std::uint32_t Little32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= Byte() << (8 * i);
        return v;
    }
    // A variable-length quantity: at most four bytes, as the format allows.
    std::optional<std::uint32_t> Vlq() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            if (left() == 0) return std::nullopt;
            const std::uint32_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return v;
        }
        return std::nullopt;
    }
    bool Skip(std::size_t n) {
        if (n > left()) return false;
        at_ += n;
        return true;
    }

private:
    std::span<const char> bytes_;
    std::size_t at_ = 0;
};

struct TTempoEvent {
    std::uint64_t tick;
    std::uint32_t usPerQuarter;
};

// Reads one track's events; false when an event runs past the track or is
// not a MIDI file event. The track's end tick goes to end.
bool ReadTrack(std::span<const char> track, std::uint64_t& end, std::vector<TTempoEvent>& tempos) {
    TCursor c(track);
    std::uint64_t tick = 0;
    std::uint32_t running = 0;
    while (c.left() > 0) {
        const auto delta = c.Vlq();
        if (!delta || c.left() == 0) return false;
        tick += *delta;
        std::uint32_t status = c.Byte();
        if (status < 0x80) {
            if (running == 0) return false;
            status = running;
            // The byte read was the first data byte.
            if (!c.Skip((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 0 : 1)) return false;
            continue;
        }
        if (status == 0xFF) {
            if (c.left() == 0) return false;
            const std::uint32_t type = c.Byte();
            const auto length = c.Vlq();
            if (!length || *length > c.left()) return false;
            if (type == 0x2F) break; // end of track
            if (type == 0x51 && *length == 3) {
                const std::uint32_t us = c.Big(3);
                tempos.push_back({tick, us == 0 ? kDefaultTempo : us});
            } else {
                c.Skip(*length);
            }
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            const auto length = c.Vlq();
            if (!length || !c.Skip(*length)) return false;
            running = 0;
            continue;
        }
        if (status > 0xF0) return false; // system common and real-time messages have no place here
        running = status;
        if (!c.Skip((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2)) return false;
    }
    end = tick;
    return true;
}

// The Standard MIDI File inside an RMID file: its "data" chunk.
std::optional<std::span<const char>> RmidData(std::span<const char> bytes) {
    TCursor c(bytes);
    if (!c.Tag("RIFF") || c.left() < 12) return std::nullopt;
    c.Skip(4);
    const std::uint32_t riffSize = c.Little32();
    if (!c.Tag("RMID")) return std::nullopt;
    c.Skip(4);
    const std::size_t end = std::min<std::size_t>(bytes.size(), std::size_t(8) + riffSize);
    while (c.at() + 8 <= end) {
        const bool data = c.Tag("data");
        c.Skip(4);
        const std::uint32_t size = c.Little32();
        if (size > end - c.at()) return std::nullopt;
        if (data) return bytes.subspan(c.at(), size);
        c.Skip(size + (size & 1));
    }
    return std::nullopt;
}

} // namespace

std::optional<TMidiTiming> TMidiTiming::Read(std::span<const char> bytes) {
    TMidiTiming timing;
    std::span<const char> smf = bytes;
    if (const auto inner = RmidData(bytes)) {
        smf = *inner;
        timing.smfOffset_ = std::size_t(inner->data() - bytes.data());
    }
    timing.smfSize_ = smf.size();

    TCursor c(smf);
    if (!c.Tag("MThd") || c.left() < 14) return std::nullopt;
    c.Skip(4);
    const std::uint32_t headerSize = c.Big(4);
    if (headerSize < 6 || headerSize > c.left()) return std::nullopt;
    const std::uint32_t format = c.Big(2);
    const std::uint32_t trackCount = c.Big(2);
    const std::uint32_t division = c.Big(2);
    c.Skip(headerSize - 6);
    if (format > 2 || trackCount == 0 || division == 0) return std::nullopt;

    double msPerQuarterUs = 0.0; // ms per tick for each microsecond per quarter
    double fixedMsPerTick = 0.0; // SMPTE time: a tick is a fixed fraction of a second
    if (division & 0x8000) {
        const int fps = -static_cast<std::int8_t>(division >> 8);
        const int perFrame = int(division & 0xFF);
        if (fps <= 0 || perFrame == 0) return std::nullopt;
        fixedMsPerTick = 1000.0 / (fps == 29 ? 29.97 * perFrame : double(fps) * perFrame);
    } else {
        msPerQuarterUs = 1.0 / (1000.0 * division);
    }

    std::vector<TTempoEvent> tempos;
    std::uint32_t tracks = 0;
    while (tracks < trackCount && c.left() >= 8) {
        const bool isTrack = c.Tag("MTrk");
        c.Skip(4);
        const std::uint32_t size = c.Big(4);
        if (size > c.left()) return std::nullopt;
        if (isTrack) {
            std::uint64_t end = 0;
            if (!ReadTrack(smf.subspan(c.at(), size), end, tempos)) return std::nullopt;
            timing.totalTicks_ = std::max(timing.totalTicks_, end);
            ++tracks;
        }
        c.Skip(size);
    }
    if (tracks == 0) return std::nullopt;

    // Tempo changes of all tracks make one map; at equal ticks the later one
    // in the file wins, as it does when the events are played.
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TTempoEvent& a, const TTempoEvent& b) { return a.tick < b.tick; });
    auto msPerTick = [&](std::uint32_t us) {
        return fixedMsPerTick > 0.0 ? fixedMsPerTick : us * msPerQuarterUs;
    };
    timing.spans_.push_back({0, 0.0, msPerTick(kDefaultTempo)});
    for (const TTempoEvent& t : tempos) {
        TTempoSpan& last = timing.spans_.back();
        if (t.tick == last.tick) {
            last.msPerTick = msPerTick(t.usPerQuarter);
            continue;
        }
        const double start = last.startMs + double(t.tick - last.tick) * last.msPerTick;
        timing.spans_.push_back({t.tick, start, msPerTick(t.usPerQuarter)});
    }
    return timing;
}

std::int64_t TMidiTiming::TicksToMs(std::uint64_t ticks) const {
    if (spans_.empty()) return 0;
    const auto after =
        std::upper_bound(spans_.begin(), spans_.end(), ticks,
                         [](std::uint64_t t, const TTempoSpan& span) { return t < span.tick; });
    const TTempoSpan& span = *(after - 1);
    const double ms = span.startMs + double(ticks - span.tick) * span.msPerTick;
    // Hours of ticks at the slowest tempo still fit; the clamp only keeps a
    // hostile file's absurd length a number.
    return ms >= double(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : std::int64_t(ms);
}

std::uint64_t TMidiTiming::MsToTicks(std::int64_t ms) const {
    if (spans_.empty() || ms <= 0) return 0;
    // Also where the length was clamped: the end is the end.
    if (ms >= lengthMs()) return totalTicks_;
    const auto after =
        std::upper_bound(spans_.begin(), spans_.end(), double(ms),
                         [](double m, const TTempoSpan& span) { return m < span.startMs; });
    const TTempoSpan& span = *(after - 1);
    const double ticks =
        double(span.tick) + std::ceil((double(ms) - span.startMs) / span.msPerTick);
    if (ticks >= double(totalTicks_)) return totalTicks_;
    return std::uint64_t(ticks);
}

} // namespace dorvane
