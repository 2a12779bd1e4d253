// The board's hit testing, the shadowed label's drawing and the message
// boxes.
#include "view/boardwidget.h"
#include "widgets/kvolabel.h"
#include "widgets/messageboxes.h"

#include <QApplication>
#include <QMessageBox>

#include <QImage>
#include <QTest>

namespace dorvane::test {

class TBoardTest : public QObject {
    Q_OBJECT

private slots:
    void fieldPixelsGiveCells_data();
    void fieldPixelsGiveCells();
    void labelDrawsItsShadowOffset_data();
    void labelDrawsItsShadowOffset();
    void labelTakesAmpersandAsAcceleratorOnlyWhenAsked();
    void statementsAreShownWithoutWaiting();
};

// A statement may come from a timer or a search's answer: it must not run
// an event loop of its own, so it is shown and the caller goes on.
void TBoardTest::statementsAreShownWithoutWaiting() {
    QWidget owner;
    owner.show();
    TMessageBoxes messages(&owner);
    messages.Show(QStringLiteral("У меня нет хода."), TMessageIcon::Information);
    QMessageBox* box = owner.findChild<QMessageBox*>();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("Dorvane"));
    QCOMPARE(box->text(), QStringLiteral("У меня нет хода."));
    QCOMPARE(box->icon(), QMessageBox::Information);
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    box->close();
    QTRY_VERIFY(owner.findChild<QMessageBox*>() == nullptr); // it deletes itself
}

void TBoardTest::fieldPixelsGiveCells_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("top left") << QPoint(0, 0) << QPoint(1, 1);
    QTest::newRow("last pixel of a cell") << QPoint(47, 47) << QPoint(1, 1);
    QTest::newRow("first pixel of the next") << QPoint(48, 96) << QPoint(2, 3);
    QTest::newRow("right edge is column 8") << QPoint(386, 10) << QPoint(8, 1);
    QTest::newRow("bottom right corner") << QPoint(386, 386) << QPoint(8, 8);
}

void TBoardTest::fieldPixelsGiveCells() {
    QFETCH(QPoint, pixel);
    QFETCH(QPoint, cell);
    QCOMPARE(TBoardWidget::CellAt(pixel), cell);
}

void TBoardTest::labelDrawsItsShadowOffset_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("offset");
    QTest::newRow("left top") << int(TShadowPosition::spLeftTop) << QPoint(-2, -2);
    QTest::newRow("left bottom") << int(TShadowPosition::spLeftBottom) << QPoint(-2, 2);
    QTest::newRow("right bottom") << int(TShadowPosition::spRightBottom) << QPoint(2, 2);
    QTest::newRow("right top") << int(TShadowPosition::spRightTop) << QPoint(2, -2);
}

void TBoardTest::labelDrawsItsShadowOffset() {
    QFETCH(int, position);
    QFETCH(QPoint, offset);
    TKvoLabel label;
    QFont font = label.font();
    font.setBold(true);
    font.setPixelSize(14);
    label.setFont(font);
    label.SetColor(Qt::white);
    label.SetBackColor(Qt::blue);
    label.SetShadowColor(Qt::black);
    label.SetShadowSize(2);
    label.SetShadowPos(static_cast<TShadowPosition>(position));
    label.SetAdjust(true);
    label.SetCaption(QStringLiteral("H"));
    QCOMPARE(label.ShadowOffset(), offset);

    // Auto-sized with room for the shadow: both copies are drawn whole, the
    // shadow displaced by exactly the offset.
    const QImage image = label.grab().toImage();
    QRect white, black;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            if (colour == Qt::white) white |= QRect(x, y, 1, 1);
            if (colour == Qt::black) black |= QRect(x, y, 1, 1);
        }
    QVERIFY(!white.isEmpty());
    QVERIFY(!black.isEmpty());
    QCOMPARE(black.topLeft() - white.topLeft(), offset);
    QVERIFY(QRect(QPoint(), image.size()).contains(white | black));
}

void TBoardTest::labelTakesAmpersandAsAcceleratorOnlyWhenAsked() {
    TKvoLabel label;
    label.SetAdjust(true);
    label.SetCaption(QStringLiteral("&Ход"));
    const int marked = label.width();
    label.SetShowAccelChar(false);
    QVERIFY(label.width() > marked); // the "&" itself is drawn now
    label.SetCaption(QStringLiteral("Ход"));
    QCOMPARE(label.width(), marked);
}

} // namespace dorvane::test

QTEST_MAIN(dorvane::test::TBoardTest)
#include "board_test.moc"
