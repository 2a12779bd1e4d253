#include "view/figurelist.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace dorvane {
namespace {

class FigureListTest : public ::testing::Test {
protected:
    // A red square on white, the way a player draws a figure.
    QString RedSquare(const QString& name, const char* format) {
        QImage image(80, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 20; y < 60; ++y)
            for (int x = 20; x < 60; ++x)
                image.setPixel(x, y, qRgb(220, 0, 0));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(FigureListTest, BuiltinBallsAndTheirSmallPictures) {
    const TFigureList list;
    EXPECT_EQ(list.FigureCount(), 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(list.Figure(k).size(), QSize(40, 40));
        EXPECT_EQ(list.SmallFigure(k).size(), QSize(16, 16));
        EXPECT_EQ(TFigureList::SmallPictureIndex(k), 11 + k);
    }
    EXPECT_EQ(TFigureList::SmallPictureIndex(4), 16);
    EXPECT_EQ(TFigureList::SmallPictureIndex(6), 18);
    EXPECT_TRUE(list.Figure(4).isNull());
    EXPECT_TRUE(list.SmallFigure(-1).isNull());
}

TEST_F(FigureListTest, AddedPictureIsStretchedWithItsBackgroundCleared) {
    TFigureList list;
    ASSERT_TRUE(list.AddPicture(RedSquare("red.png", "PNG")));
    ASSERT_EQ(list.FigureCount(), 5);
    for (const QImage& image : {list.Figure(4), list.SmallFigure(4)}) {
        const int size = image.width();
        EXPECT_EQ(qAlpha(image.pixel(0, size - 1)), 0);
        EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
        EXPECT_EQ(image.pixel(size / 2, size / 2), qRgb(220, 0, 0));
    }
    EXPECT_EQ(list.SmallFigure(4).size(), QSize(16, 16));
    EXPECT_EQ(list.Paths(), QStringList{dir.filePath("red.png")});
}

TEST_F(FigureListTest, UnreadableAndShortStoredPathsAreSkipped) {
    TFigureList list;
    QFile junk(dir.filePath("junk.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x89PNG\r\n\x1a\n broken");
    junk.close();
    const QString good = RedSquare("good.bmp", "BMP");
    list.AddStoredPictures(
        {dir.filePath("gone.png"), junk.fileName(), QStringLiteral("a.b"), QString(), good});
    EXPECT_EQ(list.FigureCount(), 5);
    EXPECT_EQ(list.Paths(), QStringList{good});
    EXPECT_FALSE(list.AddPicture(junk.fileName()));
    EXPECT_EQ(list.FigureCount(), 5);
}

TEST_F(FigureListTest, ExportWritesEveryFigureAsNumberedBitmap) {
    TFigureList list;
    ASSERT_TRUE(list.AddPicture(RedSquare("one.png", "PNG")));
    ASSERT_TRUE(list.AddPicture(RedSquare("two.jpg", "JPEG")));
    EXPECT_EQ(list.FigureCount(), 6);
    QTemporaryDir out;
    ASSERT_TRUE(list.Export(out.path()));
    for (int k = 0; k < 6; ++k) {
        const QImage saved(out.filePath(QStringLiteral("Dorvane%1.bmp").arg(k)), "BMP");
        EXPECT_EQ(saved.size(), QSize(40, 40)) << k;
    }
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("Dorvane6.bmp"))));
    EXPECT_FALSE(list.Export(out.filePath(QStringLiteral("no/such/folder"))));
}

} // namespace
} // namespace dorvane
