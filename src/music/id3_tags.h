// The two ID3 tags of an .mp3: version 2 at the start, version 1 in the last
// 128 bytes.
#pragma once

#include "music/tag_source.h"
#include "music/track_tags.h"

#include <cstdint>

namespace dorvane {

// A text frame longer than this is no title: it is passed over unread, so a
// frame size that claims most of a large file never becomes an allocation.
inline constexpr std::uint32_t kMaxTextFrame = 1u << 20;

// Reads the version 2 tag at the start of source into info (which the caller
// has cleared), decoding at most detail fields. Returns the tag's size with
// its header, 0 when there is none.
std::uint32_t ReadID3v2(TTagSource& source, TID3v2Info& info, TagDetail detail);

// Reads the version 1 tag at the end of source into info (cleared by the
// caller). Its fields are not counted against detail; detail only says which
// of them are wanted. True when the tag is there.
bool ReadID3v1(TTagSource& source, TID3v1Info& info, TagDetail detail);

} // namespace dorvane
