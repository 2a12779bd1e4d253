#include "view/controlpanel.h"

#include "view/assets.h"

#include <QAction>

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
    // Read-only it takes no focus, so it never shows the frame of a box
    // that could be typed into.
    setFocusPolicy(Qt::NoFocus);
}

void TNameBox::SetName(const QString& name) {
    name_ = name;
    if (isReadOnly()) setText(name);
}

void TNameBox::ToggleEdit() {
    if (isReadOnly()) {
        setReadOnly(false);
        setFocusPolicy(Qt::StrongFocus);
        setFocus();
        selectAll();
        return;
    }
    setReadOnly(true);
    clearFocus();
    setFocusPolicy(Qt::NoFocus);
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
        clearFocus();
        setFocusPolicy(Qt::NoFocus);
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

QPushButton* PushButton(QWidget* parent, const QString& text, QRect place) {
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
    for (std::size_t side = 0; side < 2; ++side) {
        auto* icon = new QLabel(this);
        icon->setAlignment(Qt::AlignCenter);
        icon->setGeometry(side == 0 ? kLeft : kRight, y, kColumn, 32);
        icons_[side] = icon;
    }
    icons_[0]->setPixmap(QPixmap::fromImage(PersonPicture()));
    icons_[1]->setPixmap(QPixmap::fromImage(SidePicture(true)));
    y += 33;
    names_ = {new TNameBox(this), new TNameBox(this)};
    for (std::size_t side = 0; side < 2; ++side) {
        names_[side]->setGeometry(side == 0 ? kLeft : kRight, y, kColumn, kBox);
        names_[side]->OnEdited = [this, side](const QString& name) {
            if (OnNameEdited) OnNameEdited(side == 0 ? TSide::First : TSide::Second, name);
        };
    }
    y += kBox + 1;

    scoreCaption_ = Caption(this, state_.scoreCaption, y);
    scores_ = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    Caption(this, QStringLiteral("Общий счет"), y);
    overall_ = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    Caption(this, QStringLiteral("Рейтинг"), y);
    ratings_ = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    moveCounter_ = Caption(this, state_.moveCounter, y);
    statuses_ = BoxPair<QLineEdit>(this, y + kCaption);
    y += kCaption + kBox + 1;
    Caption(this, QStringLiteral("Время"), y);
    clocks_ = BoxPair<QLineEdit>(this, y + kCaption);
    for (std::size_t side = 0; side < 2; ++side)
        clocks_[side]->setText(state_.sides[side].clock);
    y += kCaption + kBox + 3;

    startButtons_ = {PushButton(this, QStringLiteral("Старт"), {kLeft, y, kColumn, 21}),
                     PushButton(this, QStringLiteral("Старт"), {kRight, y, kColumn, 21})};
    y += 23;
    passButton_ = PushButton(this, QStringLiteral("Нет хода"), {kLeft, y, kWidth - 2 * kLeft, 21});
    y += 23;
    resetButton_ = PushButton(this, QStringLiteral("Сброс"), {kLeft, y, kWidth - 2 * kLeft, 21});
    y += 23;

    const int step = (kWidth - 2 * kLeft) / 5;
    for (std::size_t i = 0; i < 5; ++i) {
        auto* button = new QToolButton(this);
        button->setGeometry(kLeft + int(i) * step, y, step - 1, 20);
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::NoFocus);
        button->setEnabled(false);
        navigation_[i] = button;
    }
    y += 22;

    // The group's title takes the top of its frame: the first circle goes
    // below it, and the three rows fill the rest.
    levelGroup_ = new QGroupBox(QStringLiteral("Интеллект компьютера"), this);
    levelGroup_->setGeometry(kLeft, y, kWidth - 2 * kLeft, 66);
    levelButtons_ = new QButtonGroup(this);
    static const std::array<QString, 3> levelNames{
        QStringLiteral("Высокий"), QStringLiteral("Средний"), QStringLiteral("Низкий")};
    for (std::size_t i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(levelNames[i], levelGroup_);
        radio->setGeometry(10, 17 + int(i) * 15, kWidth - 2 * kLeft - 20, 15);
        radio->setFocusPolicy(Qt::NoFocus);
        levelButtons_->addButton(radio, int(i));
        levels_[i] = radio;
    }
    connect(levelButtons_, &QButtonGroup::idClicked, this, [this](int index) {
        if (OnLevelChosen) OnLevelChosen(index);
    });
    y += 68;

    auto* hintGroup = new QGroupBox(QStringLiteral("Подсказка"), this);
    hintGroup->setGeometry(kLeft, y, kWidth - 2 * kLeft, 38);
    hintCheck_ = new QCheckBox(hintGroup);
    hintCheck_->setGeometry(10, 16, 18, 17);
    hintCheck_->setFocusPolicy(Qt::NoFocus);
    hintBox_ = new QLineEdit(hintGroup);
    hintBox_->setGeometry(32, 16, kWidth - 2 * kLeft - 90, kBox);
    hintBox_->setReadOnly(true);
    hintBox_->setAlignment(Qt::AlignCenter);
    hintBox_->setFocusPolicy(Qt::NoFocus);
    hintButton_ = new QToolButton(hintGroup);
    hintButton_->setGeometry(kWidth - 2 * kLeft - 31, 15, 22, kBox + 2);
    hintButton_->setIconSize(QSize(16, 16));
    hintButton_->setFocusPolicy(Qt::NoFocus);
    listButton_ = new QToolButton(hintGroup);
    listButton_->setGeometry(kWidth - 2 * kLeft - 55, 15, 22, kBox + 2);
    listButton_->setIconSize(QSize(16, 16));
    listButton_->setFocusPolicy(Qt::NoFocus);
    y += 40;

    Caption(this, QStringLiteral("Дата и время"), y);
    dateTime_ = new QLabel(this);
    dateTime_->setAlignment(Qt::AlignCenter);
    dateTime_->setGeometry(kLeft, y + kCaption + 1, kWidth - 2 * kLeft, kBox);
}

void TControlPanel::BindCommands(const TCommandRegistry& commands) {
    const auto bind = [&commands](QAbstractButton* button, TCommand command, bool picture) {
        QAction* action = commands.Action(command);
        connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
        const auto follow = [button, action, picture] {
            button->setEnabled(action->isEnabled());
            if (picture) button->setIcon(action->icon());
            if (picture) button->setToolTip(action->text());
        };
        connect(action, &QAction::changed, button, follow);
        follow();
    };
    bind(startButtons_[0], TCommand::StartSide1, false);
    bind(startButtons_[1], TCommand::StartSide2, false);
    bind(passButton_, TCommand::PassMove, false);
    bind(resetButton_, TCommand::ResetScore, false);
    static constexpr std::array<TCommand, 5> history{TCommand::ToBegin, TCommand::StepBack,
                                                     TCommand::ResumePlay, TCommand::StepForward,
                                                     TCommand::ToEnd};
    for (std::size_t i = 0; i < history.size(); ++i)
        bind(navigation_[i], history[i], true);
    bind(hintButton_, TCommand::FindMove, true);
    bind(listButton_, TCommand::MusicShowList, true);

    // The check box shows the hint's check mark and flips it when clicked.
    QAction* hint = commands.Action(TCommand::Hint);
    connect(hintCheck_, &QCheckBox::clicked, hint, [hint] { hint->trigger(); });
    connect(hint, &QAction::toggled, hintCheck_, &QCheckBox::setChecked);
    hintCheck_->setChecked(hint->isChecked());
}

void TControlPanel::Show(const TPanelState& state) {
    const bool all = !shownOnce_;
    shownOnce_ = true;
    for (std::size_t side = 0; side < 2; ++side) {
        const TPanelSide& now = state.sides[side];
        const TPanelSide& was = state_.sides[side];
        if (all || now.name != was.name) names_[side]->SetName(now.name);
        if (all || now.score != was.score) scores_[side]->setText(now.score);
        if (all || now.overall != was.overall) overall_[side]->setText(now.overall);
        if (all || now.rating != was.rating) ratings_[side]->setText(now.rating);
        if (all || now.status != was.status) statuses_[side]->setText(now.status);
        if (all || now.clock != was.clock) clocks_[side]->setText(now.clock);
    }
    if (all || state.scoreCaption != state_.scoreCaption)
        scoreCaption_->setText(state.scoreCaption);
    if (all || state.moveCounter != state_.moveCounter) moveCounter_->setText(state.moveCounter);
    if (all || state.hint != state_.hint) hintBox_->setText(state.hint);
    if (all || state.dateTime != state_.dateTime) dateTime_->setText(state.dateTime);
    if (all || state.againstComputer != state_.againstComputer)
        icons_[1]->setPixmap(QPixmap::fromImage(SidePicture(state.againstComputer)));
    if (all || state.levelsEnabled != state_.levelsEnabled)
        levelGroup_->setEnabled(state.levelsEnabled);
    if (all || state.level != state_.level) ShowLevel(state.level);
    const bool recolourHint = all || state.hintSide != state_.hintSide;
    const bool recolourPass = all || state.passHighlighted != state_.passHighlighted;
    state_ = state;
    if (recolourHint) ColourHint();
    if (recolourPass) ColourPass();
}

void TControlPanel::ShowLevel(std::optional<TStrength> level) {
    for (int strength = 1; strength <= 3; ++strength)
        levels_[std::size_t(3 - strength)]->setChecked(level && StoredStrength(*level) == strength);
    if (!level) {
        // An exclusive group refuses to uncheck its last checked member.
        levelButtons_->setExclusive(false);
        for (QRadioButton* radio : levels_)
            radio->setChecked(false);
        levelButtons_->setExclusive(true);
    }
}

void TControlPanel::SetColours(const TPanelColours& colours) {
    colours_ = colours;
    for (std::size_t side = 0; side < 2; ++side) {
        const QColor& text = side == 0 ? colours.text1 : colours.text2;
        const QColor& back = side == 0 ? colours.back1 : colours.back2;
        for (QWidget* box :
             {static_cast<QWidget*>(names_[side]), static_cast<QWidget*>(scores_[side]),
              static_cast<QWidget*>(overall_[side]), static_cast<QWidget*>(ratings_[side]),
              static_cast<QWidget*>(statuses_[side]), static_cast<QWidget*>(clocks_[side])})
            SetBoxColours(box, text, back);
    }
    SetCaptionColour(startButtons_[0], colours.start1);
    SetCaptionColour(startButtons_[1], colours.start2);
    SetCaptionColour(resetButton_, colours.reset);
    ColourPass();
    ColourHint();
}

void TControlPanel::ColourPass() {
    SetCaptionColour(passButton_,
                     state_.passHighlighted ? colours_.noMove : palette().color(QPalette::Button));
}

void TControlPanel::ColourHint() {
    if (state_.hintSide == TSide::First)
        SetBoxColours(hintBox_, colours_.text1, colours_.back1);
    else
        SetBoxColours(hintBox_, colours_.text2, colours_.back2);
}

QLineEdit* TControlPanel::Box(TPanelBox box, std::size_t side) const {
    switch (box) {
    case TPanelBox::Name:
        return names_[side];
    case TPanelBox::Score:
        return scores_[side];
    case TPanelBox::Overall:
        return overall_[side];
    case TPanelBox::Rating:
        return ratings_[side];
    case TPanelBox::Status:
        return statuses_[side];
    case TPanelBox::Clock:
        break;
    }
    return clocks_[side];
}

QString TControlPanel::Shown(TPanelBox box, TSide side) const {
    return Box(box, Index(side))->text();
}

QString TControlPanel::ShownHint() const {
    return hintBox_->text();
}

QString TControlPanel::ShownMoveCounter() const {
    return moveCounter_->text();
}

QString TControlPanel::ShownDateTime() const {
    return dateTime_->text();
}

QAbstractButton* TControlPanel::Button(TCommand command) const {
    switch (command) {
    case TCommand::StartSide1:
        return startButtons_[0];
    case TCommand::StartSide2:
        return startButtons_[1];
    case TCommand::PassMove:
        return passButton_;
    case TCommand::ResetScore:
        return resetButton_;
    case TCommand::ToBegin:
    case TCommand::StepBack:
    case TCommand::ResumePlay:
    case TCommand::StepForward:
    case TCommand::ToEnd:
        return navigation_[std::size_t(int(command) - int(TCommand::ToBegin))];
    case TCommand::FindMove:
        return hintButton_;
    case TCommand::MusicShowList:
        return listButton_;
    default:
        return nullptr;
    }
}

QRadioButton* TControlPanel::LevelButton(TStrength level) const {
    return levels_[std::size_t(3 - StoredStrength(level))];
}

} // namespace dorvane
