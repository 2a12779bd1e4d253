// The playlist window's commands: the actions behind the keys, the two tool
// bars, the list's context menu and the meter's, and the dialogs the
// commands open.
#include "musicui/musicform.h"

#include "core/messages.h"
#include "music/music_engine.h"
#include "music/music_masks.h"
#include "music/playlist_schemes.h"
#include "musicui/input_form.h"
#include "musicui/kvoindicator.h"
#include "musicui/music_dialogs.h"
#include "musicui/player_icons.h"
#include "musicui/playlist_box.h"
#include "widgets/menutools.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMenu>
#include <QProcess>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace dorvane {

namespace {

const char* const kAudioFilter =
    "Файлы аудио (*.mp3 *.wma *.wav *.flac *.m4a *.ac3 *.ape *.mid *.rmi *.midi);;"
    "MP3 (*.mp3);;WMA (*.wma);;WAV (*.wav);;FLAC (*.flac);;M4A (*.m4a);;AC3 (*.ac3);;"
    "APE (*.ape);;MID, RMI, MIDI (*.mid *.rmi *.midi);;Все файлы (*)";

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

QAction* TMusicForm::Command(const QString& text, const QKeySequence& key,
                             std::function<void()> run) {
    auto* action = new QAction(text, this);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

void TMusicForm::BuildActions() {
    const QStyle* look = style();
    play_ = Command(Text("Воспроизводить"), {}, [this] {
        engine_.TogglePlay();
        SwitchesChanged();
    });
    pause_ = Command(Text("Пауза"), QKeySequence(Qt::Key_Space), [this] {
        engine_.TogglePause();
        SwitchesChanged();
    });
    random_Choice_ = Command(Text("Случайный выбор"), QKeySequence(Qt::Key_F7), [this] {
        engine_.ToggleRandom();
        SwitchesChanged();
    });
    for (QAction* toggle : {play_, pause_, random_Choice_})
        toggle->setCheckable(true);
    play_->setIcon(PlayerIcon(TPlayerIcon::Play, look));
    pause_->setIcon(PlayerIcon(TPlayerIcon::Pause, look));
    random_Choice_->setIcon(PlayerIcon(TPlayerIcon::Random, look));
    oneClick_ =
        new QAction(PlayerIcon(TPlayerIcon::OneClick, look), Text("Открывать одним щелчком"), this);
    oneClick_->setCheckable(true);
    mute_ = new QAction(PlayerIcon(TPlayerIcon::Sound, look), Text("Выключить звук"), this);
    mute_->setCheckable(true);
    connect(mute_, &QAction::toggled, this, [this](bool on) {
        mute_->setIcon(PlayerIcon(on ? TPlayerIcon::SoundOff : TPlayerIcon::Sound, style()));
        if (TMixerPort* mixer = engine_.Mixer()) mixer->SetMute(on);
    });
    subfolders_ = new QAction(Text("Добавлять файлы из субдиректорий"), this);
    subfolders_->setCheckable(true);
    connect(subfolders_, &QAction::toggled, this,
            [this](bool on) { engine_.Loader().SetWithSubfolders(on); });
    hints_ = new QAction(Text("Всплывающие подсказки"), this);
    hints_->setCheckable(true);
    volumeProgram_ =
        Command(Text("Громкость"), QKeySequence(Qt::Key_F11), [this] { StartVolume(false); });
    volumeProgram_->setEnabled(!parts_.volumeProgram.program.isEmpty());

    // Keys without a button of their own.
    Command({}, QKeySequence(Qt::Key_F6), [this] { engine_.Next(); });
    Command({}, QKeySequence(Qt::Key_F1), [this] { emit SourceRequested(1); });
    Command({}, QKeySequence(Qt::Key_F2), [this] { emit SourceRequested(3); });
    Command({}, QKeySequence(Qt::Key_F3), [this] { emit SourceRequested(2); });
    Command({}, QKeySequence(Qt::Key_F4), [this] { emit SourceRequested(4); });
    Command({}, QKeySequence(Qt::CTRL | Qt::Key_S), [this] { Save(); });
    Command({}, QKeySequence(Qt::Key_F12), [this] { emit RaiseGameWindowRequested(); });
    Command({}, QKeySequence(Qt::Key_F9), [this] { emit ScreenSaverRequested(false); });
}

void TMusicForm::BuildChoiceBar() {
    const QStyle* look = style();
    choiceBar_ = new QToolBar(Text("Выбор"), this);
    choiceBar_->setObjectName(QStringLiteral("ListTB1"));
    choiceBar_->setIconSize(QSize(16, 16));
    const auto dropDown = [&](TPlayerIcon icon, const QString& hint, QMenu* menu) {
        auto* button = new QToolButton(choiceBar_);
        button->setIcon(PlayerIcon(icon, look));
        button->setToolTip(hint);
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        return choiceBar_->addWidget(button);
    };
    const auto button = [&](TPlayerIcon icon, const QString& hint, std::function<void()> run) {
        QAction* action = choiceBar_->addAction(PlayerIcon(icon, look), hint);
        connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
        return action;
    };
    dropDown(TPlayerIcon::Open, Text("Открыть"), SourceMenu(Text("Открыть"), true));
    dropDown(TPlayerIcon::Add, Text("Добавить"), SourceMenu(Text("Добавить"), false));
    historyMenu_ = new QMenu(Text("Предыстория"), this);
    history_ = dropDown(TPlayerIcon::History, Text("Предыстория"), historyMenu_);
    button(TPlayerIcon::Save, Text("Сохранить (Ctrl+S)"), [this] { Save(); });
    button(TPlayerIcon::QueryTags, Text("Запрос заголовков из MP3 и WMA файлов"),
           [this] { QueryTags(); });
    button(TPlayerIcon::EditTitle, Text("Изменить заголовок (Shift+Enter)"),
           [this] { EditEntryTitle(); });
    choiceBar_->addSeparator();
    dropDown(TPlayerIcon::Sort, Text("Сортировать"), SortMenu());
    dropDown(TPlayerIcon::ColourScheme, Text("Цветовая схема"), SchemeMenu());
    dropDown(TPlayerIcon::Columns, Text("Столбцы"), ColumnsMenu());
    choiceBar_->addSeparator();
    QAction* scope =
        button(TPlayerIcon::Oscilloscope, Text("Осциллограф (Правая кнопка - Хранитель экрана)"),
               [this] { emit VisualiserRequested(); });
    if (auto* scopeButton = qobject_cast<QToolButton*>(choiceBar_->widgetForAction(scope))) {
        scopeButton->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(scopeButton, &QWidget::customContextMenuRequested, this,
                [this] { emit ScreenSaverRequested(true); });
    }
    button(TPlayerIcon::ScreenSaver, Text("Хранитель экрана (F9)"),
           [this] { emit ScreenSaverRequested(false); });
    button(TPlayerIcon::Program, Text(kMessageCaption) + Text(" (F12)"),
           [this] { emit RaiseGameWindowRequested(); });
    QAction* volume =
        button(TPlayerIcon::VolumeProgram, Text("Громкость (F11)"), [this] { StartVolume(false); });
    volume->setEnabled(volumeProgram_->isEnabled());
    if (auto* volumeButton = qobject_cast<QToolButton*>(choiceBar_->widgetForAction(volume))) {
        volumeButton->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(volumeButton, &QWidget::customContextMenuRequested, this,
                [this] { StartVolume(true); });
    }
    button(TPlayerIcon::Close, Text("Закрыть (Esc, Alt+F4)"), [this] { close(); });
    choiceBar_->installEventFilter(this);
}

void TMusicForm::BuildPlaybackBar() {
    const QStyle* look = style();
    playbackBar_ = new QToolBar(Text("Воспроизведение"), this);
    playbackBar_->setObjectName(QStringLiteral("ListTB2"));
    playbackBar_->setIconSize(QSize(16, 16));
    const auto transport = [&](TPlayerIcon icon, const QString& hint, void (TMusicEngine::*op)()) {
        QAction* action = playbackBar_->addAction(PlayerIcon(icon, look), hint);
        connect(action, &QAction::triggered, this, [this, op] { (engine_.*op)(); });
        return action;
    };
    transport(TPlayerIcon::Previous, Text("Предыдущий"), &TMusicEngine::Previous);
    transport(TPlayerIcon::Next, Text("Следующий (F6)"), &TMusicEngine::Next);
    playbackBar_->addAction(play_);
    playbackBar_->addAction(pause_);
    transport(TPlayerIcon::ToBeginning, Text("В начало"), &TMusicEngine::Restart);
    playbackBar_->addAction(random_Choice_);
    // The bar's buttons show hints with their keys; the menus keep the
    // plain names.
    play_->setToolTip(Text("Воспроизводить (Enter)"));
    pause_->setToolTip(Text("Пауза (Space)"));
    random_Choice_->setToolTip(Text("Случайный выбор (F7)"));
    volume_ = new QSlider(Qt::Horizontal, playbackBar_);
    volume_->setRange(0, 100);
    volume_->setFixedWidth(80);
    volume_->setToolTip(Text("Громкость общая"));
    connect(volume_, &QSlider::valueChanged, this, [this](int percent) {
        if (TMixerPort* mixer = engine_.Mixer()) mixer->SetVolume(percent);
    });
    playbackBar_->addWidget(volume_);
    playbackBar_->addAction(mute_);
    speed_ = new QSpinBox(playbackBar_);
    speed_->setRange(1, 200);
    speed_->setValue(100);
    speed_->setToolTip(Text("Скорость воспроизведения, % (1-200)"));
    speed_->setFixedWidth(speed_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 28);
    connect(speed_, &QSpinBox::valueChanged, this,
            [this](int percent) { engine_.SetRequestedSpeed(percent * 10); });
    playbackBar_->addWidget(speed_);
    playbackBar_->addAction(oneClick_);
    playbackBar_->installEventFilter(this);
}

QMenu* TMusicForm::SourceMenu(const QString& title, bool open) {
    auto* menu = new QMenu(title, this);
    const int folderTag = open ? 1 : 2;
    const int listTag = open ? 3 : 4;
    // The keys belong to the window's own actions (one action per key, or
    // Qt finds them ambiguous and runs none); the items only name them.
    menu->addAction(Text(open ? "Директорию\tF1" : "Директорию\tF3"), this,
                    [this, folderTag] { emit SourceRequested(folderTag); });
    menu->addAction(Text(open ? "Список\tF2" : "Список\tF4"), this,
                    [this, listTag] { emit SourceRequested(listTag); });
    menu->addAction(Text("Файл"), this, [this, open] { ChooseFiles(open); });
    return menu;
}

QMenu* TMusicForm::SortMenu() {
    auto* menu = new QMenu(Text("Сортировать"), this);
    static constexpr std::array<const char*, 6> kKeys{"Заголовок",  "Полное имя", "Имя",
                                                      "Расширение", "Размер",     "Дата"};
    for (std::size_t tag = 0; tag < kKeys.size(); ++tag)
        menu->addAction(Text(kKeys[tag]), this, [this, tag] { Sort(int(tag)); });
    menu->addSeparator();
    menu->addAction(Text("Возрастание"), this, [this] { Sort(100); });
    menu->addAction(Text("Убывание"), this, [this] { Sort(101); });
    return menu;
}

QMenu* TMusicForm::SchemeMenu() {
    auto* menu = new QMenu(Text("Цветовая схема"), this);
    for (int number = 1; number <= kListSchemes; ++number) {
        QAction* item =
            menu->addAction(QString::number(number), this, [this, number] { ApplyScheme(number); });
        if (number == kDefaultListScheme) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
    return menu;
}

QMenu* TMusicForm::ColumnsMenu() {
    auto* menu = new QMenu(Text("Столбцы"), this);
    if (!columnChoices_) {
        columnChoices_ = new QActionGroup(this);
        const auto add = [this](const QString& text, int choice) {
            QAction* item = columnChoices_->addAction(text);
            item->setCheckable(true);
            item->setData(choice);
            connect(item, &QAction::triggered, this, [this, choice] { SetColumnChoice(choice); });
        };
        add(Text("Авто"), kAutoColumns);
        add(Text("Нет"), 0);
        for (int n = 1; n <= kMaxColumns; ++n)
            add(QString::number(n), n);
    }
    const QList<QAction*> items = columnChoices_->actions();
    menu->addAction(items[0]);
    menu->addSeparator();
    for (qsizetype i = 1; i < items.size(); ++i)
        menu->addAction(items[i]);
    return menu;
}

void TMusicForm::BuildContextMenu() {
    contextMenu_ = new QMenu(this);
    QMenu* m = contextMenu_;
    const auto transport = [&](const char* text, void (TMusicEngine::*op)()) {
        m->addAction(Text(text), this, [this, op] { (engine_.*op)(); });
    };
    transport("Предыдущий", &TMusicEngine::Previous);
    transport("Следующий", &TMusicEngine::Next);
    m->addAction(play_);
    m->addAction(pause_);
    transport("В начало", &TMusicEngine::Restart);
    m->addAction(random_Choice_);
    m->addAction(oneClick_);
    m->addSeparator();
    m->addMenu(SourceMenu(Text("Открыть"), true));
    m->addMenu(SourceMenu(Text("Добавить"), false));
    m->addMenu(historyMenu_);
    m->addAction(Text("Сохранить\tCtrl+S"), this, [this] { Save(); });
    m->addAction(Text("Запрос заголовков"), this, [this] { QueryTags(); });
    m->addAction(Text("Изменить заголовок"), this, [this] {
        if (itemPopup_ >= 0) list_->SetCurrentRow(itemPopup_);
        EditEntryTitle();
    });
    m->addMenu(SortMenu());
    QMenu* setup = m->addMenu(Text("Настройка"));
    setup->addAction(subfolders_);
    setup->addAction(hints_);
    setup->addAction(Text("Цвет фона"), this, [this] { ChooseColour(0); });
    setup->addAction(Text("Цвет цифр"), this, [this] { ChooseColour(1); });
    setup->addAction(Text("Цвет заголовков"), this, [this] { ChooseColour(2); });
    QMenu* font = setup->addMenu(Text("Шрифт"));
    for (int preset = 1; preset <= 4; ++preset)
        font->addAction(QString::number(preset), this, [this, preset] { SetFontPreset(preset); });
    font->addSeparator();
    font->addAction(Text("Выбрать"), this, [this] { ChooseFont(); });
    QMenu* spacing = setup->addMenu(Text("Интервал"));
    for (int step = 0; step < 3; ++step)
        spacing->addAction(QString::number(step + 1), this, [this, step] {
            settings_.ListInterval = step;
            ApplyListLook();
        });
    setup->addMenu(SchemeMenu());
    setup->addMenu(ColumnsMenu());
    QMenu* opacity = setup->addMenu(Text("Прозрачность"));
    static constexpr std::array<std::pair<const char*, int>, 4> kOpacity{
        {{"0%", 255}, {"25%", 192}, {"50%", 128}, {"75%", 64}}};
    for (const auto& [text, value] : kOpacity)
        opacity->addAction(Text(text), this, [this, value = value] {
            settings_.ListLayered = value;
            setWindowOpacity(value / 255.0);
        });
    m->addSeparator();
    fileMenu_ = m->addMenu(Text("Файл"));
    fileMenu_->addAction(Text("Открыть"), this, [this] { FileCommand(0); });
    fileMenu_->addAction(Text("Свойства"), this, [this] { FileCommand(1); });
    fileMenu_->addAction(Text("Открыть с помощью..."), this, [this] { FileCommand(2); });
    m->addSeparator();
    m->addAction(Text(kMessageCaption), this, [this] { emit RaiseGameWindowRequested(); });
    m->addAction(volumeProgram_);
    m->addSeparator();
    m->addAction(Text("Закрыть"), this, [this] { close(); });
}

void TMusicForm::ShowContextMenu(QPoint globalPos, int row) {
    itemPopup_ = row;
    SwitchesChanged();
    subfolders_->setChecked(engine_.Loader().WithSubfolders());
    for (QAction* action : columnChoices_->actions())
        action->setChecked(action->data().toInt() == list_->ColumnChoice());
    const TPlaylist& playlist = engine_.Playlist();
    fileMenu_->setEnabled(row >= 0 && row < playlist.Count() &&
                          QFileInfo(playlist.Entry(row).S2).isFile());
    contextMenu_->popup(globalPos);
}

void TMusicForm::ShowIndicatorMenu(QPoint globalPos) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto colour = [this](bool begin) {
        const QColor now(begin ? indicator_->BeginColor() : indicator_->EndColor());
        const QColor chosen = QColorDialog::getColor(now, this);
        if (!chosen.isValid()) return;
        begin ? indicator_->SetBeginColor(chosen.rgb()) : indicator_->SetEndColor(chosen.rgb());
        indicator_->SetModification(1);
    };
    menu->addAction(Text("Начальный цвет"), this, [colour] { colour(true); });
    menu->addAction(Text("Конечный цвет"), this, [colour] { colour(false); });
    menu->addSeparator();
    QMenu* styles = menu->addMenu(Text("Модификация"));
    for (int style = 0; style < 3; ++style) {
        QAction* item = styles->addAction(QString::number(style + 1), this,
                                          [this, style] { indicator_->SetModification(style); });
        item->setCheckable(true);
        item->setChecked(indicator_->Modification() == style);
    }
    menu->popup(globalPos);
}

void TMusicForm::LetMenuMusic() {
    TMusicLoader& loader = engine_.Loader();
    BuildListMenu(
        historyMenu_, loader.RecentSources(), PlayerIcon(TPlayerIcon::Close, style()),
        [this] { ClearRecent(); },
        [this](int index) { ChooseRecent(engine_.Loader().RecentSources().value(index)); });
    history_->setEnabled(!loader.RecentSources().isEmpty());
}

void TMusicForm::ChooseRecent(const QString& source) {
    if (source.isEmpty()) return;
    engine_.Loader().ChooseRecentSource(source);
}

void TMusicForm::ClearRecent() {
    if (!messages_->AskYesNo(Text("Очистить список, Вы уверены?"))) return;
    engine_.Loader().SetRecentSources({});
    LetMenuMusic();
}

void TMusicForm::ChooseFiles(bool clearFirst) {
    if (engine_.Playlist().Busy()) return;
    const QStringList files =
        QFileDialog::getOpenFileNames(this, QString(), QString(), Text(kAudioFilter));
    if (!files.isEmpty()) engine_.Loader().AddFiles(files, clearFirst);
}

void TMusicForm::Save() {
    const TSaveChooser chooser = saveChooser_ ? saveChooser_ : DialogSaveChooser(this);
    const QString saved = SavePlaylist(engine_.Playlist().Entries(), engine_.Loader().MusicSource(),
                                       chooser, *messages_);
    if (saved.isEmpty()) return; // nothing written: the old source stays
    // The list now comes from the saved file: the caption names it and the
    // next save proposes it.
    engine_.Loader().SetMusicSource(saved);
    LetCaption();
}

void TMusicForm::ChooseColour(int which) {
    qint32* target = which == 0   ? &settings_.ListColor
                     : which == 1 ? &settings_.ListNumberColor
                                  : &settings_.ListFontColor;
    const QColor chosen = QColorDialog::getColor(QColor(QRgb(*target)), this);
    if (!chosen.isValid()) return;
    *target = qint32(chosen.rgb() & 0xFFFFFFu);
    ApplyListLook();
}

void TMusicForm::SetFontPreset(int preset) {
    struct TPreset {
        const char* name;
        int height;
    };
    // "Fixedsys" is a Windows font; fontconfig gives the nearest it has.
    static constexpr std::array<TPreset, 4> kFonts{
        {{"Arial", -10}, {"Tahoma", 8}, {"Tahoma", 9}, {"Fixedsys", 10}}};
    const TPreset& font = kFonts[std::size_t(std::clamp(preset, 1, 4) - 1)];
    settings_.ListFontName = QString::fromLatin1(font.name);
    settings_.ListFontHeight = font.height;
    settings_.ListFontBold = false;
    ApplyListLook();
}

void TMusicForm::ChooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, list_->font(), this);
    if (!ok) return;
    settings_.ListFontName = chosen.family();
    settings_.ListFontHeight =
        chosen.pixelSize() > 0 ? -chosen.pixelSize() : std::max(chosen.pointSize(), 1);
    settings_.ListFontBold = chosen.bold();
    ApplyListLook();
}

void TMusicForm::FileCommand(int which) {
    const TPlaylist& playlist = engine_.Playlist();
    if (itemPopup_ < 0 || itemPopup_ >= playlist.Count()) return;
    const QString path = playlist.Entry(itemPopup_).S2;
    if (!QFileInfo(path).isFile()) return;
    const QUrl url = QUrl::fromLocalFile(path);
    bool done = false;
    if (which == 0) {
        done = QDesktopServices::openUrl(url);
    } else if (which == 1) {
        // The file manager answers later; its refusal is told then.
        ShowProperties(*messages_, path, parts_.propertiesRequest);
        return;
    } else {
        // No desktop has a common "open with" dialog: the program is asked
        // for by name.
        auto* ask = new TInputForm(this, Text("Открыть с помощью..."), QFileInfo(path).fileName(),
                                   QString(), 1, TInputForm::TFocus::Text);
        ask->setAttribute(Qt::WA_DeleteOnClose);
        connect(ask, &TInputForm::Applied, this, [this, path](const QString& program) {
            if (!QProcess::startDetached(program, {path})) MsgCannotExecute(*messages_);
        });
        ask->open();
        return;
    }
    if (!done) MsgCannotExecute(*messages_);
}

void TMusicForm::StartVolume(bool playbackPage) {
    if (!StartVolumeProgram(parts_.volumeProgram, playbackPage)) MsgCannotExecute(*messages_);
}

} // namespace dorvane
