// The texts of tags: how ID3v2 frame bodies and ASF strings become QStrings.
#pragma once

#include "music/tag_source.h"

#include <QString>

namespace dorvane {

// An ID3v2 text frame's body, its first byte the text encoding:
// - 1: UTF-16 after a byte-order mark (bytes of 32 or less before the mark
//   are passed over);
// - 2: UTF-16 big-endian without a mark;
// - 3: UTF-8;
// - 0, and any byte that is no encoding: single bytes in Windows-1251 (a byte
//   above 3 is the text's own first byte).
// A UTF-16 text ends at its first U+0000. Single-byte and UTF-8 texts lose
// every byte below 32: NULs between the strings of a version 2.4 frame,
// line ends, stray controls. Every text is trimmed of characters of 32 or
// less at both ends.
QString DecodeFrameText(TByteView body);

// The same for text that follows the encoding byte somewhere further into a
// frame (comments, lyrics); encoding as above, the text without it.
QString DecodeText(std::uint8_t encoding, TByteView text);

// UTF-16 little-endian as ASF stores it: up to the first U+0000, trimmed.
QString DecodeUtf16Le(TByteView bytes);
// The same untrimmed, for names that are matched exactly.
QString DecodeUtf16LeName(TByteView bytes);

// The text before its first line end.
QString FirstLine(const QString& text);

} // namespace dorvane
