// The two pieces of music the program ships in its "Sound" folder, so that
// the player has something to play out of the box: a short tune as a
// Standard MIDI File (for the synthesizer path) and a soft arpeggio as a
// FLAC file (for the decoder path, written by flac.cpp). Both are made from
// fixed note lists.
#include "artgen.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace artgen {
namespace {

constexpr int kDivision = 480; // ticks per quarter note
constexpr int kEighth = kDivision / 2;
constexpr int kBar = kDivision * 4;

struct TNote {
    int pitch;   // MIDI note number
    int eighths; // length
};

// The tune: C - Am - F - G three times over and a closing C, one chord a bar.
constexpr std::array<std::array<int, 3>, 4> kChords = {{
    {60, 64, 67}, // C
    {57, 60, 64}, // Am
    {53, 57, 60}, // F
    {55, 59, 62}, // G
}};
constexpr int kBars = 13;

const std::vector<std::vector<TNote>>& Melody() {
    static const std::vector<std::vector<TNote>> bars = {
        {{64, 2}, {67, 2}, {72, 2}, {71, 1}, {69, 1}},
        {{69, 3}, {67, 1}, {64, 2}, {60, 2}},
        {{65, 2}, {69, 2}, {72, 3}, {74, 1}},
        {{71, 4}, {67, 2}, {69, 1}, {71, 1}},
        {{72, 2}, {76, 2}, {74, 2}, {72, 2}},
        {{72, 2}, {71, 1}, {69, 1}, {64, 4}},
        {{65, 1}, {67, 1}, {69, 2}, {72, 2}, {69, 2}},
        {{67, 2}, {74, 2}, {71, 4}},
        {{76, 3}, {74, 1}, {72, 2}, {67, 2}},
        {{69, 2}, {72, 2}, {76, 2}, {74, 2}},
        {{72, 2}, {69, 2}, {65, 2}, {69, 2}},
        {{67, 3}, {71, 1}, {74, 2}, {71, 2}},
        {{72, 8}},
    };
    return bars;
}

// One track's events at absolute ticks, written out with delta times.
class TTrack {
public:
    void Add(int tick, std::vector<std::uint8_t> bytes) {
        events_.push_back({tick, order_++, std::move(bytes)});
    }
    void Note(int channel, int tick, int length, int pitch, int velocity) {
        Add(tick, {std::uint8_t(0x90 | channel), std::uint8_t(pitch), std::uint8_t(velocity)});
        // The note off a little before the next note keeps repeated notes apart.
        Add(tick + length - 10, {std::uint8_t(0x80 | channel), std::uint8_t(pitch), 64});
    }
    std::vector<std::uint8_t> Bytes() {
        // Events at one tick keep the order they were added in.
        std::stable_sort(events_.begin(), events_.end(), [](const TEvent& a, const TEvent& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<std::uint8_t> body;
        int last = 0;
        for (const TEvent& e : events_) {
            Vlq(body, std::uint32_t(e.tick - last));
            last = e.tick;
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        Vlq(body, 0);
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
        Big32(chunk, std::uint32_t(body.size()));
        chunk.insert(chunk.end(), body.begin(), body.end());
        return chunk;
    }
    static void Big32(std::vector<std::uint8_t>& out, std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(std::uint8_t(v >> shift));
    }

private:
    struct TEvent {
        int tick;
        int order;
        std::vector<std::uint8_t> bytes;
    };
    static void Vlq(std::vector<std::uint8_t>& out, std::uint32_t v) {
        std::uint8_t groups[4];
        int n = 0;
        do {
            groups[n++] = std::uint8_t(v & 0x7F);
            v >>= 7;
        } while (v != 0 && n < 4);
        while (n > 1)
            out.push_back(std::uint8_t(groups[--n] | 0x80));
        out.push_back(groups[0]);
    }
    std::vector<TEvent> events_;
    int order_ = 0;
};

std::vector<std::uint8_t> Tempo(int bpm) {
    const auto us = std::uint32_t(60000000 / bpm);
    return {0xFF, 0x51, 0x03, std::uint8_t(us >> 16), std::uint8_t(us >> 8), std::uint8_t(us)};
}

std::vector<std::uint8_t> Program(int channel, int program) {
    return {std::uint8_t(0xC0 | channel), std::uint8_t(program)};
}

double NoteFrequency(int pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

} // namespace

std::vector<std::uint8_t> MakeMidiTune() {
    TTrack conductor;
    conductor.Add(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}); // 4/4
    conductor.Add(0, Tempo(100));
    // The closing bar slows down a little.
    conductor.Add((kBars - 2) * kBar, Tempo(92));
    conductor.Add((kBars - 1) * kBar, Tempo(80));

    TTrack melody; // flute, channel 0
    melody.Add(0, Program(0, 73));
    int tick = 0;
    for (const std::vector<TNote>& bar : Melody())
        for (const TNote& n : bar) {
            melody.Note(0, tick, n.eighths * kEighth, n.pitch, 92);
            tick += n.eighths * kEighth;
        }

    TTrack accompaniment; // acoustic bass on channel 1, strings on channel 2
    accompaniment.Add(0, Program(1, 32));
    accompaniment.Add(0, Program(2, 48));
    for (int bar = 0; bar < kBars; ++bar) {
        const bool last = bar == kBars - 1;
        const std::array<int, 3>& chord = kChords[last ? 0 : bar % 4];
        const int start = bar * kBar;
        const int root = chord[0] - 24;
        for (const int pitch : chord)
            accompaniment.Note(2, start, kBar, pitch, last ? 60 : 52);
        if (last) {
            accompaniment.Note(1, start, kBar, root, 96);
            continue;
        }
        // Root, fifth, octave, fifth: a walking bass a quarter note a step.
        const std::array<int, 4> steps = {0, 7, 12, 7};
        for (int q = 0; q < 4; ++q)
            accompaniment.Note(1, start + q * kDivision, kDivision, root + steps[q],
                               q == 0 ? 100 : 84);
    }

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3};
    file.push_back(std::uint8_t(kDivision >> 8));
    file.push_back(std::uint8_t(kDivision & 0xFF));
    for (TTrack* track : {&conductor, &melody, &accompaniment}) {
        const std::vector<std::uint8_t> chunk = track->Bytes();
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

std::vector<double> MakeArpeggioPiece(int rate) {
    // Am - F - C - G twice, one bar of rising and falling eighths each, over
    // a low bell on the root: 8 bars at 96 beats a minute, then the last
    // chord rings out.
    constexpr double kEighthSeconds = 60.0 / 96.0 / 2.0;
    constexpr std::array<int, 4> kRoots = {57, 53, 48, 55}; // A3 F3 C3 G3
    constexpr std::array<std::array<int, 2>, 4> kThirdsFifths = {{{3, 7}, {4, 7}, {4, 7}, {4, 7}}};
    constexpr std::array<int, 8> kShape = {0, 1, 2, 3, 4, 3, 2, 1}; // steps up the chord
    std::vector<double> out = Silence(rate, 8 * 8 * kEighthSeconds + 1.8);
    for (int bar = 0; bar < 8; ++bar) {
        const int root = kRoots[std::size_t(bar % 4)];
        const std::array<int, 5> chord = {root, root + kThirdsFifths[std::size_t(bar % 4)][0],
                                          root + kThirdsFifths[std::size_t(bar % 4)][1], root + 12,
                                          root + 12 + kThirdsFifths[std::size_t(bar % 4)][0]};
        const double start = bar * 8 * kEighthSeconds;
        AddBell(out, rate, start, NoteFrequency(root - 12), 1.6, 0.55);
        for (int i = 0; i < 8; ++i)
            AddBell(out, rate, start + i * kEighthSeconds,
                    NoteFrequency(chord[std::size_t(kShape[std::size_t(i)])]), 0.5,
                    i == 0 ? 0.5 : 0.38);
    }
    FinishAndNormalise(out, rate, 0.7);
    return out;
}

} // namespace artgen
