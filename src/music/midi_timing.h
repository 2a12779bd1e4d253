// The clock of a Standard MIDI File: which tick falls at which millisecond.
// FluidSynth's player counts in ticks, while the engine speaks milliseconds
// (length, position, seek), so the file's tempo map is read here once. The
// reader also decides whether a file is a MIDI file at all before the synth
// sees it, and unwraps the RIFF "RMID" form (.rmi), which the player does not
// take. Plain C++; every length in the file is checked against the bytes
// that are there, so hostile files cost at most one pass over their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace dorvane {

class TMidiTiming {
public:
    // The timing of the file in bytes, or nothing when it is not a
    // well-formed MIDI file (format 0..2, at least one track, every event
    // inside its track).
    static std::optional<TMidiTiming> Read(std::span<const char> bytes);

    // Where the Standard MIDI File starts inside the bytes read and how long
    // it is: the whole file, or the "data" chunk of an RMID file.
    std::size_t smfOffset() const { return smfOffset_; }
    std::size_t smfSize() const { return smfSize_; }

    std::uint64_t totalTicks() const { return totalTicks_; }
    std::int64_t lengthMs() const { return TicksToMs(totalTicks_); }
    std::int64_t TicksToMs(std::uint64_t ticks) const;
    // The first tick at or after ms; totalTicks() from lengthMs() on.
    std::uint64_t MsToTicks(std::int64_t ms) const;

private:
    // One stretch of constant tempo, from its first tick on.
    struct TTempoSpan {
        std::uint64_t tick = 0;
        double startMs = 0.0;
        double msPerTick = 0.0;
    };
    std::vector<TTempoSpan> spans_; // sorted by tick, the first at tick 0
    std::uint64_t totalTicks_ = 0;
    std::size_t smfOffset_ = 0;
    std::size_t smfSize_ = 0;
};

} // namespace dorvane
