#include "controlpanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QRadioButton>
#include <QToolButton>

namespace dorvane {

TNameBox::TNameBox(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
}

void TNameBox::SetName(const QString& name) {
    name_ = name;
    if (isReadOnly()) setText(name);
}

void TNameBox::ToggleEdit() {
    if (isReadOnly()) {
        setReadOnly(false);
        setFocus();
        selectAll();
        return;
    }
    setReadOnly(true);
    const QString edited = text().trimmed();
    if (edited.isEmpty()) {
        setText(name_);
        return;
    }
    if (OnEdited) OnEdited(edited);
}

void TNameBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    ToggleEdit();
}

void TNameBox::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        ToggleEdit();
        return;
    }
    if (!isReadOnly() && event->key() == Qt::Key_Escape) {
        setReadOnly(true);
        setText(name_);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SetBoxColours(QWidget* box, const QColor& text, const QColor& back) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    if (back.isValid()) {
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Window, back);
    } else {
        // The system's window colour.
        palette.setColor(QPalette::Base, box->style()->standardPalette().color(QPalette::Base));
    }
    box->setPalette(palette);
}

void SetCaptionColour(QWidget* button, const QColor& text) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, text);
    button->setPalette(palette);
}

namespace {

constexpr int kWidth = 163;
constexpr int kLeft = 4;
constexpr int kColumn = 76;
constexpr int kRight = kWidth - kLeft - kColumn;
constexpr int kBox = 17;
constexpr int kCaption = 12;

QLabel* Caption(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(0, y, kWidth, kCaption);
    return label;
}

template <class Box> std::array<Box*, 2> BoxPair(QWidget* parent, int y) {
    std::array<Box*, 2> pair{new Box(parent), new Box(parent)};
    for (int side = 0; side < 2; ++side) {
        Box* box = pair[std::size_t(side)];
        box->setGeometry(side == 0 ? kLeft : kRight, y, kColumn, kBox);
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setFocusPolicy(Qt::NoFocus);
        box->setTextMargins(0, 0, 0, 0);
    }
    return pair;
}

QPushButton* Button(QWidget* parent, const QString& text, QRect place) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TControlPanel::TControlPanel(QWidget* parent) : QFrame(parent) {
    setFixedSize(kWidth, 447);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    int y = 0;
    Caption(this, QStringLiteral("Игроки"), y);
    y += 13;
    for (int side = 0; side < 2; ++side) {
        auto* icon = new QLabel(this);
        icon->setAlignment(Qt::AlignCenter);
        icon->setGeometry(side == 0 ? kLeft : kRight, y, kColumn, 32);
        icons[std::size_t(side)] = icon;
    }
    y += 33;
    names = {new TNameBox(this), new TNameBox(this)};
    for (int side = 0; side < 2; ++side)
        names[std::size_t(side)]->setGeometry(side == 0 ? kLeft : kRight, y, kColumn, kBox);
    y += kBox + 1;

    scoreCaption = Caption(this, QStringLiteral("Счет игры"), y);
    scores = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    Caption(this, QStringLiteral("Общий счет"), y);
    overall = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    Caption(this, QStringLiteral("Рейтинг"), y);
    ratings = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    moveCounter = Caption(this, QStringLiteral("Ход 00 из 00"), y);
    statuses = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    Caption(this, QStringLiteral("Время"), y);
    clocks = BoxPair<QLineEdit>(this, y + kCaption);
    for (QLineEdit* clock : clocks)
        clock->setText(QStringLiteral("0:00:00"));
    y += kCaption + kBox + 3;

    startButtons = {Button(this, QStringLiteral("Старт"), {kLeft, y, kColumn, 21}),
                    Button(this, QStringLiteral("Старт"), {kRight, y, kColumn, 21})};
    y += 23;
    passButton = Button(this, QStringLiteral("Нет хода"), {kLeft, y, kWidth - 2 * kLeft, 21});
    y += 23;
    resetButton = Button(this, QStringLiteral("Сброс"), {kLeft, y, kWidth - 2 * kLeft, 21});
    y += 23;

    static const std::array<QString, 5> hints{QStringLiteral("В начало"), QStringLiteral("Назад"),
                                              QStringLiteral("Играть"), QStringLiteral("Вперед"),
                                              QStringLiteral("В конец")};
    const int step = (kWidth - 2 * kLeft) / 5;
    for (std::size_t i = 0; i < 5; ++i) {
        auto* button = new QToolButton(this);
        button->setToolTip(hints[i]);
        button->setGeometry(kLeft + int(i) * step, y, step - 1, 20);
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::NoFocus);
        button->setEnabled(false);
        navigation[i] = button;
    }
    y += 22;

    levelGroup = new QGroupBox(QStringLiteral("Интеллект компьютера"), this);
    levelGroup->setGeometry(kLeft, y, kWidth - 2 * kLeft, 64);
    levelButtons = new QButtonGroup(this);
    static const std::array<QString, 3> levelNames{
        QStringLiteral("Высокий"), QStringLiteral("Средний"), QStringLiteral("Низкий")};
    for (std::size_t i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(levelNames[i], levelGroup);
        radio->setGeometry(10, 14 + int(i) * 16, kWidth - 2 * kLeft - 20, 16);
        radio->setFocusPolicy(Qt::NoFocus);
        levelButtons->addButton(radio, int(i));
        levels[i] = radio;
    }
    y += 66;

    auto* hintGroup = new QGroupBox(QStringLiteral("Подсказка"), this);
    hintGroup->setGeometry(kLeft, y, kWidth - 2 * kLeft, 38);
    hintCheck = new QCheckBox(hintGroup);
    hintCheck->setGeometry(10, 16, 18, 17);
    hintCheck->setFocusPolicy(Qt::NoFocus);
    hintBox = new QLineEdit(hintGroup);
    hintBox->setGeometry(32, 16, kWidth - 2 * kLeft - 66, kBox);
    hintBox->setReadOnly(true);
    hintBox->setAlignment(Qt::AlignCenter);
    hintBox->setFocusPolicy(Qt::NoFocus);
    hintButton = new QToolButton(hintGroup);
    hintButton->setGeometry(kWidth - 2 * kLeft - 31, 15, 22, kBox + 2);
    hintButton->setIconSize(QSize(16, 16));
    hintButton->setToolTip(QStringLiteral("Найти ход"));
    hintButton->setFocusPolicy(Qt::NoFocus);
    y += 40;

    Caption(this, QStringLiteral("Дата и время"), y);
    dateTime = new QLabel(this);
    dateTime->setAlignment(Qt::AlignCenter);
    dateTime->setGeometry(kLeft, y + kCaption + 1, kWidth - 2 * kLeft, kBox);
}

void TControlPanel::ColourSide(int side, const QColor& text, const QColor& back) {
    const auto s = std::size_t(side);
    for (QWidget* box : {static_cast<QWidget*>(names[s]), static_cast<QWidget*>(scores[s]),
                         static_cast<QWidget*>(overall[s]), static_cast<QWidget*>(ratings[s]),
                         static_cast<QWidget*>(statuses[s]), static_cast<QWidget*>(clocks[s])})
        SetBoxColours(box, text, back);
}

void TControlPanel::ColourHint(const QColor& text, const QColor& back) {
    SetBoxColours(hintBox, text, back);
}

} // namespace dorvane
