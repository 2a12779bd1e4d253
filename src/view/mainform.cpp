#include "view/mainform.h"

#include "view/assets.h"
#include "view/controlpanel.h"

#include "core/data_folder.h"
#include "core/file_name.h"
#include "core/regular_file.h"
#include "core/hand_over_text.h"
#include "desktop/shortcut_resolve.h"
#include "desktop/type_settings.h"
#include "music/music_loader.h"
#include "music/music_masks.h"
#include "music/music_sources.h"
#include "play/saved_game_file.h"
#include "play/search_worker.h"
#include "widgets/messageform.h"
#include "widgets/open_dialogs.h"
#include "widgets/window_mode.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

namespace dorvane {

namespace {

constexpr int kBoardSize = 447;
constexpr int kPanelWidth = 163;
constexpr int kStatusHeight = 19;
constexpr std::array<int, 5> kStatusWidths{105, 105, 77, 77, 50};
constexpr int kDateTimeMs = 900;
// A close that waits for dialogs to return looks again after this long.
constexpr int kCloseRetryMs = 50;

// The first dropped item that is a file on this machine; of several dropped
// files only the first counts.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return {};
    return urls.first().toLocalFile();
}

} // namespace

TMainForm::TStored TMainForm::ReadStored(const SettingsAccess& store) {
    // Some sixty values, one reading of the file.
    const TSettingsReads reads(store);
    TStored stored;
    stored.shell = ShellSettingsSchema().Read(store, {QSystemTrayIcon::isSystemTrayAvailable()});
    stored.game = ReadGameSettings(store, {stored.shell.StartStandard});
    stored.music = MusicSettingsSchema().Read(store, {MusicFolder(), QDir::currentPath()});
    stored.musicSources = ReadRecentSources(store);
    stored.recent.Read(store);
    stored.restoreTypes = TypesToRestore(OfferedTypeMasks(), store);
    return stored;
}

TMainForm::TStored TMainForm::Unstored(const TGameSettings& settings) {
    TStored stored;
    stored.game = settings;
    stored.shell = ShellSettingsSchema().Defaults();
    stored.music = MusicSettingsSchema().Defaults({MusicFolder(), QDir::currentPath()});
    return stored;
}

TMainForm::TMainForm(TRandomSource& random, SettingsAccess& store, const TMusicParts& music,
                     QWidget* parent)
    : TMainForm(random, &store, ReadStored(store), nullptr, music, parent) {}

TMainForm::TMainForm(TRandomSource& random, const TGameSettings& settings, TSearchRunner* searches,
                     const TMusicParts& music, QWidget* parent)
    : TMainForm(random, nullptr, Unstored(settings), searches, music, parent) {}

TMainForm::TMainForm(TRandomSource& random, SettingsAccess* store, TStored stored,
                     TSearchRunner* searches, const TMusicParts& music, QWidget* parent)
    : QMainWindow(parent), messages_(this), store_(store), settings_(std::move(stored.game)),
      shell_(stored.shell), music_(std::move(stored.music)), recent_(std::move(stored.recent)),
      settingsWritable_(store != nullptr && store->RegistryWritable()),
      chooser_(DialogFileChooser(this)), commands_(this) {
    if (!searches) {
        ownSearches_ = std::make_unique<TSearchWorker>();
        searches = ownSearches_.get();
    }
    searches_ = searches;
    setWindowTitle(QString::fromUtf8(kMessageCaption));
    // Opening the audio device takes a noticeable moment; the window comes
    // up first and the sounds are readied right after it.
    QTimer::singleShot(0, this, [this] { Sounds(); });
    // The engine before the menus, whose marks mirror its switches; it starts
    // playing at the end of the creation.
    player_ = std::make_unique<TMusicHost>(
        TMusicHostParts{this, &commands_, &longOperations_, [this] { SetTime(); },
                        [this](const QString& text) { SetCaption(text); }, store_,
                        // As a click on the tray icon: the window back from
                        // the tray, a minimised start's windows with it.
                        [this] { tray_->Click(); }},
        music,
        TMusicStart{music_.PlayMusic, music_.SelectionAccidental, music_.MusicAddSub,
                    music_.DirOfMusic, stored.musicSources, music.requestedSpeed,
                    music_.ShowListMusic, MusicFolder()});
    // Sound files handed over while a load runs wait for its end.
    connect(&player_->Engine().Loader(), &TMusicLoader::LoadFinished, this, [this] {
        if (!handedPaths_.isEmpty()) controller_->WhenIdle([this] { OpenHandedPaths(); });
    });

    BuildLayout();
    BuildMenus();
    help_ = std::make_unique<THelpMenu>(this, menuBar(), commands_, messages_, random);
    // The icon is in the notification area from now until the window goes.
    tray_ = std::make_unique<TGameTray>(
        this, shell_.StartStandard,
        TGameTrayActions{[this] { commands_.Action(TCommand::About)->trigger(); },
                         [this] { close(); }, [this] { ShowWindows(); }});
    // Without a notification area nothing could give a hidden window back.
    shell_.MinimizeToTray = shell_.MinimizeToTray && TKvoTrayIcon::NotificationAreaAvailable();
    tray_->Icon().SetMinimizeToTray(shell_.MinimizeToTray);
    keepWindows_ = !shell_.StartStandard;

    TGameViewParts parts;
    parts.window = this;
    parts.board = board_;
    parts.panel = panel_;
    parts.statusPanels = statusPanels_;
    parts.commands = &commands_;
    parts.levelMenu = levelMenu_;
    parts.messages = &messages_;
    parts.playSound = [this](TGameSound sound) { PlaySound(sound); };
    view_ = std::make_unique<TGameViewAdapter>(parts);
    controller_ = std::make_unique<TGameController>(*view_, *searches_, random, settings_.Game,
                                                    settings_.Names);
    view_->SetController(controller_.get());
    look_ = std::make_unique<TGameLook>(TGameLookParts{this, board_, panel_, &commands_,
                                                       controller_.get(), &figureList_, store_,
                                                       &settingsWritable_, &messages_},
                                        settings_);
    if (store_) {
        desktop_ = std::make_unique<TDesktopCommands>(TDesktopParts{
            this, store_, &settingsWritable_, QCoreApplication::applicationFilePath()});
        desktop_->RegisterAtStart(stored.restoreTypes);
    }
    savedGames_ = std::make_unique<TSavedGameCommands>(
        TSavedGameParts{this, controller_.get(), &messages_, &recent_, gameMenu_, afterSaveItem_,
                        [this](const QString& path) {
                            if (desktop_) desktop_->GameFileUsed(path);
                        }},
        chooser_);

    ConnectCommands();
    panel_->BindCommands(commands_);
    look_->ApplyStored();
    ShowControlPanel(settings_.Look.ControlPanel);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // Staying on top is offered only in the standard window mode.
    commands_.SetEnabled(TCommand::StayOnTop, store_ != nullptr && shell_.StartStandard);
    // A stay-on-top window would come up under the splash, which is on top
    // itself: the mark is applied when the splash has gone (ShowWindows).
    commands_.SetEnabled(TCommand::Defaults, settingsWritable_);
    MirrorOptions();

    // The engine's tick keeps the date and time; a window whose engine is
    // stepped by hand keeps them itself.
    if (!player_->TicksClock()) {
        clockTimer_ = new QTimer(this);
        connect(clockTimer_, &QTimer::timeout, this, [this] { SetTime(); });
        clockTimer_->start(kDateTimeMs);
    }
    SetTime();

    controller_->Initialize();
    setAcceptDrops(true);
    savedGames_->RebuildRecentMenu();
    if (store_) {
        adjustSize();
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        // The window's size already leaves out a hidden control panel.
        move(WindowPosition(settings_.StoredLeft, settings_.StoredTop, area, size(), 0, true,
                            FrameMargins(this)));
        KeepFrameInWorkAreaWhenShown(this);
    }
    player_->Start();
}

TMainForm::~TMainForm() {
    // The music stops before its values are written.
    player_->Shutdown();
    if (settingsWritable_) WriteSettingsAtExit();
}

void TMainForm::BuildLayout() {
    client_ = new QWidget(this);
    setCentralWidget(client_);
    board_ = new TBoardWidget(*this, client_);
    board_->move(0, 0);
    // The arrows reach the board from the window's first activation on.
    board_->setFocus();
    panel_ = new TControlPanel(client_);
    panel_->move(kBoardSize + 1, 0);
    panel_->OnLevelChosen = [this](int index) { controller_->IntellectItemChosen(index); };
    panel_->OnNameEdited = [this](TSide side, const QString& name) {
        look_->NameEdited(side, name);
    };

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
}

void TMainForm::SetFileChooser(TFileChooser chooser) {
    chooser_ = std::move(chooser);
    savedGames_->SetFileChooser(chooser_);
}

void TMainForm::SetCaption(const QString& text) {
    const QString name = QString::fromUtf8(kMessageCaption);
    setWindowTitle(text.isEmpty() ? name : name + QStringLiteral(" - ") + text);
    // The caption is set while the music engine is made, before the icon.
    if (tray_) tray_->Icon().SetHint(windowTitle());
}

void TMainForm::SetTime() {
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    view_->ShowDateTime(locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                        locale.toString(now.time(), QLocale::LongFormat));
}

void TMainForm::CloseWhenIdle() {
    // A logout or a second start's quit is not refused for a folder search:
    // the search stops with what it found, and the window closes then.
    controller_->WhenIdle([this] { player_->EndSearches([this] { close(); }); });
}

void TMainForm::OpenHandedText(const QString& text) {
    // Every hand-over is kept: several starts at once each hand their own
    // names, and all of them open, in the order they came.
    for (const QString& path : SplitHandedText(text))
        handedPaths_ << LocalPathFromArgument(path);
    controller_->WhenIdle([this] { OpenHandedPaths(); });
}

void TMainForm::OpenHandedPaths() {
    // While the computer moves (its search, then its move drawn) the paths
    // wait for the player's turn instead of being dropped; a saved game that
    // leaves the computer to move holds back the names after it.
    while (!handedPaths_.isEmpty() && !controller_->Blocked() && controller_->CanAct()) {
        // Sound files named one after another play together, as the
        // playlist; one alone plays with its folder, as ever.
        QStringList sounds;
        for (const QString& path : handedPaths_) {
            const QString target = ResolveShortcut(path);
            if (!IsAudioFile(target)) break;
            sounds << target;
        }
        if (sounds.size() < 2) {
            OpenFile(handedPaths_.takeFirst());
            continue;
        }
        if (player_->Loading()) return; // the load's end brings them back
        handedPaths_.remove(0, sounds.size());
        player_->OpenFiles(sounds);
    }
}

void TMainForm::ShowWindows() {
    if (closed_) return;
    if (settings_.Look.StayOnTop) StayOnTop(true);
    show();
    raise();
    activateWindow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A close from inside a dialog's own loop (a signal, the media controls'
    // Quit, a later start's request) must not destroy the windows under the
    // dialog and the command that opened it: the dialogs are ended, and the
    // close comes again once their loops have returned.
    if (DialogsInTheWay()) {
        EndOpenDialogs();
        event->ignore();
        QTimer::singleShot(kCloseRetryMs, this, [this] {
            if (!closed_) close();
        });
        return;
    }
    // Every close comes here, the menu's, the window manager's and a
    // signal's: none may throw away what a long file operation collects.
    if (longOperations_.Running()) {
        MsgUnfinishedOperations();
        event->ignore();
        return;
    }
    // A search must return before the window may go; the controller closes it
    // through CloseDeferred as soon as it has.
    if (!controller_->MayClose()) {
        event->ignore();
        return;
    }
    view_->StopTimers();
    player_->Shutdown();
    if (closeStep_) std::exchange(closeStep_, nullptr)();
    closed_ = true;
    CloseOwnerlessDialogs();
    event->accept();
}

void TMainForm::OpenAtStart(const QStringList& arguments, bool restarted) {
    // A sound file, playlist or folder named at the start plays instead of
    // the stored sources; a saved game opens after the usual load. Several
    // sound files named first play together.
    qsizetype sounds = 0;
    while (sounds < arguments.size() && IsAudioFile(ResolveShortcut(arguments[sounds])))
        ++sounds;
    qsizetype taken = 1;
    bool musicNamed = false;
    if (sounds >= 2) {
        QStringList files;
        for (qsizetype i = 0; i < sounds; ++i)
            files << ResolveShortcut(arguments[i]);
        musicNamed = player_->OpenFiles(files);
        taken = sounds;
    } else if (!arguments.isEmpty() && IsMusicTarget(arguments.first())) {
        musicNamed = player_->OpenTarget(arguments.first());
    }
    if (!musicNamed) player_->LoadAllSources();
    savedGames_->OpenAtStart(sounds >= 2 ? QStringList() : arguments, restarted);
    // A name given that leads nowhere is said, once for all of them, when
    // the window is there to show it. A saved game that is there but cannot
    // be read says so itself when it is loaded.
    const auto unopenable = [](const QString& name) {
        return !NamedFileOpens(name) &&
               !(IsSavedGamePath(name) && IsRegularFile(NativeFileName(name)));
    };
    if (std::ranges::any_of(arguments, unopenable))
        controller_->WhenIdle([this] {
            messages_.Show(QStringLiteral("Не удалось открыть файл!"), TMessageIcon::Warning);
        });
    // The other names open after the first, as a later start's would.
    if (arguments.size() > taken) {
        handedPaths_ << arguments.mid(taken);
        controller_->WhenIdle([this] { OpenHandedPaths(); });
    }
}

void TMainForm::OpenFile(const QString& named) {
    // A link to the file meant (a symbolic link, a file manager's link
    // launcher) opens the file; a link to nothing stays itself and is
    // nobody's file.
    const QString path = ResolveShortcut(named);
    if (IsMusicTarget(path))
        player_->OpenTarget(path);
    else
        savedGames_->OpenFile(path);
}

bool TMainForm::LoadGameFile(const QString& path) {
    return savedGames_->LoadFile(path);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The board holds the focus; it loses it only to a name box being
    // edited, whose end leaves no control focused. Keys that reach the
    // window then are the board's; while another control has the focus
    // they are that control's business.
    QWidget* focused = focusWidget();
    if ((!focused || focused == board_) && board_->BoardKeyPressed(*event)) return;
    QMainWindow::keyPressEvent(event);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenFile(path);
}

TGameSounds& TMainForm::Sounds() {
    if (!sounds_) sounds_ = std::make_unique<TGameSounds>();
    return *sounds_;
}

void TMainForm::PlaySound(TGameSound sound) {
    const TLookSettings& look = settings_.Look;
    Sounds().Play(sound, TSoundSwitches{look.SoundBegin, look.SoundMove, look.SoundEnd});
}

void TMainForm::ShowControlPanel(bool on) {
    settings_.Look.ControlPanel = on;
    panel_->setVisible(on);
    statusBar_->setVisible(!on);
    client_->setFixedSize(on ? QSize(kBoardSize + 1 + kPanelWidth, kBoardSize)
                             : QSize(kBoardSize, kBoardSize + kStatusHeight));
    commands_.SetChecked(TCommand::ControlPanel, on);
    if (!on || !isVisible()) return;
    // The panel makes the window wider: one near the right edge of the
    // screen is pulled back into the work area, as at start.
    adjustSize();
    if (const QScreen* area = screen()) {
        const QPoint at = frameGeometry().topLeft();
        const QPoint pulled =
            PullIntoWorkArea(at, size(), FrameMargins(this), area->availableGeometry());
        if (pulled != at) move(pulled);
    }
}

void TMainForm::StayOnTop(bool on) {
    settings_.Look.StayOnTop = on;
    SetStayOnTop(this, on);
}

void TMainForm::MinimizeToTrayClicked() {
    // Asked anew at each click: a panel may have come or gone meanwhile.
    shell_.MinimizeToTray = commands_.Action(TCommand::MinimizeToTray)->isChecked() &&
                            TKvoTrayIcon::NotificationAreaAvailable();
    tray_->Icon().SetMinimizeToTray(shell_.MinimizeToTray);
    MirrorOptions();
}

void TMainForm::KeepWindowsClicked() {
    // The mode of this run stays; the next start reads the new one.
    keepWindows_ = commands_.Action(TCommand::KeepWindows)->isChecked();
    if (store_ && settingsWritable_) {
        TShellSettings next = shell_;
        next.StartStandard = !keepWindows_;
        ShellSettingsSchema().WriteNow(*store_, next, QStringLiteral("StartStandard"));
    }
    MsgRestartNeeded(messages_);
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

QPoint TMainForm::BoardLastMove() const {
    const TMarch& march = controller_->March();
    const std::size_t shown = controller_->CurrentV();
    if (shown == 0 || shown >= march.Moves.size()) return {};
    const auto& [column, row] = march.Moves[shown];
    return IsPlayingCell(column, row) ? QPoint(column, row) : QPoint();
}

void TMainForm::BoardRedrawFinished() {
    controller_->RedrawFinished();
    if (!handedPaths_.isEmpty()) controller_->WhenIdle([this] { OpenHandedPaths(); });
}

} // namespace dorvane
