// A label that draws its text twice: once in the shadow colour, offset by a few
// pixels, then in its own colour on top. The board's coordinate letters use it
// so they stay readable on any background picture.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace dorvane {

enum class TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

class TKvoLabel : public QWidget {
public:
    explicit TKvoLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& text);

    // Text colour; the background is painted only when the label is not transparent.
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& color);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    // With auto-size and Adjust the label takes the size of its text plus shadow.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Adjust() const { return adjust_; }
    void SetAdjust(bool on);

    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool on);
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment horizontal);
    Qt::Alignment Layout() const { return layout_; }
    void SetLayout(Qt::Alignment vertical);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int pixels);
    int RightMargin() const { return rightMargin_; }
    void SetRightMargin(int pixels);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);

    QColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(const QColor& color);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int pixels);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition pos);

    // Kept for the dialogs that name a control to focus; they do not change the drawing.
    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* control) { focusControl_ = control; }
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool on) { showFocus_ = on; }

    // Where the shadow copy lies relative to the text.
    QPoint ShadowOffset() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int TextFlags() const;
    QRect TextBounds(int width) const;
    void Resize();

    QString caption_;
    QColor color_{Qt::black};
    QColor backColor_;
    QColor shadowColor_;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool adjust_ = false;
    bool showAccelChar_ = true;
    bool wordWrap_ = false;
    bool showFocus_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    Qt::Alignment layout_ = Qt::AlignTop;
    int leftMargin_ = 0;
    int rightMargin_ = 0;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = TShadowPosition::spLeftTop;
    QPointer<QWidget> focusControl_;
};

} // namespace dorvane
