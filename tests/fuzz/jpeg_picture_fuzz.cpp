// Background and field pictures come from any file the player picks. The
// JPEG decoder and the bitmap check must answer every byte string with a
// picture or a refusal - never a crash, a hang or a runaway allocation - and
// a decoded photo is never larger than the limits allow.
#include "view/jpegdecoder.h"
#include "view/pictureloader.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const QImage photo = DecodeJpeg(data, size, kBackgroundCover);
    if (!photo.isNull() && (photo.width() <= 0 || photo.height() <= 0 ||
                            std::int64_t(photo.width()) * photo.height() > 16'000'000))
        std::abort();
    const QImage full = DecodeJpeg(data, size, QSize());
    if (photo.isNull() != full.isNull()) std::abort();

    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage bitmap = ReadBitmapBytes(bytes);
    if (!bitmap.isNull() && !bytes.startsWith("BM")) std::abort();
    return 0;
}
