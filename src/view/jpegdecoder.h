// JPEG pictures decoded with libjpeg-turbo directly, so that a large photo
// is scaled down while it is decoded (by 1/2, 1/4 or 1/8) instead of being
// expanded to full size first. Data comes from outside: any damage - a
// truncated file, a corrupt stream, absurd dimensions - gives a null image.
#pragma once

#include <QImage>
#include <QSize>

#include <cstddef>

namespace dorvane {

// True when the data starts like a JPEG stream (SOI marker).
bool LooksLikeJpeg(const unsigned char* data, std::size_t size);

// Decodes the picture at the smallest scale that still covers `cover` in
// both directions (an empty size keeps the full size). Null on any error.
QImage DecodeJpeg(const unsigned char* data, std::size_t size, QSize cover);

} // namespace dorvane
