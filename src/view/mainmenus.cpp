// The game window's menus and the "Вид" commands that change the look.
#include "mainform.h"

#include "view/assets.h"
#include "view/controlpanel.h"
#include "view/helpform.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QCheckBox>
#include <QMenuBar>
#include <QToolButton>

namespace dorvane {

namespace {

QAction* Item(QMenu* menu, const QString& text, const QKeySequence& key = {}) {
    QAction* action = menu->addAction(text);
    if (!key.isEmpty()) action->setShortcut(key);
    return action;
}

QAction* Check(QMenu* menu, const QString& text, bool checked) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

template <std::size_t N>
std::array<QAction*, N> RadioItems(QMenu* menu, QObject* owner,
                                   const std::array<QString, N>& texts) {
    auto* group = new QActionGroup(owner);
    std::array<QAction*, N> items{};
    for (std::size_t i = 0; i < N; ++i) {
        items[i] = Check(menu, texts[i], false);
        group->addAction(items[i]);
    }
    return items;
}

} // namespace

QAction* TMainForm::FindAction(const QString& text) const {
    for (QAction* action : findChildren<QAction*>())
        if (action->text() == text) return action;
    return nullptr;
}

void TMainForm::BuildMenus() {
    BuildGameMenu();
    BuildParameterMenu();
}

void TMainForm::BuildGameMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Игра"));
    gameMenu_ = menu;
    startItems_[0] = Item(menu, QStringLiteral("Зелёные начинают"), Qt::Key_F1);
    startItems_[1] = Item(menu, QStringLiteral("Синие начинают"), Qt::Key_F2);
    passItem_ = Item(menu, QStringLiteral("Нет хода"), Qt::Key_F3);
    resetItem_ = Item(menu, QStringLiteral("Сбросить счет"), Qt::Key_F4);
    resetItem_->setIcon(QIcon(QPixmap::fromImage(SmallPicture(3))));
    QAction* findMove = Item(menu, QStringLiteral("Найти ход"), Qt::Key_F5);
    findMove->setIcon(QIcon(QPixmap::fromImage(SmallPicture(10))));
    panel_->hintButton->setIcon(findMove->icon());
    connect(panel_->hintButton, &QToolButton::clicked, findMove, &QAction::trigger);
    connect(findMove, &QAction::triggered, this, [this] {
        const THelpLook look{board_->FieldTexture(), figureList_.SmallFigure(scheme_.Figure1),
                             figureList_.SmallFigure(scheme_.Figure2)};
        THelpForm::Run(*controller_, look, this);
    });
    menu->addSeparator();
    static const std::array<QString, 5> navigation{
        QStringLiteral("В начало"), QStringLiteral("Назад"), QStringLiteral("Играть"),
        QStringLiteral("Вперед"), QStringLiteral("В конец")};
    for (std::size_t i = 0; i < navigation.size(); ++i) {
        QAction* item = Item(menu, navigation[i], QKeySequence(Qt::Key_F6 + int(i)));
        const QIcon icon(QPixmap::fromImage(SmallPicture(4 + int(i))));
        item->setIcon(icon);
        item->setEnabled(false);
        panel_->navigation[i]->setIcon(icon);
        navigationItems_[i] = item;
    }
    menu->addSeparator();
    BuildFileItems(menu);
    QAction* close = Item(menu, QStringLiteral("Закрыть"), QKeySequence(Qt::ALT | Qt::Key_F4));

    connect(startItems_[0], &QAction::triggered, this, [this] { controller_->StartGame(1); });
    connect(startItems_[1], &QAction::triggered, this, [this] { controller_->StartGame(0); });
    connect(passItem_, &QAction::triggered, this, [this] { controller_->PassMove(); });
    connect(resetItem_, &QAction::triggered, this, [this] { controller_->ResetCommand(); });
    connect(navigationItems_[0], &QAction::triggered, this, [this] { controller_->ToBegin(); });
    connect(navigationItems_[1], &QAction::triggered, this, [this] { controller_->StepBack(); });
    connect(navigationItems_[2], &QAction::triggered, this, [this] { controller_->ResumePlay(); });
    connect(navigationItems_[3], &QAction::triggered, this, [this] { controller_->StepForward(); });
    connect(navigationItems_[4], &QAction::triggered, this, [this] { controller_->ToEnd(); });
    connect(close, &QAction::triggered, this, &QWidget::close);
}

void TMainForm::BuildParameterMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Параметры"));
    hintItem_ = Check(menu, QStringLiteral("Подсказка"), controller_->HintOn());
    goFastItem_ = Check(menu, QStringLiteral("Ходить быстро"), controller_->GoFast());
    complicationItem_ = Check(menu, QStringLiteral("Усложнение"), controller_->Complication());
    QMenu* players = menu->addMenu(QStringLiteral("Игроки"));
    regimItems_ =
        RadioItems<2>(players, this,
                      {QStringLiteral("Человек и Компьютер"), QStringLiteral("Человек и Человек")});
    levelMenu_ = menu->addMenu(QStringLiteral("Интеллект компьютера"));
    levelItems_ = RadioItems<3>(
        levelMenu_, this,
        {QStringLiteral("Высокий"), QStringLiteral("Средний"), QStringLiteral("Низкий")});
    menu->addSeparator();
    BuildViewMenu(menu->addMenu(QStringLiteral("Вид")));
    QMenu* sounds = menu->addMenu(QStringLiteral("Звуки"));
    soundItems_ = {Check(sounds, QStringLiteral("Начало игры"), look_.SoundBegin),
                   Check(sounds, QStringLiteral("Ход"), look_.SoundMove),
                   Check(sounds, QStringLiteral("Конец игры"), look_.SoundEnd)};
    menu->addSeparator();
    // Staying on top is offered only in the standard window mode.
    stayOnTopItem_ = Check(menu, QStringLiteral("Поверх всех окон"), settings_.StayOnTop);
    stayOnTopItem_->setEnabled(store_ != nullptr &&
                               store_->RegReadBool(QStringLiteral("StartStandard"), false));
    menu->addSeparator();
    defaultsItem_ = Item(menu, QStringLiteral("Все по умолчанию"));
    defaultsItem_->setEnabled(settingsWritable_);
    connect(stayOnTopItem_, &QAction::triggered, this, [this](bool on) { StayOnTop(on); });
    connect(defaultsItem_, &QAction::triggered, this, [this] { ResetAllSettings(); });

    connect(hintItem_, &QAction::triggered, this, [this](bool on) {
        // The check box follows and tells the controller.
        panel_->hintCheck->setChecked(on);
    });
    connect(goFastItem_, &QAction::triggered, this, [this](bool on) {
        controller_->SetGoFast(on);
        board_->SetGoFast(on);
    });
    connect(complicationItem_, &QAction::triggered, this,
            [this](bool on) { controller_->SetComplication(on); });
    for (int regim = 1; regim <= 2; ++regim)
        connect(regimItems_[std::size_t(regim - 1)], &QAction::triggered, this, [this, regim] {
            controller_->SetRegim(regim);
            // A refused change leaves the old mode checked.
            regimItems_[0]->setChecked(controller_->Regim() == 1);
            regimItems_[1]->setChecked(controller_->Regim() == 2);
        });
    for (int level = 1; level <= 3; ++level)
        connect(levelItems_[std::size_t(3 - level)], &QAction::triggered, this, [this, level] {
            controller_->SetIntellect(level);
            levelChosen_ = true;
            ShowIntellect(controller_->Intellect());
        });
}

void TMainForm::BuildViewMenu(QMenu* menu) {
    loadFieldItem_ = Check(menu, QStringLiteral("Загружать рисунок поля"), false);
    fieldTextureItem_ = Check(menu, QStringLiteral("Встроенная текстура поля"), true);
    menu->addSeparator();
    loadBackgroundItem_ = Check(menu, QStringLiteral("Загружать рисунок фона"), false);
    backgroundTextureItem_ = Check(menu, QStringLiteral("Встроенная текструра фона"), true);
    menu->addSeparator();
    gridItem_ = Check(menu, QStringLiteral("Сетка"), look_.ShowGrid);
    coordinatesItem_ = Check(menu, QStringLiteral("Координаты"), look_.ShowCoordinates);
    panelItem_ = Check(menu, QStringLiteral("Панель управления"), look_.ControlPanel);
    QMenu* style = menu->addMenu(QStringLiteral("Стиль"));
    styleItems_ = RadioItems<2>(style, this, {QStringLiteral("Кнопки"), QStringLiteral("Рисунок")});
    QMenu* schemes = menu->addMenu(QStringLiteral("Цветовая схема"));
    schemeItems_ =
        RadioItems<2>(schemes, this, {QStringLiteral("По умолчанию"), QStringLiteral("Темная")});

    connect(loadFieldItem_, &QAction::triggered, this, [this] { LoadFieldPicture(); });
    connect(fieldTextureItem_, &QAction::triggered, this, [this] { ChooseFieldTexture(); });
    connect(loadBackgroundItem_, &QAction::triggered, this, [this] { LoadBackgroundPicture(); });
    connect(backgroundTextureItem_, &QAction::triggered, this,
            [this] { ChooseBackgroundTexture(); });
    connect(gridItem_, &QAction::triggered, this, [this](bool on) { ChangeGrid(on); });
    connect(coordinatesItem_, &QAction::triggered, board_,
            [this](bool on) { board_->SetCoordinatesVisible(on); });
    connect(panelItem_, &QAction::triggered, this, [this](bool on) { ShowControlPanel(on); });
    connect(styleItems_[0], &QAction::triggered, this, [this] { SetStyle(true); });
    connect(styleItems_[1], &QAction::triggered, this, [this] { SetStyle(false); });
    connect(schemeItems_[0], &QAction::triggered, this, [this] { ApplyScheme(1); });
    connect(schemeItems_[1], &QAction::triggered, this, [this] { ApplyScheme(2); });
}

void TMainForm::SetStyle(bool buttons) {
    styleItems_[0]->setChecked(buttons);
    styleItems_[1]->setChecked(!buttons);
    for (QAction* item : {loadFieldItem_, fieldTextureItem_, gridItem_})
        item->setEnabled(!buttons);
    if (buttons == board_->StyleButton()) return;
    board_->SetStyleButton(buttons);
    board_->RequestRedraw(TRedraw::AllAtOnce);
}

void TMainForm::RefreshField() {
    if (board_->StyleButton()) return;
    board_->RepaintField();
    board_->RequestRedraw(TRedraw::AllAtOnce);
}

void TMainForm::ChangeGrid(bool on) {
    board_->SetGrid(on);
    RefreshField();
}

} // namespace dorvane
