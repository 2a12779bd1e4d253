// The level meter's pictures, checked against pictures worked out by hand
// for a few sizes (the bands below are written out, not computed the way
// the meter computes them), and the control around them.
#include "musicui/indicator_model.h"
#include "musicui/kvoindicator.h"

#include <QSignalSpy>
#include <QtTest>

#include <vector>

using namespace dorvane;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(0xFF, 0, 0), kDimRed = qRgb(0x80, 0, 0);
const QRgb kYellow = qRgb(0xFF, 0xFF, 0), kDimYellow = qRgb(0x80, 0x80, 0);
const QRgb kGreen = qRgb(0, 0xFF, 0), kDimGreen = qRgb(0, 0x80, 0);

// Rows top..bottom of the given columns lit in a colour, every third row
// (the gap between two segments) left black.
struct TBand {
    int top, bottom;
    QRgb colour;
};

QImage Expected(QSize size, const std::vector<std::pair<int, int>>& columns,
                const std::vector<TBand>& bands) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlack);
    for (const TBand& band : bands)
        for (int y = band.top; y <= band.bottom; ++y) {
            if ((y - band.top) % 3 == 2) continue;
            for (const auto& [left, right] : columns)
                for (int x = left; x <= right; ++x)
                    image.setPixel(x, y, band.colour);
        }
    return image;
}

// Empty when the pictures agree, else the first pixel that differs.
QString Difference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y) | 0xFF000000u;
            const QRgb e = expected.pixel(x, y) | 0xFF000000u;
            if (a != e)
                return QStringLiteral("(%1, %2) is #%3, expected #%4")
                    .arg(x)
                    .arg(y)
                    .arg(a & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(e & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        }
    return {};
}

#define COMPARE_PICTURE(actual, expected)                                                          \
    do {                                                                                           \
        const QString difference = Difference(actual, expected);                                   \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                    \
    } while (false)

QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

const TIndicatorLook kZones{0, qRgb(0xFF, 0, 0), qRgb(0xFF, 0xFF, 0)};

} // namespace

class IndicatorTest : public QObject {
    Q_OBJECT

private slots:
    // 32 x 128: 39 segments, columns x 4..15 and 18..29; segment 1 (rows 5-6)
    // red, 2-4 (rows 8-15) yellow, 5-39 (rows 17-120) green.
    void zonesInSilenceAreAllDim() {
        const QImage expected =
            Expected({32, 128}, {{4, 15}, {18, 29}},
                     {{5, 6, kDimRed}, {8, 15, kDimYellow}, {17, 120, kDimGreen}});
        COMPARE_PICTURE(PaintIndicator(QSize(32, 128), kZones, 0, 0), expected);
    }

    void zonesAtFullScaleAreAllLit() {
        const QImage expected = Expected({32, 128}, {{4, 15}, {18, 29}},
                                         {{5, 6, kRed}, {8, 15, kYellow}, {17, 120, kGreen}});
        COMPARE_PICTURE(PaintIndicator(QSize(32, 128), kZones, 128, 128), expected);
    }

    // 19 x 200, the playlist window's narrowest meter: 63 segments, columns
    // x 4..8 and 11..15; segment 1 red, 2-6 (rows 8-21) yellow, 7-63 (rows
    // 23-192) green.
    void narrowAndTallZones() {
        COMPARE_PICTURE(PaintIndicator(QSize(19, 200), kZones, 0, 0),
                        Expected({19, 200}, {{4, 8}, {11, 15}},
                                 {{5, 6, kDimRed}, {8, 21, kDimYellow}, {23, 192, kDimGreen}}));
        COMPARE_PICTURE(PaintIndicator(QSize(19, 200), kZones, 128, 128),
                        Expected({19, 200}, {{4, 8}, {11, 15}},
                                 {{5, 6, kRed}, {8, 21, kYellow}, {23, 192, kGreen}}));
    }

    // Level 64 of 128 on 39 segments: 19.5 rounds to 20, so segments 21-39
    // (rows 65-120) light; level 120: 2.4375 rounds to 2, segments 3-39.
    void eachColumnLightsUpToItsOwnLevel() {
        const QImage left = Expected(
            {32, 128}, {{4, 15}},
            {{5, 6, kDimRed}, {8, 15, kDimYellow}, {17, 63, kDimGreen}, {65, 120, kGreen}});
        const QImage right =
            Expected({32, 128}, {{18, 29}},
                     {{5, 6, kDimRed}, {8, 9, kDimYellow}, {11, 15, kYellow}, {17, 120, kGreen}});
        QImage expected = left;
        for (int y = 0; y < 128; ++y)
            for (int x = 16; x < 32; ++x)
                expected.setPixel(x, y, right.pixel(x, y));
        COMPARE_PICTURE(PaintIndicator(QSize(32, 128), kZones, 64, 120), expected);
    }

    // On 40 segments (height 130) the first lit segment falls on halves:
    // they go to the even neighbour.
    void halvesOfASegmentGoToTheEvenNeighbour() {
        QCOMPARE(SegmentCount(130), 40);
        QCOMPARE(FirstLitSegment(120, 40), 3); // 2.5 -> 2
        QCOMPARE(FirstLitSegment(104, 40), 9); // 7.5 -> 8
        QCOMPARE(FirstLitSegment(88, 40), 13); // 12.5 -> 12
        QCOMPARE(FirstLitSegment(-5, 40), 41); // clamped: nothing lit
        QCOMPARE(FirstLitSegment(500, 40), 1);
    }

    // Style 1 with the window's colours #0080C0 -> #00FFFF on 39 segments:
    // the bottom segment has the begin colour, the top one 38/39 of the way
    // (128 + 123.7 -> 252, 192 + 61.4 -> 253); dim ones are halved.
    void blendRunsFromBeginAtTheBottomToNearlyEndAtTheTop() {
        const TIndicatorLook look{1, qRgb(0x00, 0x80, 0xC0), qRgb(0x00, 0xFF, 0xFF)};
        const QImage lit = PaintIndicator(QSize(32, 128), look, 128, 0);
        QCOMPARE(Pixel(lit, 4, 119), qRgb(0, 128, 192));
        QCOMPARE(Pixel(lit, 15, 120), qRgb(0, 128, 192));
        QCOMPARE(Pixel(lit, 4, 5), qRgb(0, 252, 253));
        QCOMPARE(Pixel(lit, 4, 7), kBlack);
        QCOMPARE(Pixel(lit, 18, 119), qRgb(0, 64, 96));
        QCOMPARE(Pixel(lit, 18, 5), qRgb(0, 126, 126));
        // Falling colours round towards the end colour too: #FF0000 ->
        // #800000, 255 - 123.7 -> 131 at the top.
        const TIndicatorLook falling{1, qRgb(0xFF, 0, 0), qRgb(0x80, 0, 0)};
        const QImage down = PaintIndicator(QSize(32, 128), falling, 128, 128);
        QCOMPARE(Pixel(down, 4, 5), qRgb(131, 0, 0));
        QCOMPARE(Pixel(down, 4, 120), qRgb(255, 0, 0));
    }

    // Style 2 on 32 x 128: scale 118/128; full scale lights rows 5-122, red
    // above row 9, yellow above row 18. Column 0 (x 4..15, half width 5,
    // centre 9) is drawn at x 4..14; its brightness falls by 25.6 a pixel
    // from the centre; the unlit tube is grey 64 at the centre, 128 at the
    // sides.
    void tubeStyle() {
        const TIndicatorLook look{2, qRgb(0xFF, 0, 0), qRgb(0xFF, 0xFF, 0)};
        const QImage full = PaintIndicator(QSize(32, 128), look, 128, 0);
        struct TCase {
            int x, y;
            QRgb colour;
        };
        const TCase cases[] = {
            {9, 4, kBlack},
            {9, 5, qRgb(255, 0, 0)},
            {9, 8, qRgb(255, 0, 0)},
            {9, 9, qRgb(255, 255, 0)},
            {9, 17, qRgb(255, 255, 0)},
            {9, 18, qRgb(0, 255, 0)},
            {9, 122, qRgb(0, 255, 0)},
            {9, 123, kBlack},
            {8, 60, qRgb(0, 229, 0)},
            {10, 60, qRgb(0, 229, 0)},
            {7, 12, qRgb(203, 203, 0)},
            {4, 6, qRgb(127, 0, 0)},
            {14, 6, qRgb(127, 0, 0)},
            {15, 60, kBlack},
            {3, 60, kBlack},
            // Column 1 (x 18..29, centre 23) at level 0: all grey.
            {23, 5, qRgb(64, 64, 64)},
            {22, 122, qRgb(76, 76, 76)},
            {18, 60, qRgb(128, 128, 128)},
            {29, 60, kBlack},
        };
        for (const TCase& c : cases)
            QVERIFY2(Pixel(full, c.x, c.y) == c.colour,
                     qPrintable(QStringLiteral("(%1, %2): #%3")
                                    .arg(c.x)
                                    .arg(c.y)
                                    .arg(Pixel(full, c.x, c.y) & 0xFFFFFF, 6, 16)));
        // Half scale: rows 5-63 grey, 64-122 green.
        const QImage half = PaintIndicator(QSize(32, 128), look, 64, 64);
        QCOMPARE(Pixel(half, 9, 63), qRgb(64, 64, 64));
        QCOMPARE(Pixel(half, 9, 64), qRgb(0, 255, 0));
        QCOMPARE(Pixel(half, 23, 64), qRgb(0, 255, 0));
    }

    // Sizes too small for a column or a segment give a black picture.
    void tinySizesStayBlack() {
        for (const QSize size : {QSize(1, 1), QSize(6, 8), QSize(32, 9), QSize(0, 0)})
            for (int style = 0; style < 3; ++style) {
                const QImage image = PaintIndicator(size, {style, kRed, kYellow}, 128, 128);
                QVERIFY(!image.isNull());
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        QCOMPARE(Pixel(image, x, y), kBlack);
            }
    }

    void presets() {
        QCOMPARE(IndicatorPreset(0).style, 0);
        QVERIFY(!IndicatorPreset(0).colours);
        QCOMPARE(IndicatorPreset(10).style, 2);
        QVERIFY(!IndicatorPreset(10).colours);
        const TIndicatorPreset two = IndicatorPreset(2);
        QCOMPARE(two.style, 1);
        QVERIFY(two.colours);
        QCOMPARE(two.begin, qRgb(0x00, 0x80, 0xC0));
        QCOMPARE(two.end, qRgb(0x00, 0xFF, 0xFF));
        QCOMPARE(IndicatorPreset(12).end, qRgb(0x80, 0x00, 0x00));
    }

    void controlStartsAsTheDefaultMeter() {
        TKvoIndicator meter;
        QCOMPARE(meter.size(), QSize(32, 128));
        QCOMPARE(meter.Modification(), 0);
        QCOMPARE(meter.BeginColor(), qRgb(0xFF, 0, 0));
        QCOMPARE(meter.EndColor(), qRgb(0xFF, 0xFF, 0));
        COMPARE_PICTURE(meter.Picture(), PaintIndicator(QSize(32, 128), kZones, 0, 0));
    }

    // The left level waits for the right one, which draws both.
    void theRightLevelDrawsBoth() {
        TKvoIndicator meter;
        meter.SetPosition0(200);
        QCOMPARE(meter.Position0(), 128);
        COMPARE_PICTURE(meter.Picture(), PaintIndicator(QSize(32, 128), kZones, 0, 0));
        meter.SetPosition1(-3);
        QCOMPARE(meter.Position1(), 0);
        COMPARE_PICTURE(meter.Picture(), PaintIndicator(QSize(32, 128), kZones, 128, 0));
    }

    void styleColoursAndSizeRedraw() {
        TKvoIndicator meter;
        meter.SetPosition0(100);
        meter.SetPosition1(50);
        meter.SetBeginColor(qRgb(0x00, 0x80, 0xC0));
        meter.SetEndColor(qRgb(0x00, 0xFF, 0xFF));
        meter.SetModification(1);
        const TIndicatorLook blend{1, qRgb(0x00, 0x80, 0xC0), qRgb(0x00, 0xFF, 0xFF)};
        COMPARE_PICTURE(meter.Picture(), PaintIndicator(QSize(32, 128), blend, 100, 50));
        meter.resize(19, 300);
        COMPARE_PICTURE(meter.Picture(), PaintIndicator(QSize(19, 300), blend, 100, 50));
        meter.SetModification(7);
        QCOMPARE(meter.Modification(), 2);
    }

    void whatIsOnScreenIsThePicture() {
        TKvoIndicator meter;
        meter.SetModification(2);
        meter.SetPosition0(90);
        meter.SetPosition1(30);
        meter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&meter));
        const QImage shown = meter.grab().toImage().convertToFormat(QImage::Format_RGB32);
        COMPARE_PICTURE(shown, meter.Picture());
    }

    void clicks() {
        TKvoIndicator meter;
        meter.show();
        QVERIFY(QTest::qWaitForWindowExposed(&meter));
        QSignalSpy left(&meter, &TKvoIndicator::LeftClicked);
        QSignalSpy menu(&meter, &TKvoIndicator::MenuRequested);
        QTest::mouseClick(&meter, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(left.count(), 1);
        QCOMPARE(menu.count(), 0);
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 6),
                                  meter.mapToGlobal(QPoint(5, 6)));
        QApplication::sendEvent(&meter, &request);
        QCOMPARE(menu.count(), 1);
        QCOMPARE(menu.at(0).at(0).toPoint(), meter.mapToGlobal(QPoint(5, 6)));
        QCOMPARE(left.count(), 1);
    }
};

QTEST_MAIN(IndicatorTest)
#include "indicator_test.moc"
