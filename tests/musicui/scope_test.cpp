// The visualiser's picture and its title banner, offscreen (Qt Test).
#include "musicui/scope_picture.h"

#include <QPainter>
#include <QtTest>

using namespace dorvane;

namespace {

TWaveSnapshot Silence() {
    TWaveSnapshot s;
    s.fill(128);
    return s;
}

// A loud sine over the 640 columns, both channels.
TWaveSnapshot Tone() {
    TWaveSnapshot s;
    s.fill(128);
    for (int j = 0; j < kSnapshotColumns; ++j) {
        const int swing = int(100 * std::sin(j / 20.0));
        for (int c = 0; c < 2; ++c) {
            s[std::size_t(4 + 4 * j + 2 * c)] = std::uint8_t(128 + std::abs(swing) + 10);
            s[std::size_t(5 + 4 * j + 2 * c)] = std::uint8_t(128 - std::abs(swing) - 10);
        }
    }
    return s;
}

bool AllBlack(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0)) return false;
    return true;
}

} // namespace

class TScopeTest : public QObject {
    Q_OBJECT

private slots:
    void SilenceDrawsTheGridAndTwoFlatLines() {
        TScopePicture picture(1, 0);
        picture.DrawFrame(Silence());
        const QImage& image = picture.Picture();
        QCOMPARE(image.size(), QSize(640, 320));
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 640; ++x) {
                QRgb expected = qRgb(0, 0, 0);
                if ((x % 16 == 0 && x >= 16 && x <= 624) || (y % 16 == 0 && y >= 16 && y <= 304))
                    expected = qRgb(0, 0x80, 0);
                if (y == 80 || y == 240) expected = qRgb(0, 0xFF, 0);
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QString("pixel %1,%2 is %3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(image.pixel(x, y) & 0xFFFFFF, 6, 16, QChar('0'))));
            }
        }
    }

    void RadialTechnicalSilenceIsTwoCircles() {
        // Radius 64 and 128 around the centre: the points at angle 0 and π/2.
        TScopePicture picture(1, 1);
        picture.DrawFrame(Silence());
        const QImage& image = picture.Picture();
        QCOMPARE(image.pixel(320 + 64, 160), qRgb(0, 0xFF, 0));
        QCOMPARE(image.pixel(320 + 128, 160), qRgb(0, 0xFF, 0));
        QCOMPARE(image.pixel(320, 160 + 128), qRgb(0, 0xFF, 0));
        QCOMPARE(image.pixel(320 + 100, 170), qRgb(0, 0, 0));
    }

    void ChoosingTheCurrentStyleKeepsThePicture() {
        TScopePicture picture(7, 8);
        for (int i = 0; i < 3; ++i)
            picture.DrawFrame(Tone());
        const QImage before = picture.Picture().copy();
        QVERIFY(!AllBlack(before));
        QVERIFY(!picture.SetStyle(8));
        QCOMPARE(picture.Picture(), before);
        QVERIFY(picture.SetStyle(9));
        QVERIFY(AllBlack(picture.Picture()));
        QVERIFY(picture.SetStyle(99));
        QCOMPARE(picture.Style(), 15);
    }

    void EveryStyleDrawsTheToneAndFadesSilence() {
        for (int style = 0; style < kScopeStyles; ++style) {
            TScopePicture picture(3, style);
            for (int i = 0; i < 3; ++i)
                picture.DrawFrame(Tone());
            QVERIFY2(!AllBlack(picture.Picture()), qPrintable(ScopeCaption(style)));
            if (style < 2) continue;
            // The flame style draws nothing for silence: its flames burn out.
            if (style == 6) {
                for (int i = 0; i < 200; ++i)
                    picture.DrawFrame(Silence());
                QVERIFY(AllBlack(picture.Picture()));
            }
        }
    }

    void Captions_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << 0 << "Осциллограф линейный  технический";
        QTest::newRow("1") << 1 << "Осциллограф радиальный  технический";
        QTest::newRow("6") << 6 << "Осциллограф линейный  пламенный";
        QTest::newRow("12") << 12 << "Осциллограф радиальный  цветной 3";
        QTest::newRow("14") << 14 << "Осциллограф фигурный  «Лиссажу»";
    }
    void Captions() {
        QFETCH(int, style);
        QFETCH(QString, caption);
        QCOMPARE(ScopeCaption(style), caption);
    }

    void BannerRestartsOnEveryNewPosition() {
        TRandom random(5);
        TTitleBanner banner;
        QImage image(640, 320, QImage::Format_RGB888);
        QPainter painter(&image);
        auto frames = [&](int count, std::int64_t now) {
            for (int i = 0; i < count; ++i)
                banner.Draw(painter, QStringLiteral("1. Тон"), now);
        };
        auto atStart = [&] {
            return banner.Visible() && !banner.Arrived() &&
                   banner.Position() == (banner.Direction() == 0 ? 639 : 0);
        };
        banner.Follow(3, random);
        QVERIFY(atStart());
        frames(700, 0);
        QVERIFY(banner.Arrived());
        banner.Follow(3, random); // the same position: the banner goes on
        QVERIFY(banner.Arrived());
        frames(1, 4999);
        QVERIFY(banner.Visible());
        frames(1, 5000);
        QVERIFY(!banner.Visible());
        // A new position, and the old one again (Previous, then Next).
        bool bothSides[2] = {false, false};
        for (int position : {4, 3, 4, 3, 4, 3, 4, 3, 4, 3, 4, 3}) {
            frames(5, 0);
            banner.Follow(position, random);
            QVERIFY(atStart());
            bothSides[banner.Direction()] = true;
        }
        QVERIFY(bothSides[0] && bothSides[1]);
    }
};

QTEST_MAIN(TScopeTest)
#include "scope_test.moc"
