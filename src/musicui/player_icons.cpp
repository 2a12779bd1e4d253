#include "musicui/player_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

#include <functional>

namespace dorvane {

namespace {

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

const QColor kInk(0x20, 0x40, 0x80);

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, QColor colour) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    p.fillPath(path, colour);
}

} // namespace

QIcon PlayerIcon(TPlayerIcon icon, const QStyle* style) {
    switch (icon) {
    case TPlayerIcon::Open:
        return style->standardIcon(QStyle::SP_DirOpenIcon);
    case TPlayerIcon::Add:
        return style->standardIcon(QStyle::SP_FileDialogNewFolder);
    case TPlayerIcon::History:
        return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case TPlayerIcon::Save:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case TPlayerIcon::Close:
        return style->standardIcon(QStyle::SP_DialogCloseButton);
    case TPlayerIcon::Program:
        return style->standardIcon(QStyle::SP_ComputerIcon);
    case TPlayerIcon::Previous:
        return style->standardIcon(QStyle::SP_MediaSkipBackward);
    case TPlayerIcon::Next:
        return style->standardIcon(QStyle::SP_MediaSkipForward);
    case TPlayerIcon::Play:
        return style->standardIcon(QStyle::SP_MediaPlay);
    case TPlayerIcon::Pause:
        return style->standardIcon(QStyle::SP_MediaPause);
    case TPlayerIcon::Sound:
        return style->standardIcon(QStyle::SP_MediaVolume);
    case TPlayerIcon::SoundOff:
        return style->standardIcon(QStyle::SP_MediaVolumeMuted);
    case TPlayerIcon::ToBeginning:
        return Drawn([](QPainter& p) {
            p.fillRect(QRectF(3, 3, 2, 10), kInk);
            Triangle(p, {13, 3}, {13, 13}, {5, 8}, kInk);
        });
    case TPlayerIcon::QueryTags:
        return Drawn([](QPainter& p) {
            p.setPen(QPen(kInk, 1.5));
            p.drawRect(QRectF(2.5, 2.5, 11, 11));
            p.setFont(QFont(QStringLiteral("Sans"), 7, QFont::Bold));
            p.drawText(QRectF(2, 2, 12, 12), Qt::AlignCenter, QStringLiteral("ID"));
        });
    case TPlayerIcon::EditTitle:
        return Drawn([](QPainter& p) {
            p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(4, 12), QPointF(12, 4));
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
        });
    case TPlayerIcon::Sort:
        return Drawn([](QPainter& p) {
            Triangle(p, {1, 6}, {9, 6}, {5, 1}, kInk);
            Triangle(p, {7, 10}, {15, 10}, {11, 15}, kInk);
            p.fillRect(QRectF(4, 6, 2, 8), kInk);
            p.fillRect(QRectF(10, 2, 2, 8), kInk);
        });
    case TPlayerIcon::ColourScheme:
        return Drawn([](QPainter& p) {
            p.fillRect(QRectF(1, 1, 7, 7), QColor(0x18, 0x3C, 0x7B));
            p.fillRect(QRectF(8, 1, 7, 7), QColor(0xFF, 0xC0, 0x00));
            p.fillRect(QRectF(1, 8, 7, 7), QColor(0x00, 0xA0, 0x40));
            p.fillRect(QRectF(8, 8, 7, 7), QColor(0xD0, 0x20, 0x20));
        });
    case TPlayerIcon::Columns:
        return Drawn([](QPainter& p) {
            for (int x : {1, 6, 11})
                for (int y = 2; y < 15; y += 3)
                    p.fillRect(QRectF(x, y, 4, 2), kInk);
        });
    case TPlayerIcon::Oscilloscope:
        return Drawn([](QPainter& p) {
            p.fillRect(QRectF(0, 1, 16, 14), Qt::black);
            QPainterPath wave;
            wave.moveTo(1, 8);
            wave.cubicTo(4, 0, 6, 0, 8, 8);
            wave.cubicTo(10, 16, 12, 16, 15, 8);
            p.setPen(QPen(QColor(0, 0xFF, 0), 1.5));
            p.drawPath(wave);
        });
    case TPlayerIcon::ScreenSaver:
        return Drawn([](QPainter& p) {
            p.setPen(QPen(kInk, 1.5));
            p.drawRect(QRectF(1.5, 2.5, 13, 9));
            p.fillRect(QRectF(3, 4, 10, 6), QColor(0, 0, 0x60));
            p.fillRect(QRectF(6, 12, 4, 2), kInk);
            p.fillRect(QRectF(5, 4, 1, 1), Qt::white);
            p.fillRect(QRectF(10, 7, 1, 1), Qt::white);
        });
    case TPlayerIcon::VolumeProgram:
        return Drawn([](QPainter& p) {
            for (int i = 0; i < 3; ++i) {
                p.fillRect(QRectF(2 + 5 * i, 2, 2, 12), Qt::darkGray);
                p.fillRect(QRectF(1 + 5 * i, 4 + 3 * i, 4, 3), kInk);
            }
        });
    case TPlayerIcon::Random:
        return Drawn([](QPainter& p) {
            p.setPen(QPen(kInk, 1.5));
            p.drawLine(QPointF(1, 4), QPointF(12, 12));
            p.drawLine(QPointF(1, 12), QPointF(12, 4));
            Triangle(p, {11, 1}, {15, 4}, {11, 7}, kInk);
            Triangle(p, {11, 9}, {15, 12}, {11, 15}, kInk);
        });
    case TPlayerIcon::OneClick:
        return Drawn([](QPainter& p) {
            p.setPen(QPen(kInk, 1.5));
            p.drawEllipse(QRectF(3.5, 1.5, 9, 13));
            p.drawLine(QPointF(8, 1.5), QPointF(8, 7));
            p.drawLine(QPointF(3.5, 7), QPointF(12.5, 7));
            p.fillRect(QRectF(4.5, 2.5, 3, 4), QColor(0xD0, 0x20, 0x20));
        });
    }
    return {};
}

} // namespace dorvane
