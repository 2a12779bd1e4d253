// The audio stream of an .mp3: its first frame header, found after the ID3v2
// tag or inside a RIFF wrapper, and the Xing or VBRI header of a file with a
// variable bit rate. Together they give the bit rate, the frame count and the
// duration.
#pragma once

#include "music/tag_source.h"
#include "music/track_tags.h"

namespace dorvane {

// How far past the ID3v2 tag (and a RIFF wrapper's header) the search for the
// first frame looks.
inline constexpr std::uint64_t kFrameSearchBytes = 8192;

// Fills info from source; info.FileSize, ID3v2Size and ID3v1Size are already
// set by the caller, the rest is clear.
void ReadMpegStream(TTagSource& source, MpegInfo& info);

// The header fields and what follows from them alone (no file needed).
void DecodeMpegHeader(MpegInfo& info);

} // namespace dorvane
