// "Поиск хода": the modal window that asks the computer player, at its
// strongest level, for the human's move. It shows the move found and, when the
// look-ahead gave a forecast, the expected final score with a miniature of the
// expected final position; "Применить" lets the controller play the move as a
// click on that cell would.
//
// The search starts 200 ms after the window opens, so the window is on screen
// first, and runs on the controller's search worker: meanwhile the search
// text blinks, and a close asked for during the search is carried out when
// the search has returned.
#pragma once

#include "game/board.h"

#include <QDialog>
#include <QImage>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace dorvane {

class TGameController;

// What the miniature is drawn from: the field texture (TempBMR) and the small
// pictures of the two sides' figures.
struct THelpLook {
    QImage field;
    QImage small1, small2;
};

// The board of `board` in miniature: the texture stretched over 128 x 128 and
// a 16 x 16 figure with its top-left corner at (16 (c - 1), 16 (r - 1)) for
// every disc.
QImage DrawMiniature(const THelpLook& look, const TField& board);

class THelpForm final : public QDialog {
public:
    static constexpr int kClientWidth = 289;
    static constexpr int kClientHeight = 180;
    static constexpr int kMiniature = 128;
    static constexpr int kBlinkMs = 200;
    static constexpr int kSearchDelayMs = 200;

    THelpForm(TGameController& game, const THelpLook& look, QWidget* parent = nullptr);
    ~THelpForm() override;

    // "Найти ход": opens the window when the game allows it (otherwise the
    // controller says why) and plays the found move after "Применить".
    static void Run(TGameController& game, const THelpLook& look, QWidget* parent);

    bool Searching() const { return searching_; }
    bool Searched() const { return searched_; }
    const THelpLook& Look() const { return look_; }
    QLineEdit* SearchText() const { return searchText_; }
    QFrame* ResultPanel() const { return resultPanel_; }
    QLineEdit* MoveBox() const { return moveBox_; }
    QLabel* ResultCaption() const { return resultCaption_; }
    QLabel* ScoreLine(int i) const { return scoreLines_[std::size_t(i)]; } // 0 side 1, 1 side 2
    QLabel* Miniature() const { return miniature_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Blink();
    void SearchMove();
    void SearchReturned(bool alive);
    void ShowMiniature(const TField& board);
    void SetSearchText(const QString& text, const QColor& colour);

    TGameController& game_;
    THelpLook look_;
    bool searching_ = false;
    bool searched_ = false;
    bool closeWanted_ = false; // the window was closed while the search ran
    bool blinkLit_ = true;

    QLabel* miniature_ = nullptr;
    QLineEdit* searchText_ = nullptr;
    QFrame* resultPanel_ = nullptr;
    QLineEdit* moveBox_ = nullptr;
    QLabel* resultCaption_ = nullptr;
    std::array<QLabel*, 2> scoreLines_{};
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
    QTimer* searchTimer_ = nullptr;
};

} // namespace dorvane
