// The control panel beside the board: per side a name, the game score, the
// overall score, the rating, a status text and a thinking clock, then the
// start, pass and reset buttons, the history buttons, the computer's strength,
// the hint and the date and time.
//
// It shows a state value (TPanelState) that the window hands it whole, and
// its buttons are bound to the window's commands, so the window never reaches
// into its widgets. Tests read what is shown and press buttons through the
// accessors at the end.
#pragma once

#include "view/commands.h"

#include "game/board.h"
#include "play/game_options.h"

#include <QColor>
#include <QFrame>
#include <QLineEdit>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QAbstractButton;
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

struct TPanelSide {
    QString name, score, overall, rating, status;
    QString clock = QStringLiteral("0:00:00");
    bool operator==(const TPanelSide&) const = default;
};

struct TPanelState {
    std::array<TPanelSide, 2> sides; // [0] side 1 (left), [1] side 2 (right)
    QString scoreCaption = QStringLiteral("Счет игры");
    QString moveCounter = QStringLiteral("Ход 00 из 00");
    QString hint;
    TSide hintSide = TSide::First; // the hint box takes this side's colours
    QString dateTime;
    bool passHighlighted = true; // the "Нет хода" caption in NoMoveColor, else unseen
    bool againstComputer = true; // the right icon: "COMPUTER" or "USER"
    bool levelsEnabled = true;
    std::optional<TStrength> level; // the radio checked; none for an unknown level
    bool operator==(const TPanelState&) const = default;
};

// The colours the scheme gives the panel.
struct TPanelColours {
    QColor text1, back1, text2, back2; // the sides' boxes
    QColor start1, start2, noMove, reset;
};

// What is shown in one of the sides' boxes.
enum class TPanelBox { Name, Score, Overall, Rating, Status, Clock };

class TControlPanel final : public QFrame {
public:
    explicit TControlPanel(QWidget* parent);

    // The start, pass and reset buttons, the history buttons, the hint's
    // button and check box act as the commands' actions and follow their
    // enabled state; the history buttons show their pictures.
    void BindCommands(const TCommandRegistry& commands);
    // The radio group: item index 0 "Высокий" .. 2 "Низкий".
    std::function<void(int index)> OnLevelChosen;
    // A name box left its editing with a text.
    std::function<void(TSide side, const QString& name)> OnNameEdited;

    void Show(const TPanelState& state);
    const TPanelState& State() const { return state_; }
    void SetColours(const TPanelColours& colours);

    // --- What tests read and press ------------------------------------------
    QString Shown(TPanelBox box, TSide side) const;
    QString ShownHint() const;
    QString ShownMoveCounter() const;
    QString ShownDateTime() const;
    QAbstractButton* Button(TCommand command) const; // nullptr when the panel has none
    QCheckBox* HintCheck() const { return hintCheck_; }
    TNameBox* NameBox(TSide side) const { return names_[Index(side)]; }
    QRadioButton* LevelButton(TStrength level) const;
    QGroupBox* LevelGroup() const { return levelGroup_; }
    QLabel* SideIcon(TSide side) const { return icons_[Index(side)]; }

private:
    static std::size_t Index(TSide side) { return side == TSide::First ? 0 : 1; }
    QLineEdit* Box(TPanelBox box, std::size_t side) const;
    void ShowLevel(std::optional<TStrength> level);
    void ColourPass();
    void ColourHint();

    TPanelState state_;
    TPanelColours colours_;
    bool shownOnce_ = false;

    std::array<QLabel*, 2> icons_{};
    std::array<TNameBox*, 2> names_{};
    std::array<QLineEdit*, 2> scores_{};
    std::array<QLineEdit*, 2> overall_{};
    std::array<QLineEdit*, 2> ratings_{};
    std::array<QLineEdit*, 2> statuses_{};
    std::array<QLineEdit*, 2> clocks_{};
    std::array<QPushButton*, 2> startButtons_{};
    QLabel* scoreCaption_ = nullptr;
    QLabel* moveCounter_ = nullptr;
    QPushButton* passButton_ = nullptr;
    QPushButton* resetButton_ = nullptr;
    // "В начало", "Назад", "Играть", "Вперед", "В конец".
    std::array<QToolButton*, 5> navigation_{};
    QGroupBox* levelGroup_ = nullptr;
    std::array<QRadioButton*, 3> levels_{}; // "Высокий", "Средний", "Низкий"
    QButtonGroup* levelButtons_ = nullptr;
    QCheckBox* hintCheck_ = nullptr;
    QLineEdit* hintBox_ = nullptr;
    QToolButton* hintButton_ = nullptr; // opens "Поиск хода"
    QToolButton* listButton_ = nullptr; // shows the playlist window
    QLabel* dateTime_ = nullptr;
};

// Gives a widget the text colour and, when valid, the background colour.
void SetBoxColours(QWidget* box, const QColor& text, const QColor& back);
void SetCaptionColour(QWidget* button, const QColor& text);

} // namespace dorvane
