#include "music/playlist_schemes.h"

#include <algorithm>
#include <array>

namespace dorvane {

namespace {

constexpr std::array<TListScheme, kListSchemes> kSchemes{{
    {0xFFFFFF, 0x000000, 0x404040, 1, 0},
    {0x183C7B, 0xFFFFFF, 0x9CC0FF, 2, 19},
    {0x000080, 0x00FFFF, 0xFFFF00, 3, 0},
    {0x000000, 0x00FFFF, 0xFFFF00, 2, 0},
    {0x000000, 0x00FF00, 0xFFFF00, 0, 35},
    {0x39384A, 0xFFFFFF, 0xC0C0C0, 8, 139},
    {0x000000, 0xFFFFFF, 0xC0C0C0, 1, 0},
    {0x370A00, 0xFFE6DC, 0xC89B91, 4, 0},
    {0x200020, 0xFFDFFF, 0xC080C0, 5, 0},
    {0x400020, 0xFFEFF7, 0xFF00C0, 6, 0},
    {0x526973, 0xFFFFFF, 0xC0C0C0, 7, 0},
    {0xFFFFC0, 0x800000, 0xFF0000, 8, 0},
    {0xFFFF00, 0xFF0000, 0x008000, 8, 25},
    {0xD6D3D6, 0x103060, 0x603010, 10, 19},
    {0xE7DFE7, 0x000000, 0x800000, 11, 19},
    {0xFFFFFF, 0x000000, 0xC00000, 10, 25},
    {0x400000, 0xFFC0C0, 0xFF0000, 12, 139},
    {0xE9E9E9, 0x000000, 0x5C5C5C, 10, 19},
}};

} // namespace

TListScheme ListScheme(int number) {
    return kSchemes[std::size_t(std::clamp(number, 1, kListSchemes) - 1)];
}

} // namespace dorvane
