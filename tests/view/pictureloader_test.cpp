#include "view/assets.h"
#include "view/jpegdecoder.h"
#include "view/pictureloader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace dorvane {
namespace {

// A smooth picture that compresses well, so large test photos stay small.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    return image;
}

QByteArray Encode(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes;
}

class PictureFiles : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

// Sets the width and height of the first frame header of a JPEG stream.
QByteArray WithJpegSize(QByteArray jpeg, int width, int height) {
    for (int i = 2; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(Assets, EveryBuiltinPictureAndSoundIsThere) {
    for (int n = 1; n <= kTextureCount; ++n)
        EXPECT_EQ(BuiltinTexture(n).size(), QSize(200, 200)) << n;
    EXPECT_EQ(BuiltinTexture(0), BuiltinTexture(1));
    for (int k = 0; k < kBuiltinFigures; ++k) {
        const QImage ball = BuiltinFigure(k);
        ASSERT_EQ(ball.size(), QSize(40, 40)) << k;
        // Round: clear in the corners, solid in the middle.
        EXPECT_EQ(qAlpha(ball.pixel(0, 0)), 0) << k;
        EXPECT_EQ(qAlpha(ball.pixel(20, 20)), 255) << k;
    }
    EXPECT_TRUE(BuiltinFigure(4).isNull());
    for (int k = 0; k < kSmallPictures; ++k)
        EXPECT_EQ(SmallPicture(k).size(), QSize(16, 16)) << k;
    EXPECT_EQ(PersonPicture().size(), QSize(32, 32));
    EXPECT_EQ(SidePicture(true).size(), QSize(72, 32));
    EXPECT_EQ(SidePicture(false).size(), QSize(72, 32));
    EXPECT_NE(SidePicture(true), SidePicture(false));
    EXPECT_EQ(ProgramIcon().availableSizes().size(), 7);
    EXPECT_EQ(LogoPicture(1).size(), QSize(240, 78));
    EXPECT_EQ(LogoPicture(2).size(), QSize(48, 48));
    for (const char* name : {"RBEGIN", "RMOVE", "REND"})
        EXPECT_TRUE(ResourceBytes(QString::fromLatin1(name)).startsWith("RIFF")) << name;
}

TEST_F(PictureFiles, FieldAcceptsOnlyBitmaps) {
    const QImage picture = Gradient(300, 250);
    const TLoadedPicture bmp = LoadFieldPicture(Write("f.bmp", Encode(picture, "bmp")), 2);
    EXPECT_TRUE(bmp.FromFile);
    EXPECT_EQ(bmp.Image.size(), QSize(300, 250));

    // A good picture of another kind is not a field picture, whatever its name.
    const TLoadedPicture png = LoadFieldPicture(Write("f2.bmp", Encode(picture, "png")), 2);
    EXPECT_FALSE(png.FromFile);
    EXPECT_EQ(png.Image, BuiltinTexture(2));
}

TEST_F(PictureFiles, BackgroundReadsAnyPictureQtKnows) {
    const TLoadedPicture png =
        LoadBackgroundPicture(Write("b.png", Encode(Gradient(50, 40), "png")), 4);
    EXPECT_TRUE(png.FromFile);
    EXPECT_EQ(png.Image.size(), QSize(50, 40));
}

TEST_F(PictureFiles, JpegPhotosAreScaledWhileDecodingButStillCoverTheBoard) {
    struct TCase {
        QSize photo;
        bool progressive;
        QSize decoded;
    };
    const TCase cases[] = {
        {{600, 500}, false, {600, 500}},   // already small: full size
        {{1800, 1600}, false, {900, 800}}, // a quarter would be 400 high
        {{3600, 3600}, true, {450, 450}},  // an eighth still covers 445
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.photo.width());
        const QString path = Write("photo.jpg", Encode(Gradient(c.photo.width(), c.photo.height()),
                                                       "jpeg", c.progressive));
        const TLoadedPicture loaded = LoadBackgroundPicture(path, 1);
        EXPECT_TRUE(loaded.FromFile);
        EXPECT_EQ(loaded.Image.size(), c.decoded);
        // The colours survive: left edge dark red, right edge bright red.
        EXPECT_LT(qRed(loaded.Image.pixel(2, 2)), 40);
        EXPECT_GT(qRed(loaded.Image.pixel(loaded.Image.width() - 3, 2)), 215);
    }
    QImage grey = Gradient(64, 64).convertToFormat(QImage::Format_Grayscale8);
    const QImage decoded =
        ReadPictureFile(Write("grey.jpg", Encode(grey, "jpeg")), kBackgroundCover);
    EXPECT_EQ(decoded.size(), QSize(64, 64));
}

TEST_F(PictureFiles, DamagedOrMissingFilesFallBackToTheTexture) {
    const QByteArray bmp = Encode(Gradient(120, 90), "bmp");
    const QByteArray jpeg = Encode(Gradient(700, 600), "jpeg");
    const QByteArray png = Encode(Gradient(120, 90), "png");
    QByteArray hugeBmp = bmp;
    hugeBmp[18] = hugeBmp[19] = hugeBmp[20] = char(0x7F); // 8 million pixels each way
    hugeBmp[22] = hugeBmp[23] = hugeBmp[24] = char(0x7F);
    QByteArray overflowBmp = bmp; // widest width, deepest pixels: the size sum overflows
    overflowBmp[18] = overflowBmp[19] = overflowBmp[20] = char(0xFF);
    overflowBmp[21] = char(0x7F);
    overflowBmp[22] = overflowBmp[23] = overflowBmp[24] = char(0xFF);
    overflowBmp[25] = char(0x7F);
    overflowBmp[28] = overflowBmp[29] = char(0xFF);
    QByteArray jpegJunk = jpeg.left(200);
    jpegJunk.append(QByteArray(3000, char(0x5A)));

    struct TCase {
        const char* name;
        QByteArray bytes;
        bool field;
    };
    const TCase cases[] = {
        {"empty.bmp", {}, true},
        {"half.bmp", bmp.left(bmp.size() / 2), true},
        {"header-only.bmp", bmp.left(30), true},
        {"huge.bmp", hugeBmp, true},
        {"overflow.bmp", overflowBmp, true},
        {"half.jpg", jpeg.left(jpeg.size() / 2), false},
        {"soi-only.jpg", jpeg.left(3), false},
        {"junk.jpg", jpegJunk, false},
        {"giant.jpg", WithJpegSize(jpeg, 65000, 65000), false},
        {"zero.jpg", WithJpegSize(jpeg, 0, 600), false},
        {"half.png", png.left(png.size() / 2), false},
        {"text.png", QByteArray("not a picture at all"), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Write(c.name, c.bytes);
        const TLoadedPicture loaded =
            c.field ? LoadFieldPicture(path, 5) : LoadBackgroundPicture(path, 5);
        EXPECT_FALSE(loaded.FromFile);
        EXPECT_EQ(loaded.Image, BuiltinTexture(5));
    }
    for (const bool field : {true, false}) {
        const QString missing = dir.filePath("gone.bmp");
        const TLoadedPicture loaded =
            field ? LoadFieldPicture(missing, 3) : LoadBackgroundPicture(missing, 3);
        EXPECT_FALSE(loaded.FromFile);
        EXPECT_EQ(loaded.Image, BuiltinTexture(3));
    }
}

// Qt's own JPEG plugin is the oracle: our decoder must see the same colours
// in every kind of stream the corpus holds (baseline, progressive, grey,
// Adobe CMYK, chroma subsampled).
TEST(JpegDecoder, AgreesWithQtsDecoderOnEveryKindOfStream) {
    const QDir corpus(QStringLiteral(DORVANE_JPEG_CORPUS));
    for (const char* name :
         {"baseline.jpg", "progressive.jpg", "grey.jpg", "cmyk.jpg", "subsampled.jpg"}) {
        SCOPED_TRACE(name);
        const QString path = corpus.filePath(QString::fromLatin1(name));
        const QImage ours = ReadPictureFile(path, QSize());
        const QImage qt = QImage(path).convertToFormat(QImage::Format_RGB888);
        ASSERT_FALSE(ours.isNull());
        ASSERT_EQ(ours.size(), qt.size());
        int worst = 0;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y), b = qt.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, 6);
    }
}

TEST(JpegDecoder, RefusesWhatIsNotAJpegStream) {
    const unsigned char png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_FALSE(LooksLikeJpeg(png, sizeof png));
    EXPECT_TRUE(DecodeJpeg(png, sizeof png, kBackgroundCover).isNull());
    EXPECT_TRUE(DecodeJpeg(nullptr, 0, kBackgroundCover).isNull());
}

TEST(Resources, DrawResourceJpegPutsTheLogoAtItsCorner) {
    QImage canvas(300, 100, QImage::Format_RGB32);
    canvas.fill(Qt::magenta);
    {
        QPainter painter(&canvas);
        DrawResourceJpeg(painter, 30, 10, QStringLiteral("LOGO1"));
        DrawResourceJpeg(painter, 0, 0, QStringLiteral("NO_SUCH_LOGO")); // draws nothing
        DrawResourceJpeg(painter, 0, 0, QStringLiteral("TEXTURE1"));     // a PNG: nothing either
    }
    const QImage logo = LogoPicture(1);
    EXPECT_EQ(canvas.pixel(0, 0), QColor(Qt::magenta).rgb());
    EXPECT_EQ(canvas.pixel(29, 50), QColor(Qt::magenta).rgb());
    EXPECT_EQ(canvas.pixel(30, 10), logo.pixel(0, 0));
    EXPECT_EQ(canvas.pixel(30 + 239, 10 + 77), logo.pixel(239, 77));
    EXPECT_EQ(canvas.pixel(30 + 240, 50), QColor(Qt::magenta).rgb());
}

} // namespace
} // namespace dorvane
