// The two-channel level meter: a control that draws its picture into an
// off-screen image of its own size (made anew when the size changes) and
// copies it to the screen. Setting the left level does not repaint, so the
// two levels of one frame cost one paint, done by setting the right one.
// Made 32 x 128 pixels, style 0, red to yellow; what a click means is the
// owner's business.
#pragma once

#include "musicui/indicator_model.h"

#include <QImage>
#include <QWidget>

namespace dorvane {

class TKvoIndicator : public QWidget {
    Q_OBJECT

public:
    explicit TKvoIndicator(QWidget* parent = nullptr);

    int Position0() const { return position0_; }
    void SetPosition0(int level);
    int Position1() const { return position1_; }
    void SetPosition1(int level);
    QRgb BeginColor() const { return look_.begin; }
    void SetBeginColor(QRgb colour);
    QRgb EndColor() const { return look_.end; }
    void SetEndColor(QRgb colour);
    int Modification() const { return look_.style; }
    void SetModification(int style);

    // The picture as it is drawn now (a hidden control learns of its new
    // size only when shown; the picture follows the size at once).
    const QImage& Picture() const;

signals:
    void LeftClicked();
    // The right button or the menu key.
    void MenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Redraw();
    void Paint() const;

    TIndicatorLook look_;
    int position0_ = 0;
    int position1_ = 0;
    mutable QImage picture_;
};

} // namespace dorvane
