#include "musicui/musicform.h"

#include "core/settings_access.h"
#include "music/music_engine.h"
#include "music/indicator_levels.h"
#include "music/playlist_schemes.h"
#include "musicui/input_form.h"
#include "musicui/kvoindicator.h"
#include "musicui/playlist_box.h"
#include "musicui/queryidform.h"
#include "musicui/serverform.h"
#include "widgets/dialogkeys.h"
#include "widgets/messageboxes.h"
#include "widgets/window_mode.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace dorvane {

namespace {

constexpr int kStatusMs = 1000;
constexpr int kFrameMs = 50;
constexpr int kSplitter = 2;
constexpr int kIndicatorMinimum = 19;
constexpr std::array<int, 3> kPanelWidths{48, 48, 78};
constexpr int kFirstPanelMinimum = 100;

QColor Rgb(qint32 value) {
    return QColor(QRgb(quint32(value) & 0xFFFFFFu));
}

} // namespace

void TProgressStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit Clicked(event->position().toPoint().x(), width());
    QProgressBar::mousePressEvent(event);
}

TMusicForm::TMusicForm(TMusicFormParts parts, QWidget* parent)
    : QMainWindow(parent), parts_(std::move(parts)), engine_(*parts_.engine),
      random_(TRandom::FromClock()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    const TPlaylistWindowContext context{parts_.gameWindow, parts_.workArea, parts_.frame};
    const auto& schema = PlaylistWindowSettingsSchema();
    settings_ = parts_.store ? schema.Read(*parts_.store, context) : schema.Defaults(context);
    ownMessages_ = std::make_unique<TMessageBoxes>(this);
    messages_ = ownMessages_.get();
    saveChooser_ = nullptr;

    BuildMainArea();
    BuildStatusBar();
    BuildActions();
    BuildChoiceBar();
    BuildPlaybackBar();
    BuildContextMenu();
    ApplySettings();
    InstallSwallowAltKey(this);

    // The window's own state comes from the engine's.
    LetCaption();
    LetListBox();
    SwitchesChanged();
    SetTotal();
    LetMenuMusic();
    SetSpeedBoxEnabled(engine_.SpeedBoxEnabled());
    if (TMixerPort* mixer = engine_.Mixer(); mixer && mixer->Available()) {
        SetVolume(mixer->Volume());
        SetMute(mixer->Mute());
        connect(mixer, &TMixerPort::VolumeChanged, this, &TMusicForm::SetVolume);
        connect(mixer, &TMixerPort::MuteChanged, this, &TMusicForm::SetMute);
    } else {
        volume_->setEnabled(false);
        mute_->setEnabled(false);
    }
    connect(&engine_.Playlist(), &TPlaylist::EntryChanged, this, [this](int row) {
        if (row >= 0 && row < engine_.Playlist().Count())
            list_->SetLine(row, engine_.Playlist().Entry(row).S1);
    });
    SelectRow(engine_.Playlist().CurrentIndex());
    StatusTick();

    connect(&statusTimer_, &QTimer::timeout, this, &TMusicForm::StatusTick);
    connect(&frameTimer_, &QTimer::timeout, this, &TMusicForm::FrameTick);
    statusTimer_.start(kStatusMs);
    frameTimer_.start(kFrameMs);
}

TMusicForm::~TMusicForm() {
    statusTimer_.stop();
    frameTimer_.stop();
    if (!parts_.store || !settingsWritable_) return;
    CollectSettings();
    PlaylistWindowSettingsSchema().WriteAll(*parts_.store, settings_);
}

void TMusicForm::BuildMainArea() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setHandleWidth(kSplitter);
    splitter_->setChildrenCollapsible(false);
    list_ = new TPlaylistBox(splitter_);
    list_->SetHintSource([this](int row) { return RowHint(row); });
    indicatorPanel_ = new QWidget(splitter_);
    indicatorPanel_->setMinimumWidth(kIndicatorMinimum);
    auto* layout = new QHBoxLayout(indicatorPanel_);
    layout->setContentsMargins(0, 0, 0, 0);
    indicator_ = new TKvoIndicator(indicatorPanel_);
    indicator_->setCursor(Qt::PointingHandCursor);
    indicator_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    layout->addWidget(indicator_);
    splitter_->addWidget(list_);
    splitter_->addWidget(indicatorPanel_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    setCentralWidget(splitter_);

    connect(list_, &TPlaylistBox::RowClicked, this, [this](int row) {
        if (oneClick_->isChecked()) PlayRow(row);
    });
    connect(list_, &TPlaylistBox::RowActivated, this, &TMusicForm::RowActivated);
    connect(list_, &TPlaylistBox::DeletePressed, this, [this](int) { DeleteSelected(); });
    connect(list_, &TPlaylistBox::RowDropped, this, &TMusicForm::MoveRow);
    list_->viewport()->installEventFilter(this);
    connect(indicator_, &TKvoIndicator::LeftClicked, this, &TMusicForm::NextIndicatorPreset);
    connect(indicator_, &TKvoIndicator::MenuRequested, this, &TMusicForm::ShowIndicatorMenu);
}

void TMusicForm::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    panel0_ = new QWidget(bar);
    panel0_->setMinimumWidth(kFirstPanelMinimum);
    totals_ = new QLabel(panel0_);
    progress_ = new TProgressStrip(panel0_);
    progress_->setTextVisible(false);
    progress_->setRange(0, 0);
    auto* stack = new QGridLayout(panel0_);
    stack->setContentsMargins(0, 0, 0, 0);
    // The bar lies over the totals while music plays.
    stack->addWidget(totals_, 0, 0);
    stack->addWidget(progress_, 0, 0);
    bar->addWidget(panel0_, 1);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(QStringLiteral("0:00:00"), bar);
        panels_[i]->setFixedWidth(kPanelWidths[i]);
        panels_[i]->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(panels_[i]);
    }
    connect(progress_, &TProgressStrip::Clicked, this,
            [this](int x, int width) { engine_.SeekByClick(x, width); });
    bar->installEventFilter(this);
}

void TMusicForm::ApplySettings() {
    const QRect bounds = FitBoundsToWorkArea(
        {settings_.ListLeft, settings_.ListTop, settings_.ListWidth, settings_.ListHeight},
        parts_.workArea.isValid() ? parts_.workArea : QRect(0, 0, 1 << 15, 1 << 15), parts_.frame);
    resize(bounds.size());
    move(bounds.topLeft());
    KeepFrameInWorkAreaWhenShown(this);
    if (settings_.ListMaximized) setWindowState(Qt::WindowMaximized);
    PlaceToolBars();
    ApplyListLook();
    list_->SetColumnChoice(settings_.ListColumns);
    hints_->setChecked(settings_.ListShowHint);
    oneClick_->setChecked(settings_.ListOneClick);
    indicator_->SetModification(settings_.IndicatorModification);
    indicator_->SetBeginColor(QRgb(settings_.IndicatorBC));
    indicator_->SetEndColor(QRgb(settings_.IndicatorEC));
    SetIndicatorWidth(settings_.IndicatorW);
    if (settings_.ListLayered < 255) setWindowOpacity(settings_.ListLayered / 255.0);
    speed_->setValue(std::clamp(engine_.RequestedSpeed() / 10, 1, 200));
    for (QAction* action : columnChoices_->actions())
        action->setChecked(action->data().toInt() == settings_.ListColumns);
}

void TMusicForm::PlaceToolBars() {
    // The two bars share a row when they stand at one height, else the one
    // further up comes first and the other goes below it.
    const bool oneRow = settings_.ListTB1Top == settings_.ListTB2Top;
    const bool choiceFirst = oneRow ? settings_.ListTB1Left <= settings_.ListTB2Left
                                    : settings_.ListTB1Top < settings_.ListTB2Top;
    QToolBar* first = choiceFirst ? choiceBar_ : playbackBar_;
    QToolBar* second = choiceFirst ? playbackBar_ : choiceBar_;
    addToolBar(Qt::TopToolBarArea, first);
    if (!oneRow) addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, second);
}

void TMusicForm::ApplyListLook() {
    QFont font(settings_.ListFontName);
    if (settings_.ListFontHeight < 0)
        font.setPixelSize(-settings_.ListFontHeight);
    else
        font.setPointSize(std::max(settings_.ListFontHeight, 1));
    font.setBold(settings_.ListFontBold);
    list_->SetListFont(font, settings_.ListInterval);
    list_->SetColours(Rgb(settings_.ListColor), Rgb(settings_.ListFontColor),
                      Rgb(settings_.ListNumberColor));
}

void TMusicForm::SetIndicatorWidth(int width) {
    settings_.IndicatorW = std::max(width, kIndicatorMinimum);
    if (!shown_) return;
    const int total = splitter_->width() > 0 ? splitter_->width() : this->width();
    const int room = std::max(total - kSplitter - kFirstPanelMinimum, kIndicatorMinimum);
    const int panel = std::clamp(width, kIndicatorMinimum, room);
    splitter_->setSizes({std::max(total - kSplitter - panel, 1), panel});
}

void TMusicForm::CollectSettings() {
    settings_.ListShowHint = hints_->isChecked();
    settings_.ListOneClick = oneClick_->isChecked();
    settings_.ListColumns = list_->ColumnChoice();
    settings_.IndicatorModification = indicator_->Modification();
    settings_.IndicatorBC = qint32(indicator_->BeginColor() & 0xFFFFFFu);
    settings_.IndicatorEC = qint32(indicator_->EndColor() & 0xFFFFFFu);
    if (shown_ && indicatorPanel_->width() > 0)
        settings_.IndicatorW = std::max(indicatorPanel_->width(), kIndicatorMinimum);
    const QPoint tb1 = choiceBar_->pos();
    const QPoint tb2 = playbackBar_->pos();
    settings_.ListTB1Top = tb1.y();
    settings_.ListTB1Left = tb1.x();
    settings_.ListTB2Top = tb2.y();
    settings_.ListTB2Left = tb2.x();
    settings_.ListMaximized = isMaximized();
    settings_.ShowMusicMin = isMinimized();
    settings_.BoundsWritable = !isMinimized() && !isMaximized();
    if (settings_.BoundsWritable) {
        const QRect frame = frameGeometry();
        settings_.ListLeft = frame.left();
        settings_.ListTop = frame.top();
        settings_.ListWidth = width();
        settings_.ListHeight = height();
    }
    settings_.SpeedSound = speed_->value();
}

// --- What the host passes on --------------------------------------------------

void TMusicForm::SwitchesChanged() {
    play_->setChecked(engine_.PlayOn());
    pause_->setChecked(engine_.PauseOn());
    random_Choice_->setChecked(engine_.RandomOn());
    progress_->setVisible(engine_.PlayOn());
    totals_->setVisible(!engine_.PlayOn());
}

void TMusicForm::SelectRow(int row) {
    if (row >= 0 && row < list_->Count()) list_->SetCurrentRow(row);
}

void TMusicForm::SetSpeedBoxEnabled(bool enabled) {
    speed_->setEnabled(enabled);
}

void TMusicForm::SetVolume(int percent) {
    const QSignalBlocker quiet(volume_);
    volume_->setValue(percent);
}

void TMusicForm::SetMute(bool on) {
    const QSignalBlocker quiet(mute_);
    mute_->setChecked(on);
}

void TMusicForm::LetCaption() {
    setWindowTitle(PlaylistCaption(engine_.Loader().MusicSource()));
}

void TMusicForm::LetListBox() {
    QStringList lines;
    const auto& entries = engine_.Playlist().Entries();
    lines.reserve(qsizetype(entries.size()));
    for (const FList& entry : entries)
        lines << entry.S1;
    list_->SetLines(lines);
    hintRow_ = -1;
}

void TMusicForm::SetTotal() {
    totals_->setText(
        dorvane::TotalsText(engine_.Playlist().Count(), engine_.Playlist().TotalSize()));
}

QString TMusicForm::TotalsText() const {
    return totals_->text();
}

QString TMusicForm::PanelText(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[std::size_t(panel - 1)]->text() : QString();
}

// --- The timers ----------------------------------------------------------------

void TMusicForm::StatusTick() {
    const TStatusPanels status = StatusPanels(play_->isChecked(), engine_.PlayerMode(),
                                              engine_.TrackLength(), engine_.TrackPosition());
    const auto clamp = [](qint64 v) { return int(std::min<qint64>(v, INT_MAX)); };
    progress_->setRange(0, clamp(status.maximum));
    progress_->setValue(clamp(status.position));
    progress_->setToolTip(status.playing ? ProgressHint() : QString());
    panels_[0]->setText(status.elapsed);
    panels_[1]->setText(status.remaining);
    panels_[2]->setText(status.length);
}

QString TMusicForm::ProgressHint() const {
    const TPlayingEntry& playing = engine_.Playing();
    const QString device = engine_.StreamInUse()
                               ? (parts_.outputName ? parts_.outputName() : QString())
                               : QStringLiteral("Звуковое устройство №0");
    return device + QStringLiteral("\nпроигрывает файл №") +
           QString::number(engine_.Playlist().CurrentIndex() + 1) + QLatin1Char('\n') +
           playing.path;
}

void TMusicForm::FrameTick() {
    // Under the screen saver nobody sees the meter.
    if (isMinimized() || !isVisible() || ScreenSaverRunning()) return;
    if (!engine_.SnapshotFresh(TSnapshotReader::Playlist)) return;
    const TIndicatorLevels levels =
        IndicatorLevels(engine_.TakeSnapshot(TSnapshotReader::Playlist));
    indicator_->SetPosition0(levels.left);
    indicator_->SetPosition1(levels.right);
}

// --- The list -------------------------------------------------------------------

QString TMusicForm::RowHint(int row) {
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    if (!hints_->isChecked() ||
        (held & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier)))
        return QString();
    const TPlaylist& playlist = engine_.Playlist();
    if (row < 0 || row >= playlist.Count()) return QString();
    const FList& entry = playlist.Entry(row);
    // The engine may have put a tag's title in since the lines were made.
    if (list_->Lines().value(row) != entry.S1) list_->SetLine(row, entry.S1);
    return EntryHint(row, entry);
}

void TMusicForm::PlayRow(int row) {
    if (row >= 0 && row < engine_.Playlist().Count()) engine_.PlayChosen(row);
}

void TMusicForm::RowActivated(int row, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ShiftModifier) {
        list_->SetCurrentRow(row);
        EditEntryTitle();
    } else {
        PlayRow(row);
    }
}

void TMusicForm::DeleteSelected() {
    const int row = list_->CurrentRow();
    if (row < 0) return;
    const int select = dorvane::DeleteRow(engine_.Playlist(), random_, row);
    LetListBox();
    list_->SetCurrentRow(select);
    SetTotal();
}

void TMusicForm::MoveRow(int from, int to) {
    TPlaylist& playlist = engine_.Playlist();
    if (from == to || from < 0 || to < 0 || from >= playlist.Count() || to >= playlist.Count())
        return;
    const int select = dorvane::MoveRow(playlist, random_, from, to);
    LetListBox();
    list_->SetCurrentRow(select);
}

void TMusicForm::Sort(int tag) {
    if (tag >= 0 && tag <= 5) sortType_ = tag;
    if (tag == 100 || tag == 101) sortDirection_ = tag;
    if (engine_.Playlist().Count() < 2) return;
    const int select = SortRows(engine_.Playlist(), TSortKey(sortType_), sortDirection_ == 101,
                                list_->CurrentRow());
    LetListBox();
    list_->SetCurrentRow(select);
}

void TMusicForm::EditEntryTitle() {
    const int row = list_->CurrentRow();
    if (row < 0 || row >= engine_.Playlist().Count() || titleEditor_) return;
    const FList& entry = engine_.Playlist().Entry(row);
    titleEditor_ =
        new TInputForm(this, TitleEditCaption(row, entry), QStringLiteral("Новый заголовок"),
                       entry.S1, 1, TInputForm::TFocus::Text);
    titleEditor_->setAttribute(Qt::WA_DeleteOnClose);
    // The list may change while the editor is open: the title goes to the
    // entry only while that row still holds the same file.
    connect(titleEditor_, &TInputForm::Applied, this,
            [this, row, path = entry.S2](const QString& text) { TitleEdited(row, path, text); });
    connect(titleEditor_, &QObject::destroyed, this, [this] { titleEditor_ = nullptr; });
    titleEditor_->open();
}

void TMusicForm::QueryTags() {
    if (engine_.Playlist().Count() == 0 || queryWindow_) return;
    queryWindow_ = TQueryIDForm::Open(engine_.Playlist(), this);
    connect(queryWindow_, &TQueryIDForm::QueryStarted, this,
            [this] { list_->setUpdatesEnabled(false); });
    connect(queryWindow_, &TQueryIDForm::QueryFinished, this, [this] {
        list_->setUpdatesEnabled(true);
        LetListBox();
        SetTotal();
    });
    connect(queryWindow_, &QObject::destroyed, this, [this] { queryWindow_ = nullptr; });
}

void TMusicForm::TitleEdited(int row, const QString& path, const QString& text) {
    TPlaylist& playlist = engine_.Playlist();
    if (row >= playlist.Count() || playlist.Entry(row).S2 != path) return;
    dorvane::EditEntryTitle(playlist, row, text, parts_.lengthProbe);
}

// --- Looks ----------------------------------------------------------------------

void TMusicForm::ApplyScheme(int number) {
    const TListScheme scheme = ListScheme(number);
    settings_.ListColor = qint32(scheme.background);
    settings_.ListFontColor = qint32(scheme.titles);
    settings_.ListNumberColor = qint32(scheme.numbers);
    ApplyIndicatorPreset(scheme.indicatorPreset);
    if (scheme.indicatorWidth > 0) SetIndicatorWidth(scheme.indicatorWidth);
    ApplyListLook();
}

void TMusicForm::ApplyIndicatorPreset(int preset) {
    settings_.IndicatorCS = std::clamp(preset, 0, kIndicatorPresets - 1);
    const TIndicatorPreset look = IndicatorPreset(settings_.IndicatorCS);
    indicator_->SetModification(look.style);
    if (look.colours) {
        indicator_->SetBeginColor(look.begin);
        indicator_->SetEndColor(look.end);
    }
}

void TMusicForm::NextIndicatorPreset() {
    ApplyIndicatorPreset((settings_.IndicatorCS + 1) % 12);
}

void TMusicForm::SetColumnChoice(int choice) {
    settings_.ListColumns = std::clamp(choice, kAutoColumns, kMaxColumns);
    list_->SetColumnChoice(settings_.ListColumns);
}

// --- Window events ----------------------------------------------------------------

void TMusicForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (engine_.Loader().LongOperationRunning()) engine_.Loader().CancelSearch();
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMusicForm::closeEvent(QCloseEvent* event) {
    if (titleEditor_) titleEditor_->close();
    QMainWindow::closeEvent(event);
}

void TMusicForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    SetIndicatorWidth(settings_.IndicatorW);
}

void TMusicForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMusicForm::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        emit TargetDropped(url.toLocalFile());
        raise();
        activateWindow();
        return;
    }
}

bool TMusicForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        const bool onList = watched == list_->viewport();
        ShowContextMenu(menu->globalPos(), onList ? list_->RowAt(menu->pos()) : -2);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace dorvane
