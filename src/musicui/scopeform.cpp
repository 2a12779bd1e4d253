#include "musicui/scopeform.h"

#include "core/settings_access.h"
#include "music/music_engine.h"
#include "music/playlist_window_settings.h"
#include "musicui/display_inhibit.h"
#include "widgets/window_mode.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include <array>

namespace dorvane {

namespace {

constexpr int kFrameMs = 10;
// The worker makes a snapshot about every 100 ms while a stream plays.
constexpr std::int64_t kSilentFrameMs = 100;

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

QRect WorkArea(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, kScopeWidth, kScopeHeight);
}

QRect ScreenArea(const QWidget* widget) {
    const QScreen* screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, kScopeWidth, kScopeHeight);
}

} // namespace

QString ScopeInformationText() {
    // Kept scrambled so that the text does not stand in the program's file
    // as it is: byte i is xor-ed with 0x5A + 7 i.
    static constexpr std::array<unsigned char, 224> scrambled = {
        0x1E, 0x0E, 0x1A, 0x19, 0x17, 0x13, 0xE1, 0xB1, 0xB2, 0x48, 0x20, 0x77, 0x1B, 0x65, 0x0E,
        0x13, 0x7F, 0x00, 0x58, 0x0E, 0x67, 0x3D, 0x4C, 0xDB, 0xD3, 0x88, 0x30, 0xC7, 0xA2, 0xF4,
        0xAF, 0xE3, 0x8D, 0x90, 0xC3, 0x9F, 0xEC, 0x8D, 0xDA, 0xBB, 0xCB, 0x57, 0xA0, 0x57, 0x10,
        0x44, 0x1D, 0x72, 0x2C, 0x61, 0x00, 0x6F, 0x7D, 0x1D, 0x6F, 0x0B, 0x5C, 0x39, 0x43, 0x26,
        0x7E, 0xD5, 0xBC, 0xC2, 0x9E, 0x01, 0xF9, 0xAF, 0xE6, 0x85, 0x95, 0xCA, 0x83, 0xDA, 0xB0,
        0xD2, 0xBF, 0xF7, 0x5C, 0x53, 0x3D, 0x41, 0x2A, 0x4E, 0x25, 0x7D, 0x0E, 0x97, 0xE2, 0x19,
        0x6A, 0x07, 0x60, 0x34, 0x6E, 0x23, 0x44, 0xD0, 0x88, 0xDE, 0x9D, 0xCD, 0x9D, 0x0B, 0xE3,
        0xB8, 0x90, 0xF2, 0x9E, 0xEC, 0x8D, 0xE4, 0xBA, 0xC1, 0xA9, 0xFE, 0xA6, 0x5D, 0x2C, 0x4B,
        0x11, 0x78, 0x30, 0x67, 0x0E, 0x15, 0x79, 0x02, 0x58, 0xDA, 0xC8, 0x3F, 0x42, 0x2D, 0xB6,
        0xDB, 0xAC, 0xC9, 0x99, 0xF7, 0x93, 0xE5, 0x82, 0x93, 0xF3, 0x71, 0x89, 0xD6, 0xB6, 0xD8,
        0xA4, 0xC0, 0x53, 0x0E, 0x40, 0x29, 0x4E, 0x1F, 0x8C, 0x9E, 0x9A, 0x11, 0x7A, 0x1F, 0x68,
        0xFD, 0x34, 0x59, 0x22, 0x4C, 0xD1, 0x86, 0xDF, 0x99, 0x3C, 0xF2, 0xA7, 0xE1, 0x82, 0xEE,
        0xC6, 0x9D, 0xE4, 0x8B, 0xDF, 0x45, 0x50, 0x31, 0x47, 0xA5, 0xA1, 0xB3, 0x4B, 0x24, 0x79,
        0x2F, 0x66, 0x0D, 0x14, 0x76, 0x02, 0x61, 0x31, 0x65, 0x3E, 0x40, 0x2C, 0xB8, 0xDB, 0x9D,
        0x38, 0xCE, 0xAB, 0xFD, 0x8E, 0xEA, 0xC2, 0x99, 0xE0, 0x87, 0xE3, 0xB5, 0xDC, 0x5D};
    QByteArray bytes;
    bytes.reserve(int(scrambled.size()));
    for (std::size_t i = 0; i < scrambled.size(); ++i)
        bytes.append(char(scrambled[i] ^ ((0x5A + 7 * i) & 0xFF)));
    return QString::fromUtf8(bytes);
}

TScopeForm::TScopeForm(TScopeFormParts parts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      parts_(std::move(parts)),
      picture_(std::uint64_t(QDateTime::currentMSecsSinceEpoch()),
               parts_.store
                   ? parts_.store->RegReadIntegerInRange(QStringLiteral("ScopeStyle"),
                                                         kScopeDefaultStyle, 0, kScopeStyles - 1)
                   : kScopeDefaultStyle) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kScopeWidth, kScopeHeight);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    QFont font = this->font();
    font.setBold(true);
    font.setPointSize(14);
    setFont(font);
    const QRect area = WorkArea(this);
    const QPoint centred = area.center() - QPoint(kScopeWidth / 2, kScopeHeight / 2);
    QPoint place = centred;
    if (parts_.store) {
        const auto read = [this](const char* name, int fallback) {
            return parts_.store->RegReadIntegerInRange(QLatin1String(name), fallback,
                                                       kScreenCoordinate.minimum,
                                                       kScreenCoordinate.maximum);
        };
        place = {read("ScopeLeft", centred.x()), read("ScopeTop", centred.y())};
    }
    move(FitBoundsToWorkArea(QRect(place, size()), area).topLeft());
    KeepFrameInWorkAreaWhenShown(this);
    UpdateCaption();
    clock_.start();
    connect(&frameTimer_, &QTimer::timeout, this, &TScopeForm::FrameTick);
    frameTimer_.start(kFrameMs);
    connect(&secondTimer_, &QTimer::timeout, this, &TScopeForm::SecondTick);
    secondTimer_.start(1000);
}

TScopeForm::~TScopeForm() {
    if (!settingsWritable_ || !parts_.store) return;
    const QPoint place = fullScreen_ || inSaver_ ? normalPos_ : pos();
    parts_.store->RegWriteInteger(QStringLiteral("ScopeStyle"), picture_.Style());
    parts_.store->RegWriteInteger(QStringLiteral("ScopeLeft"), place.x());
    parts_.store->RegWriteInteger(QStringLiteral("ScopeTop"), place.y());
}

void TScopeForm::SetStyle(int style) {
    if (picture_.SetStyle(style)) {
        UpdateCaption();
        update();
    }
}

void TScopeForm::UpdateCaption() {
    setWindowTitle(ScopeCaption(picture_.Style()));
}

void TScopeForm::FrameTick() {
    if (!parts_.engine || !isVisible() || isMinimized()) return;
    if (parts_.programHidden && parts_.programHidden()) return;
    if (parts_.engine->SnapshotFresh(TSnapshotReader::Visualiser)) {
        picture_.DrawFrame(parts_.engine->TakeSnapshot(TSnapshotReader::Visualiser));
    } else if (!parts_.engine->HasWave() &&
               (lastFrameAt_ < 0 || clock_.elapsed() - lastFrameAt_ >= kSilentFrameMs)) {
        // Without a stream (a MIDI track, nothing playing) no snapshot ever
        // comes: the style's flat picture is drawn at the stream's pace.
        picture_.DrawFrame(parts_.engine->TakeSnapshot(TSnapshotReader::Visualiser));
    } else {
        return;
    }
    lastFrameAt_ = clock_.elapsed();
    const int order = parts_.engine->Playlist().OrderPosition();
    if (order != lastOrder_) {
        lastOrder_ = order;
        customBanner_ = false;
    }
    if (!customBanner_) bannerText_ = parts_.engine->TrackCaption();
    picture_.Banner().Follow(order, picture_.Random());
    {
        QPainter painter(&picture_.Picture());
        painter.setFont(font());
        picture_.Banner().Draw(painter, bannerText_, clock_.elapsed());
    }
    parts_.engine->NoteVisualiserFrame();
    ++frames_;
    update();
}

void TScopeForm::SecondTick() {
    framesLastSecond_ = frames_;
    frames_ = 0;
    if (fullScreen_ && infoLines_) update();
}

QStringList TScopeForm::InfoLines() const {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize mode = screen ? screen->size() * screen->devicePixelRatio() : QSize();
    const int depth = screen ? screen->depth() : 0;
    const int rate = screen ? qRound(screen->refreshRate()) : 0;
    return {Text("Кадров в секунду: ") + QString::number(framesLastSecond_),
            Text("Режим адаптера: ") + QString::number(mode.width()) + Text(" на ") +
                QString::number(mode.height()) + Text(", ") + QString::number(depth) + Text(" бит"),
            Text("Частота обновления экрана монитора: ") + QString::number(rate) + Text(" Гц")};
}

void TScopeForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!fullScreen_) {
        painter.drawImage(rect(), picture_.Picture());
        return;
    }
    painter.fillRect(rect(), Qt::black);
    const int w = width(), h = w / 2;
    painter.drawImage(QRect(0, (height() - h) / 2, w, h), picture_.Picture());
    QFont small = font();
    small.setBold(false);
    small.setPointSize(10);
    painter.setFont(small);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    const int line = painter.fontMetrics().height();
    if (infoLines_) {
        int y = line;
        for (const QString& text : InfoLines()) {
            painter.drawText(8, y, text);
            y += line;
        }
    }
    if (helpLine_)
        painter.drawText(8, height() - line / 2,
                         Text("Esc-закрыть  F5-предыдущая  F6-следующая  F7-случайно  F8-пауза  "
                              "Home-в начало  Enter-воспроизводить"));
}

void TScopeForm::SetFullScreen(bool on) {
    if (on == fullScreen_ || inSaver_) return;
    fullScreen_ = on;
    if (on) {
        normalPos_ = pos();
        fullScreenHold_ = std::make_unique<TDisplayHold>();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // Without a window manager the full-screen state alone does not
        // resize the window.
        setGeometry(ScreenArea(this));
        showFullScreen();
    } else {
        fullScreenHold_.reset();
        helpLine_ = false;
        showNormal();
        setFixedSize(kScopeWidth, kScopeHeight);
        move(normalPos_);
    }
    update();
}

void TScopeForm::EnterSaverPlacement() {
    if (fullScreen_) SetFullScreen(false);
    inSaver_ = true;
    normalPos_ = pos();
    savedFlags_ = windowFlags();
    // The title hints would win over a frameless hint added to them.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QRect screen = ScreenArea(this);
    move(screen.center() - QPoint(kScopeWidth / 2, kScopeHeight / 2));
    show();
    raise();
}

void TScopeForm::LeaveSaverPlacement() {
    if (!inSaver_) return;
    inSaver_ = false;
    setWindowFlags(savedFlags_);
    move(normalPos_);
    show();
}

QMenu* TScopeForm::MakeMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto style = [this](QMenu* sub, const char* name, int number) {
        QAction* action = sub->addAction(Text(name), this, [this, number] { SetStyle(number); });
        action->setCheckable(true);
        action->setChecked(picture_.Style() == number);
    };
    QMenu* figure = menu->addMenu(Text("Фигурный"));
    style(figure, "Сердца", 13);
    style(figure, "Лиссажу", 14);
    style(figure, "Звезда", 15);
    QMenu* radial = menu->addMenu(Text("Радиальный"));
    style(radial, "Технический", 1);
    style(radial, "Пламенный 1", 7);
    style(radial, "Пламенный 2", 9);
    style(radial, "Пламенный 3", 11);
    style(radial, "Цветной 1", 8);
    style(radial, "Цветной 2", 10);
    style(radial, "Цветной 3", 12);
    QMenu* linear = menu->addMenu(Text("Линейный"));
    style(linear, "Технический", 0);
    style(linear, "Пламенный", 6);
    style(linear, "Цветной", 2);
    style(linear, "Абстрактный", 3);
    style(linear, "Многогранный", 4);
    style(linear, "Лазерный", 5);
    menu->addSeparator();
    QAction* full =
        menu->addAction(Text("Во весь экран"), this, [this] { SetFullScreen(!fullScreen_); });
    full->setCheckable(true);
    full->setChecked(fullScreen_);
    QAction* saver =
        menu->addAction(Text("Хранитель экрана"), this, [this] { emit ScreenSaverRequested(); });
    saver->setEnabled(!fullScreen_ && !(parts_.screenSaverRunning && parts_.screenSaverRunning()));
    menu->addSeparator();
    QMenu* music = menu->addMenu(Text("Музыка"));
    TMusicEngine* engine = parts_.engine;
    auto command = [music, engine](const char* name, void (TMusicEngine::*operation)(), int check) {
        QAction* action = music->addAction(Text(name), music, [engine, operation] {
            if (engine) (engine->*operation)();
        });
        action->setEnabled(engine != nullptr);
        if (check >= 0) {
            action->setCheckable(true);
            action->setChecked(check == 1);
        }
    };
    auto on = [engine](bool (TMusicEngine::*state)() const) {
        return engine && (engine->*state)() ? 1 : 0;
    };
    command("Предыдущий", &TMusicEngine::Previous, -1);
    command("В начало", &TMusicEngine::Restart, -1);
    command("Воспроизводить", &TMusicEngine::TogglePlay, on(&TMusicEngine::PlayOn));
    command("Пауза", &TMusicEngine::TogglePause, on(&TMusicEngine::PauseOn));
    command("Следующий", &TMusicEngine::Next, -1);
    command("Случайный выбор", &TMusicEngine::ToggleRandom, on(&TMusicEngine::RandomOn));
    music->addSeparator();
    const std::array<const char*, 4> sources = {"Открыть директорию", "Добавить директорию",
                                                "Открыть список", "Добавить список"};
    for (int tag = 1; tag <= 4; ++tag) {
        music->addAction(Text(sources[std::size_t(tag - 1)]), this, [this, tag] {
            if (parts_.chooseSource) parts_.chooseSource(tag);
        });
    }
    menu->addSeparator();
    menu->addAction(Text("Закрыть"), this, [this] {
        if (fullScreen_) SetFullScreen(false);
        close();
    });
    return menu;
}

void TScopeForm::ShowMenu(const QPoint& global) {
    MakeMenu()->popup(global);
}

void TScopeForm::contextMenuEvent(QContextMenuEvent* event) {
    // The menu key opens it at the window's top-left corner.
    ShowMenu(event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(0, 0))
                                                            : event->globalPos());
}

void TScopeForm::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    TMusicEngine* engine = parts_.engine;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (fullScreen_)
            SetFullScreen(false);
        else
            close();
        return;
    case Qt::Key_F10:
        if (shift) ShowMenu(mapToGlobal(QPoint(0, 0)));
        return;
    case Qt::Key_Menu:
        ShowMenu(mapToGlobal(QPoint(0, 0)));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (engine) engine->TogglePlay();
        return;
    case Qt::Key_Space:
    case Qt::Key_F8:
        if (engine) engine->TogglePause();
        return;
    case Qt::Key_Home:
        if (engine) engine->Restart();
        return;
    case Qt::Key_F5:
        if (engine) engine->Previous();
        return;
    case Qt::Key_F6:
        if (engine) engine->Next();
        return;
    case Qt::Key_F7:
        if (engine) engine->ToggleRandom();
        return;
    case Qt::Key_F9:
        emit ScreenSaverRequested();
        return;
    case Qt::Key_F1:
        if (fullScreen_) {
            helpLine_ = !helpLine_;
            update();
        }
        return;
    case Qt::Key_Slash:
        if (ctrl) {
            infoLines_ = !infoLines_;
            update();
        }
        return;
    case Qt::Key_A:
        if (ctrl) {
            bannerText_ = ScopeInformationText();
            customBanner_ = true;
            picture_.Banner().Restart(picture_.Random());
        }
        return;
    case Qt::Key_Alt:
        return; // a lone Alt would open the system menu
    default:
        QWidget::keyPressEvent(event);
    }
}

void TScopeForm::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || fullScreen_ || isMaximized() || inSaver_) return;
    dragging_ = true;
    dragFrom_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TScopeForm::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) {
        dragging_ = false;
        return;
    }
    const QRect frame(event->globalPosition().toPoint() - dragFrom_, frameGeometry().size());
    move(FitBoundsToWorkArea(frame, WorkArea(this)).topLeft());
}

void TScopeForm::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) SetFullScreen(!fullScreen_);
}

void TScopeForm::closeEvent(QCloseEvent* event) {
    // Alt+F4 in full screen only leaves it.
    if (fullScreen_ && event->spontaneous()) {
        event->ignore();
        SetFullScreen(false);
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace dorvane
