// The control panel beside the board: per side a name, the game score, the
// overall score, the rating, a status text and a thinking clock, then the
// start, pass and reset buttons, the history buttons, the computer's strength,
// the hint and the date and time. It only shows what the window gives it; the
// window connects its buttons.
#pragma once

#include <QFrame>
#include <QLineEdit>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace dorvane {

// A side's name box: read-only until double-clicked; Enter or another double
// click ends the edit and hands the text over, Escape restores the name.
class TNameBox final : public QLineEdit {
public:
    explicit TNameBox(QWidget* parent);
    // Called with the edited text when the box becomes read-only again.
    std::function<void(const QString&)> OnEdited;
    void SetName(const QString& name);
    QString Name() const { return name_; }
    void ToggleEdit();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString name_;
};

class TControlPanel final : public QFrame {
public:
    explicit TControlPanel(QWidget* parent);

    // One column per side: index 0 is side 1 (left), 1 is side 2 (right).
    std::array<QLabel*, 2> icons{};
    std::array<TNameBox*, 2> names{};
    std::array<QLineEdit*, 2> scores{};
    std::array<QLineEdit*, 2> overall{};
    std::array<QLineEdit*, 2> ratings{};
    std::array<QLineEdit*, 2> statuses{};
    std::array<QLineEdit*, 2> clocks{};
    std::array<QPushButton*, 2> startButtons{};
    QLabel* scoreCaption = nullptr;
    QLabel* moveCounter = nullptr;
    QPushButton* passButton = nullptr;
    QPushButton* resetButton = nullptr;
    // "В начало", "Назад", "Играть", "Вперед", "В конец".
    std::array<QToolButton*, 5> navigation{};
    QGroupBox* levelGroup = nullptr;
    std::array<QRadioButton*, 3> levels{}; // "Высокий", "Средний", "Низкий"
    QButtonGroup* levelButtons = nullptr;
    QCheckBox* hintCheck = nullptr;
    QLineEdit* hintBox = nullptr;
    QToolButton* hintButton = nullptr; // opens "Поиск хода"
    QLabel* dateTime = nullptr;

    // Colours of the boxes of one side (0 or 1).
    void ColourSide(int side, const QColor& text, const QColor& back);
    void ColourHint(const QColor& text, const QColor& back);
};

// Gives a widget the text colour and, when valid, the background colour.
void SetBoxColours(QWidget* box, const QColor& text, const QColor& back);
void SetCaptionColour(QWidget* button, const QColor& text);

} // namespace dorvane
