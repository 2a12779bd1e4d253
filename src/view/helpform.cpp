#include "helpform.h"
#include "widgets/window_mode.h"

#include "view/controlpanel.h"

#include "play/game_controller.h"
#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace dorvane {

namespace {

constexpr int kSmall = 16;
const QColor kSearchRed(255, 0, 0);
const QColor kFoundLime(0, 255, 0);
const QColor kBlack(0, 0, 0);

// Makes the label's font as large as the panel allows, at most its own size,
// so the caption stays within the panel's bevel whatever font the desktop has.
void FitText(QLabel* label, int room) {
    QFont font = label->font();
    while (font.pixelSize() > 7 && QFontMetrics(font).horizontalAdvance(label->text()) > room)
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

QLabel* Line(QWidget* parent, int y) {
    auto* label = new QLabel(parent);
    label->setGeometry(0, y, 130, 16);
    label->setAlignment(Qt::AlignCenter);
    label->setVisible(false);
    return label;
}

} // namespace

QImage DrawMiniature(const THelpLook& look, const TField& board) {
    QImage picture(THelpForm::kMiniature, THelpForm::kMiniature,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    if (!look.field.isNull()) painter.drawImage(picture.rect(), look.field);
    for (int row = 1; row <= 8; ++row)
        for (int column = 1; column <= 8; ++column) {
            const std::uint8_t cell = board[std::size_t(CellIndex(column, row))];
            if (cell != 1 && cell != 2) continue;
            // The small pictures carry alpha, so the texture shows around the disc.
            painter.drawImage(QRect(kSmall * (column - 1), kSmall * (row - 1), kSmall, kSmall),
                              cell == 1 ? look.small1 : look.small2);
        }
    return picture;
}

THelpForm::THelpForm(TGameController& game, const THelpLook& look, QWidget* parent)
    : QDialog(parent), game_(game), look_(look) {
    setWindowTitle(QStringLiteral("Поиск хода"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    auto* frame = new QFrame(this);
    frame->setGeometry(4, 4, 281, 145);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);

    // The raised bevel sits two pixels outside the 128 x 128 miniature.
    auto* bevel = new QFrame(this);
    bevel->setGeometry(10, 10, kMiniature + 4, kMiniature + 4);
    bevel->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    bevel->setLineWidth(2);
    miniature_ = new QLabel(bevel);
    miniature_->setGeometry(2, 2, kMiniature, kMiniature);

    searchText_ = new QLineEdit(QStringLiteral("Идет поиск хода"), this);
    searchText_->setGeometry(147, 11, 130, 21);
    searchText_->setReadOnly(true);
    searchText_->setFocusPolicy(Qt::NoFocus);
    searchText_->setAlignment(Qt::AlignCenter);
    QFont bold = searchText_->font();
    bold.setBold(true);
    searchText_->setFont(bold);
    SetSearchText(searchText_->text(), kSearchRed);

    resultPanel_ = new QFrame(this);
    resultPanel_->setGeometry(147, 36, 130, 105);
    resultPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    resultPanel_->setVisible(false);
    // The caption must fit the panel's 130 pixels in one line.
    QFont small = resultPanel_->font();
    small.setPixelSize(11);
    resultPanel_->setFont(small);
    moveBox_ = new QLineEdit(resultPanel_);
    moveBox_->setGeometry(32, 8, 65, 32);
    moveBox_->setReadOnly(true);
    moveBox_->setFocusPolicy(Qt::NoFocus);
    moveBox_->setAlignment(Qt::AlignCenter);
    QFont big = moveBox_->font();
    big.setBold(true);
    big.setPixelSize(19);
    moveBox_->setFont(big);
    resultCaption_ = Line(resultPanel_, 48);
    resultCaption_->setText(QStringLiteral("Возможный результат"));
    FitText(resultCaption_, resultPanel_->width() - 6);
    scoreLines_ = {Line(resultPanel_, 66), Line(resultPanel_, 84)};

    std::tie(apply_, cancel_) =
        AddButtonBar(this, QStringLiteral("Применить"), QStringLiteral("Отмена"));
    apply_->setEnabled(false);
    cancel_->setEnabled(false);

    ShowMiniature(game_.State().GameBoard);
    InstallSwallowAltKey(this);
    new TAttention(this, QStringLiteral("THelpForm"), cancel_);

    blinkTimer_ = new QTimer(this);
    connect(blinkTimer_, &QTimer::timeout, this, [this] { Blink(); });
    blinkTimer_->start(kBlinkMs);
    searchTimer_ = new QTimer(this);
    searchTimer_->setSingleShot(true);
    connect(searchTimer_, &QTimer::timeout, this, [this] { SearchMove(); });
    searchTimer_->start(kSearchDelayMs);
}

THelpForm::~THelpForm() = default;

void THelpForm::Run(TGameController& game, const THelpLook& look, QWidget* parent) {
    if (!game.MayOpenHintWindow()) return;
    THelpForm form(game, look, parent);
    const TModalScope modal;
    if (form.exec() == QDialog::Accepted) game.PlayHintMove();
}

void THelpForm::ShowMiniature(const TField& board) {
    miniature_->setPixmap(QPixmap::fromImage(DrawMiniature(look_, board)));
}

void THelpForm::SetSearchText(const QString& text, const QColor& colour) {
    searchText_->setText(text);
    SetBoxColours(searchText_, colour, kBlack);
}

void THelpForm::Blink() {
    blinkLit_ = !blinkLit_;
    SetBoxColours(searchText_, blinkLit_ ? kSearchRed : kBlack, kBlack);
}

void THelpForm::SearchMove() {
    searchTimer_->stop();
    if (game_.Blocked()) {
        // The game is busy or closing: there is nothing this window may do.
        done(QDialog::Rejected);
        return;
    }
    searching_ = true;
    // The hint always looks ahead, whatever strength the computer plays at.
    game_.Search(TSearchType::LookAhead, [form = QPointer<THelpForm>(this)](bool alive) {
        if (form) form->SearchReturned(alive);
    });
}

void THelpForm::SearchReturned(bool alive) {
    searching_ = false;
    blinkTimer_->stop();
    if (!alive) {
        // The game window is closing: nothing of this search may be played.
        done(QDialog::Rejected);
        return;
    }
    searched_ = true;

    const TGameState& state = game_.State();
    if (state.MovePriority <= 0) {
        SetSearchText(QStringLiteral("Ход не найден"), kSearchRed);
    } else {
        SetSearchText(QStringLiteral("Ход найден"), kFoundLime);
        moveBox_->setText(QString::fromStdString(CellName(state.MoveColumn, state.MoveRow)));
        if (state.ForecastReady != 0) {
            scoreLines_[0]->setText(game_.SideName(TSide::First) + QStringLiteral(": ") +
                                    QString::number(state.ForecastCount1));
            scoreLines_[1]->setText(game_.SideName(TSide::Second) + QStringLiteral(": ") +
                                    QString::number(state.ForecastCount2));
            resultCaption_->setVisible(true);
            for (QLabel* line : scoreLines_)
                line->setVisible(true);
            ShowMiniature(state.ForecastBoard);
        }
        resultPanel_->setVisible(true);
        apply_->setEnabled(true);
    }
    cancel_->setEnabled(true);
    cancel_->setFocus();
    if (closeWanted_) reject();
}

void THelpForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

void THelpForm::closeEvent(QCloseEvent* event) {
    // The search cannot be cut short; the window goes as soon as it returns.
    if (searching_) {
        closeWanted_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void THelpForm::keyPressEvent(QKeyEvent* event) {
    // Escape is "Отмена", and does nothing while that button is disabled.
    if (event->key() == Qt::Key_Escape && !cancel_->isEnabled()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace dorvane
