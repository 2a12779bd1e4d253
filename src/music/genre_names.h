// The genre names of ID3 version 1 (a genre byte) and of ID3v2 TCON frames
// that give "(n)": the 80 names of the original list and the Winamp
// extensions, spelled as those players spelled them.
#pragma once

#include <array>
#include <string_view>

namespace dorvane {

inline constexpr std::size_t kGenreCount = 148;

extern const std::array<std::string_view, kGenreCount> GenreNames;

} // namespace dorvane
