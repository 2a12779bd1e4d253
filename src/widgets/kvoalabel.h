// A label drawn as a link: bold, with the hand cursor, in NoActiveColor; with
// DefaultSetting the mouse over it turns it ActiveColor and underlined. A left
// click runs OnClick.
#pragma once

#include <QColor>
#include <QLabel>

#include <functional>

namespace dorvane {

class TKvoALabel final : public QLabel {
public:
    explicit TKvoALabel(QWidget* parent = nullptr);
    TKvoALabel(const QString& text, QWidget* parent);

    bool DefaultSetting() const { return defaultSetting_; }
    void SetDefaultSetting(bool on) { defaultSetting_ = on; }
    QColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(const QColor& color) { activeColor_ = color; }
    QColor NoActiveColor() const { return noActiveColor_; }
    void SetNoActiveColor(const QColor& color);

    // The colour the text is drawn in now.
    QColor TextColor() const;

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    std::function<void()> OnClick;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Paint(const QColor& color, bool underline);

    bool defaultSetting_ = true;
    QColor activeColor_{Qt::blue};
    QColor noActiveColor_{0, 0, 128}; // navy
};

} // namespace dorvane
