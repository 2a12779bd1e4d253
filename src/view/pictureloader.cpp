#include "view/pictureloader.h"

#include "view/assets.h"
#include "view/jpegdecoder.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QBuffer>
#include <QImageReader>

#include <cstdint>

namespace dorvane {

namespace {

// Larger files are not pictures anyone loads as a board background, and
// reading them whole would only waste memory.
constexpr std::size_t kMaxPictureFile = 64 * 1024 * 1024;
// Qt's readers refuse images whose decoded size exceeds this many megabytes.
constexpr int kAllocationLimitMb = 128;

// Only a regular file: a FIFO named as a picture would block for ever.
QByteArray ReadWhole(const QString& path) {
    const TFileBytes file = ReadRegularFile(NativeFileName(path), kMaxPictureFile);
    if (!file.ok()) return {};
    return QByteArray(file.bytes.data(), qsizetype(file.bytes.size()));
}

QImage ReadWithQt(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(kAllocationLimitMb);
    if (format != nullptr) reader.setDecideFormatFromContent(false);
    return reader.read();
}

std::uint32_t Le(const QByteArray& b, int at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Qt shows a truncated uncompressed bitmap with its missing rows blank; such
// a file counts as damaged. Compressed bitmaps are left to Qt's reader.
bool BitmapComplete(const QByteArray& b) {
    if (b.size() < 26) return false;
    const std::uint32_t offset = Le(b, 10, 4);
    const std::uint32_t header = Le(b, 14, 4);
    std::int64_t width = 0, height = 0, bits = 0, compression = 0;
    if (header == 12) { // OS/2 core header
        width = Le(b, 18, 2);
        height = Le(b, 20, 2);
        bits = Le(b, 24, 2);
    } else {
        if (b.size() < 34) return false;
        width = static_cast<std::int32_t>(Le(b, 18, 4));
        height = static_cast<std::int32_t>(Le(b, 22, 4));
        bits = Le(b, 28, 2);
        compression = Le(b, 30, 4);
    }
    if (compression != 0 && compression != 3 && compression != 6) return true;
    // Bounded first, so that the size sum below cannot overflow.
    constexpr std::int64_t kMaxSide = 1 << 20;
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide ||
        bits == 0 || bits > 32)
        return false;
    const std::int64_t row = (width * bits + 31) / 32 * 4;
    return std::int64_t(offset) + row * (height < 0 ? -height : height) <= b.size();
}

TLoadedPicture OrBuiltin(QImage image, int builtinTexture) {
    if (!image.isNull()) return {std::move(image), true};
    return {BuiltinTexture(builtinTexture), false};
}

} // namespace

QImage ReadBitmapBytes(const QByteArray& bytes) {
    if (!bytes.startsWith("BM") || !BitmapComplete(bytes)) return {};
    return ReadWithQt(bytes, "bmp");
}

QImage ReadPictureBytes(const QByteArray& bytes, QSize cover) {
    if (bytes.isEmpty()) return {};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (LooksLikeJpeg(data, std::size_t(bytes.size())))
        return DecodeJpeg(data, std::size_t(bytes.size()), cover);
    return ReadWithQt(bytes, nullptr);
}

QImage ReadBitmapFile(const QString& path) {
    return ReadBitmapBytes(ReadWhole(path));
}

QImage ReadPictureFile(const QString& path, QSize cover) {
    return ReadPictureBytes(ReadWhole(path), cover);
}

TLoadedPicture LoadFieldPicture(const QString& path, int builtinTexture) {
    return OrBuiltin(ReadBitmapFile(path), builtinTexture);
}

TLoadedPicture LoadBackgroundPicture(const QString& path, int builtinTexture) {
    return OrBuiltin(ReadPictureFile(path, kBackgroundCover), builtinTexture);
}

} // namespace dorvane
