#include "mainform.h"

#include "view/assets.h"
#include "view/controlpanel.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace dorvane {

namespace {

constexpr int kBoardSize = 447;
constexpr int kPanelWidth = 163;
constexpr int kStatusHeight = 19;
constexpr std::array<int, 5> kStatusWidths{105, 105, 77, 77, 50};
constexpr int kDateTimeMs = 900;

std::size_t Column(std::uint8_t sideFlag) {
    return sideFlag == 1 ? 0 : 1;
}

TGameSettings SettingsFrom(const TGameOptions& game, const TLookOptions& look) {
    TGameSettings s;
    s.Regime = game.Regim;
    s.Intellect = game.Intellect;
    s.Help = game.HintOn;
    s.GoFast = game.GoFast;
    s.Complication = game.Complication;
    s.Player1 = game.SideName1;
    s.Player2 = game.SideName2;
    s.StyleButton = look.StyleButton;
    s.ShowGrid = look.ShowGrid;
    s.ShowCoordinates = look.ShowCoordinates;
    s.ControlPanel = look.ControlPanel;
    s.ColorScheme = look.ColorScheme;
    s.TextureOfField = look.FieldTexture;
    s.TextureOfFon = look.FonTexture;
    s.SoundBegin = look.SoundBegin;
    s.SoundMove = look.SoundMove;
    s.SoundEnd = look.SoundEnd;
    return s;
}

TLookOptions LookFrom(const TGameSettings& s) {
    TLookOptions look;
    look.StyleButton = s.StyleButton;
    look.ShowGrid = s.ShowGrid;
    look.ShowCoordinates = s.ShowCoordinates;
    look.ControlPanel = s.ControlPanel;
    look.ColorScheme = s.ColorScheme;
    look.FieldTexture = s.TextureOfField;
    look.FonTexture = s.TextureOfFon;
    look.SoundBegin = s.SoundBegin;
    look.SoundMove = s.SoundMove;
    look.SoundEnd = s.SoundEnd;
    return look;
}

TCustomScheme CustomFrom(const TGameSettings& s) {
    TCustomScheme custom;
    for (std::size_t i = 0; i < custom.Colors.size(); ++i)
        custom.Colors[i] = ColorFromStored(std::uint32_t(s.SColor[i]));
    custom.Player1 = s.SPlayer1;
    custom.Player2 = s.SPlayer2;
    for (std::size_t i = 0; i < custom.Figures.size(); ++i)
        custom.Figures[i] = s.SFigure[i];
    custom.Paths = s.SPaths;
    return custom;
}

TGameSettingsContext StartContext(const SettingsAccess& store) {
    TGameSettingsContext context;
    context.defaultMusicDir = QCoreApplication::applicationDirPath() + QStringLiteral("/Sound");
    context.currentDir = QDir::currentPath();
    context.trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    context.startStandard = store.RegReadBool(QStringLiteral("StartStandard"), false);
    return context;
}

} // namespace

TMainForm::TMainForm(TRandomSource& random, SettingsAccess& store, QWidget* parent)
    : TMainForm(random, &store, ReadGameSettings(store, StartContext(store)), parent) {}

TMainForm::TMainForm(TRandomSource& random, const TGameOptions& game, const TLookOptions& look,
                     QWidget* parent)
    : TMainForm(random, nullptr, SettingsFrom(game, look), parent) {}

TMainForm::TMainForm(TRandomSource& random, SettingsAccess* store, const TGameSettings& settings,
                     QWidget* parent)
    : QMainWindow(parent), messages_(this), store_(store), settings_(settings),
      settingsWritable_(store != nullptr && store->RegistryWritable()), look_(LookFrom(settings)) {
    const TGameOptions game = GameOptionsFrom(settings);
    custom_ = CustomFrom(settings);
    pictureFolder_ = settings.DirOfPicture;
    gameFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (gameFolder_.isEmpty() || !QFileInfo(gameFolder_).isDir()) gameFolder_ = QDir::homePath();
    setWindowTitle(QString::fromUtf8(kMessageCaption));
    // Opening the audio device takes a noticeable moment; the window comes
    // up first and the sounds are readied right after it.
    QTimer::singleShot(0, this, [this] { Sounds(); });
    controller_ = std::make_unique<TGameController>(static_cast<TGameView&>(*this), random, game);

    client_ = new QWidget(this);
    setCentralWidget(client_);
    board_ = new TBoardWidget(*this, client_);
    board_->move(0, 0);
    panel_ = new TControlPanel(client_);
    panel_->move(kBoardSize + 1, 0);

    statusBar_ = new QWidget(client_);
    statusBar_->setGeometry(0, kBoardSize, kBoardSize, kStatusHeight);
    // The panels are narrow: a name and a status must fit in 105 pixels.
    QFont small = statusBar_->font();
    small.setPixelSize(11);
    small.setStretch(QFont::SemiCondensed);
    statusBar_->setFont(small);
    int x = 0;
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* label = new QLabel(statusBar_);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int width = i + 1 < statusPanels_.size() ? kStatusWidths[i] : kBoardSize - x;
        label->setGeometry(x, 1, width - 1, kStatusHeight - 1);
        label->setIndent(2);
        x += kStatusWidths[i];
        statusPanels_[i] = label;
    }

    for (std::size_t i = 0; i < timers_.size(); ++i) {
        auto* timer = new QTimer(this);
        const auto which = static_cast<TGameTimer>(i);
        timer->setSingleShot(which == TGameTimer::ComputerPause);
        connect(timer, &QTimer::timeout, this, [this, which] { controller_->TimerFired(which); });
        timers_[i] = timer;
    }
    clockTimer_ = new QTimer(this);
    connect(clockTimer_, &QTimer::timeout, this, [this] { SetTime(); });
    clockTimer_->start(kDateTimeMs);
    SetTime();

    BuildMenus();
    ConnectPanel();

    board_->SetGrid(look_.ShowGrid);
    board_->SetCoordinatesVisible(look_.ShowCoordinates);
    board_->SetGoFast(controller_->GoFast());
    board_->SetFieldTexture(BuiltinTexture(look_.FieldTexture));
    board_->SetBackground(QPixmap::fromImage(BuiltinTexture(look_.FonTexture)));
    board_->SetStyleButton(look_.StyleButton);
    SetStyle(look_.StyleButton);
    ShowControlPanel(look_.ControlPanel);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    playerNames_.Player1 = settings.Player1;
    playerNames_.Player2 = settings.Player2;
    figureList_.AddStoredPictures(custom_.Paths);
    ApplyStoredLook();
    ApplyScheme(CorrectSchemeNumber(look_.ColorScheme));
    controller_->Initialize();
    // A stored level the program does not know plays as the average one,
    // with no level checked.
    if (settings_.Intellect < 1 || settings_.Intellect > 3) ShowIntellect(0);
    setAcceptDrops(true);
    RebuildRecentMenu();
    if (store_) {
        adjustSize();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        // The window's size already leaves out a hidden control panel.
        move(ReadWindowPosition(*store_, area, size(), 0, true));
    }
}

TMainForm::~TMainForm() {
    if (settingsWritable_) WriteSettingsAtExit();
}

void TMainForm::SetCaption(const QString& text) {
    const QString name = QString::fromUtf8(kMessageCaption);
    setWindowTitle(text.isEmpty() ? name : name + QStringLiteral(" - ") + text);
}

void TMainForm::SetTime() {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    panel_->dateTime->setText(locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                              locale.toString(now.time(), QLocale::LongFormat));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A search must return before the window may go; the controller closes it
    // through CloseDeferred as soon as it has.
    if (!controller_->MayClose()) {
        event->ignore();
        return;
    }
    for (QTimer* timer : timers_)
        timer->stop();
    event->accept();
}

// --- TGameView ----------------------------------------------------------------

void TMainForm::ShowMessage(const QString& text, TMessageIcon icon) {
    messages_.Show(text, icon);
}

bool TMainForm::AskYesNo(const QString& text) {
    return messages_.AskYesNo(text);
}

void TMainForm::ShowStatusBox(std::uint8_t sideFlag, const QString& text) {
    panel_->statuses[Column(sideFlag)]->setText(text);
}

void TMainForm::ShowStatusPanel(int panel, const QString& text) {
    if (panel >= 1 && panel <= 5) statusPanels_[std::size_t(panel - 1)]->setText(text);
}

void TMainForm::ShowMoveCounter(const QString& text) {
    panel_->moveCounter->setText(text);
}

void TMainForm::ShowScores(const QString& caption, const QString& score1, const QString& score2) {
    panel_->scoreCaption->setText(caption);
    panel_->scores[0]->setText(score1);
    panel_->scores[1]->setText(score2);
}

void TMainForm::ShowOverall(const QString& overall1, const QString& overall2) {
    panel_->overall[0]->setText(overall1);
    panel_->overall[1]->setText(overall2);
}

void TMainForm::ShowRating(const QString& rating1, const QString& rating2) {
    panel_->ratings[0]->setText(rating1);
    panel_->ratings[1]->setText(rating2);
}

void TMainForm::ShowClock(std::uint8_t sideFlag, const QString& text) {
    panel_->clocks[Column(sideFlag)]->setText(text);
}

void TMainForm::ShowPlayers(const TPlayersView& players) {
    panel_->names[0]->SetName(players.name1);
    panel_->names[1]->SetName(players.name2);
    startItems_[0]->setText(players.startCaption1);
    startItems_[1]->setText(players.startCaption2);
    panel_->icons[1]->setPixmap(QPixmap::fromImage(SidePicture(players.regim == 1)));
    regimItems_[0]->setChecked(players.regim == 1);
    regimItems_[1]->setChecked(players.regim == 2);
    levelMenu_->setEnabled(players.levelsEnabled);
    for (QAction* item : levelItems_)
        item->setEnabled(players.levelsEnabled);
    panel_->levelGroup->setEnabled(players.levelsEnabled);
}

void TMainForm::ShowHint(const QString& text, std::uint8_t sideFlag) {
    panel_->hintBox->setText(text);
    hintSide_ = sideFlag;
    ColourHint();
}

void TMainForm::ShowIntellect(int intellect) {
    // A level outside 1..3 checks nothing.
    for (int level = 1; level <= 3; ++level) {
        const auto index = std::size_t(3 - level);
        levelItems_[index]->setChecked(level == intellect);
        QSignalBlocker blocker(panel_->levelButtons);
        panel_->levels[index]->setChecked(level == intellect);
    }
    if (intellect < 1 || intellect > 3) {
        // Exclusive groups refuse to uncheck their last checked member.
        panel_->levelButtons->setExclusive(false);
        for (auto* radio : panel_->levels)
            radio->setChecked(false);
        panel_->levelButtons->setExclusive(true);
        QActionGroup* items = levelItems_[0]->actionGroup();
        items->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
        for (QAction* item : levelItems_)
            item->setChecked(false);
        items->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    }
}

void TMainForm::ShowPassBlink(bool highlighted) {
    SetCaptionColour(panel_->passButton,
                     highlighted ? scheme_.NoMoveColor : palette().color(QPalette::Button));
}

void TMainForm::EnableCommand(TGameCommand command, bool enabled) {
    const auto index = std::size_t(command);
    navigationItems_[index]->setEnabled(enabled);
    panel_->navigation[index]->setEnabled(enabled);
}

void TMainForm::StartTimer(TGameTimer timer, int intervalMs) {
    timers_[std::size_t(timer)]->start(intervalMs);
}

void TMainForm::StopTimer(TGameTimer timer) {
    timers_[std::size_t(timer)]->stop();
}

void TMainForm::RequestRedraw(TRedraw kind) {
    board_->RequestRedraw(kind);
}

void TMainForm::ShowMoveMarks(const TFlipGrid& grid, int bestColumn, int bestRow) {
    board_->ShowMoveMarks(grid, bestColumn, bestRow);
}

TGameSounds& TMainForm::Sounds() {
    if (!sounds_) sounds_ = std::make_unique<TGameSounds>();
    return *sounds_;
}

void TMainForm::PlaySound(TGameSound sound) {
    TSoundSwitches switches;
    switches.Begin = soundItems_[0]->isChecked();
    switches.Move = soundItems_[1]->isChecked();
    switches.End = soundItems_[2]->isChecked();
    Sounds().Play(sound, switches);
}

void TMainForm::ShowBusy(bool busy) {
    // Every control of the window shows the hourglass while the computer thinks.
    if (busy && !busyCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!busy && busyCursor_) QApplication::restoreOverrideCursor();
    busyCursor_ = busy;
    board_->SetBusy(busy);
}

void TMainForm::ProcessEvents() {
    QCoreApplication::processEvents();
}

void TMainForm::CloseDeferred() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

// --- TBoardHost ---------------------------------------------------------------

const TGameState& TMainForm::BoardGame() const {
    return controller_->State();
}

bool TMainForm::BoardPlayR() const {
    return controller_->PlayR();
}

bool TMainForm::BoardBeginGame() const {
    return controller_->BeginGame();
}

bool TMainForm::BoardCanAct() const {
    return controller_->CanAct();
}

void TMainForm::BoardCellClick(int column, int row) {
    controller_->CellClick(column, row);
}

void TMainForm::BoardRedrawFinished() {
    controller_->RedrawFinished();
}

// --- Panel --------------------------------------------------------------------

void TMainForm::ConnectPanel() {
    connect(panel_->startButtons[0], &QPushButton::clicked, this,
            [this] { controller_->StartGame(1); });
    connect(panel_->startButtons[1], &QPushButton::clicked, this,
            [this] { controller_->StartGame(0); });
    connect(panel_->passButton, &QPushButton::clicked, this, [this] { controller_->PassMove(); });
    connect(panel_->resetButton, &QPushButton::clicked, this,
            [this] { controller_->ResetCommand(); });
    for (std::size_t i = 0; i < 5; ++i)
        connect(panel_->navigation[i], &QToolButton::clicked, navigationItems_[i],
                &QAction::trigger);
    connect(panel_->levelButtons, &QButtonGroup::idClicked, this, [this](int index) {
        controller_->IntellectItemChosen(index);
        levelChosen_ = true;
        ShowIntellect(controller_->Intellect());
    });
    connect(panel_->hintCheck, &QCheckBox::toggled, this, [this](bool on) {
        hintItem_->setChecked(on);
        controller_->SetHintOn(on);
    });
    panel_->hintCheck->setChecked(controller_->HintOn());
    for (int side = 0; side < 2; ++side)
        panel_->names[std::size_t(side)]->OnEdited = [this, side](const QString& name) {
            NameEdited(side == 0 ? 1 : 0, name);
        };
    panel_->icons[0]->setPixmap(QPixmap::fromImage(PersonPicture()));
}

void TMainForm::ShowControlPanel(bool on) {
    panel_->setVisible(on);
    statusBar_->setVisible(!on);
    client_->setFixedSize(on ? QSize(kBoardSize + 1 + kPanelWidth, kBoardSize)
                             : QSize(kBoardSize, kBoardSize + kStatusHeight));
    panelItem_->setChecked(on);
}

} // namespace dorvane
