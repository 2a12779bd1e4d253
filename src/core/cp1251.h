// Windows-1251, the single-byte code page that old Russian tag writers used
// for every text they did not mark as Unicode (ID3v1 tags, ID3v2 frames in
// encoding 0). Qt's own decoders know only the Unicode forms and Latin-1
// without ICU, so the upper half of the page is a table here.
#pragma once

#include <QString>

#include <cstdint>
#include <span>

namespace dorvane {

// Every byte gives one character; 0x98, which the page leaves undefined,
// gives U+FFFD.
QString DecodeCp1251(std::span<const std::uint8_t> bytes);

} // namespace dorvane
