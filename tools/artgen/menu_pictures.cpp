// The 16 x 16 pictures of the menus and the panel's small buttons, in the
// order of the small-picture list: 0 open folder, 1 diskette, 2 letter,
// 3 "no" sign, 4..8 to the beginning, back, play, forward, to the end,
// 9 "no" sign, 10 question mark, 11..14 the small balls, 15 musical note.
#include "artgen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace artgen {
namespace {

void Folder(QPainter& p) {
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(13.5, 5.0);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(QColor(128, 88, 10), 1.0));
    p.setBrush(QColor(214, 160, 40));
    p.drawPath(back);
    QPolygonF front({{4.0, 7.5}, {15.0, 7.5}, {12.5, 13.5}, {1.5, 13.5}});
    QLinearGradient g(0, 7, 0, 14);
    g.setColorAt(0, QColor(255, 230, 120));
    g.setColorAt(1, QColor(240, 186, 60));
    p.setBrush(g);
    p.drawPolygon(front);
}

void Diskette(QPainter& p) {
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.setPen(QPen(QColor(18, 30, 80), 1.0));
    p.setBrush(QColor(52, 84, 176));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 206, 214));
    p.drawRect(QRectF(4, 2, 7, 4.5));
    p.setBrush(QColor(52, 84, 176));
    p.drawRect(QRectF(8.5, 2.8, 1.6, 3));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(3.5, 8.5, 9, 5.5));
    p.setPen(QPen(QColor(150, 160, 190), 0.8));
    p.drawLine(QPointF(5, 10.5), QPointF(11, 10.5));
    p.drawLine(QPointF(5, 12.3), QPointF(11, 12.3));
}

void Letter(QPainter& p) {
    p.setPen(QPen(QColor(96, 96, 110), 1.0));
    p.setBrush(QColor(252, 252, 246));
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{1.5, 3.5}, {8.0, 9.0}, {14.5, 3.5}}));
    p.setPen(QPen(QColor(170, 170, 180), 0.8));
    p.drawLine(QPointF(1.8, 12.2), QPointF(6.2, 7.6));
    p.drawLine(QPointF(14.2, 12.2), QPointF(9.8, 7.6));
}

void NoSign(QPainter& p, QColor colour) {
    p.setPen(QPen(colour, 2.2));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(8, 8), 5.8, 5.8);
    p.drawLine(QPointF(4.0, 4.0), QPointF(12.0, 12.0));
}

void Triangle(QPainter& p, double tipX, double backX, QColor colour) {
    p.setPen(QPen(colour.darker(170), 1.0));
    QLinearGradient g(0, 3, 0, 13);
    g.setColorAt(0, colour.lighter(140));
    g.setColorAt(1, colour);
    p.setBrush(g);
    p.drawPolygon(QPolygonF({{backX, 3.0}, {tipX, 8.0}, {backX, 13.0}}));
}

void Bar(QPainter& p, double x, QColor colour) {
    p.setPen(QPen(colour.darker(170), 1.0));
    p.setBrush(colour);
    p.drawRect(QRectF(x, 3.0, 2.0, 10.0));
}

void Navigation(QPainter& p, int index) {
    const QColor blue(48, 96, 200);
    switch (index) {
    case 4: // to the beginning
        Bar(p, 1.5, blue);
        Triangle(p, 4.0, 9.5, blue);
        Triangle(p, 9.0, 14.5, blue);
        break;
    case 5: // back
        Triangle(p, 3.5, 12.0, blue);
        break;
    case 6: { // play from here
        QRadialGradient g(6.5, 6.0, 8.0);
        g.setColorAt(0, QColor(120, 220, 120));
        g.setColorAt(1, QColor(28, 130, 44));
        p.setPen(QPen(QColor(16, 84, 28), 1.0));
        p.setBrush(g);
        p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{6.2, 4.6}, {11.4, 8.0}, {6.2, 11.4}}));
        break;
    }
    case 7: // forward
        Triangle(p, 12.5, 4.0, blue);
        break;
    default: // to the end
        Triangle(p, 7.0, 1.5, blue);
        Triangle(p, 12.0, 6.5, blue);
        Bar(p, 12.5, blue);
        break;
    }
}

void Question(QPainter& p) {
    QRadialGradient g(6.0, 5.0, 9.0);
    g.setColorAt(0, QColor(130, 176, 255));
    g.setColorAt(1, QColor(30, 76, 180));
    p.setPen(QPen(QColor(20, 46, 120), 1.0));
    p.setBrush(g);
    p.drawEllipse(QPointF(8, 8), 7.0, 7.0);
    QPainterPath mark;
    mark.moveTo(5.6, 6.0);
    mark.cubicTo(5.6, 3.0, 10.6, 3.0, 10.6, 6.0);
    mark.cubicTo(10.6, 7.8, 8.0, 7.8, 8.0, 10.0);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.0, 12.4), 1.1, 1.1);
}

void Note(QPainter& p) {
    const QColor ink(30, 40, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.save();
    p.translate(4.5, 12.5);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 2.6, 1.9);
    p.restore();
    p.save();
    p.translate(11.5, 11.0);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 2.6, 1.9);
    p.restore();
    p.setPen(QPen(ink, 1.2));
    p.drawLine(QPointF(6.8, 12.0), QPointF(6.8, 3.0));
    p.drawLine(QPointF(13.8, 10.5), QPointF(13.8, 1.5));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{6.2, 2.6}, {14.4, 1.0}, {14.4, 3.6}, {6.2, 5.2}}));
}

} // namespace

QImage MakeMenuPicture(int index) {
    static const QColor kBalls[4] = {QColor(48, 176, 72), QColor(44, 96, 224),
                                     QColor(150, 150, 156), QColor(222, 44, 44)};
    if (index >= 11 && index <= 14) return RenderBall(16, kBalls[index - 11]);

    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        Folder(p);
        break;
    case 1:
        Diskette(p);
        break;
    case 2:
        Letter(p);
        break;
    case 3:
        NoSign(p, QColor(214, 30, 30));
        break;
    case 9:
        NoSign(p, QColor(196, 40, 150));
        break;
    case 10:
        Question(p);
        break;
    case 15:
        Note(p);
        break;
    default:
        Navigation(p, index);
        break;
    }
    return image;
}

} // namespace artgen
