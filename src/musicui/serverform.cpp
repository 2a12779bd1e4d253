#include "musicui/serverform.h"

#include "musicui/display_inhibit.h"
#include "musicui/scopeform.h"
#include "widgets/window_mode.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>

#include <ctime>

namespace dorvane {

namespace {

int saversOpen = 0;
constexpr int kMoveLimit = 9;

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

bool ScreenSaverRunning() {
    return saversOpen > 0;
}

QString ElapsedText(qint64 seconds) {
    if (seconds < 0) seconds = 0;
    const qint64 days = seconds / 86400;
    const int rest = int(seconds % 86400);
    return QString::number(days) + Text(" ") +
           QStringLiteral("%1:%2:%3")
               .arg(rest / 3600, 2, 10, QChar('0'))
               .arg(rest / 60 % 60, 2, 10, QChar('0'))
               .arg(rest % 60, 2, 10, QChar('0'));
}

qint64 SystemUptimeSeconds() {
    // The boot-time clock counts suspended time too, as an uptime should.
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return -1;
    return qint64(now.tv_sec);
}

TServerForm::TServerForm(std::function<QDateTime()> clock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      clock_(clock ? std::move(clock) : [] { return QDateTime::currentDateTime(); }),
      hold_(std::make_unique<TDisplayHold>()) {
    ++saversOpen;
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowModality(Qt::ApplicationModal);
    setCursor(Qt::BlankCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    start_ = serverDT_ = clock_();
    const QFontMetrics metrics(font());
    textW_ = metrics.horizontalAdvance(QLatin1Char('W'));
    textH_ = metrics.height();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) setGeometry(screen->geometry());
    PlaceBox();
    connect(&second_, &QTimer::timeout, this, &TServerForm::SecondTick);
    second_.start(1000);
}

TServerForm::~TServerForm() {
    --saversOpen;
}

void TServerForm::HoldModalScope(std::unique_ptr<TModalScope> scope) {
    modal_ = std::move(scope);
}

void TServerForm::PlaceBox() {
    const int w = std::max(1, width() - 31 * textW_);
    const int h = std::max(1, height() - 4 * textH_);
    place_ = QPoint(QRandomGenerator::global()->bounded(w), QRandomGenerator::global()->bounded(h));
}

QStringList TServerForm::BoxLines() const {
    const qint64 uptime = SystemUptimeSeconds();
    return {Text("Справка"),
            Text("Сейчас: ") + QLocale().toString(serverDT_, QStringLiteral("dd.MM.yyyy HH:mm:ss")),
            Text("OC работает: ") + (uptime >= 0 ? ElapsedText(uptime) : QString()),
            Text("Хранитель работает: ") + ElapsedText(start_.secsTo(serverDT_))};
}

void TServerForm::SecondTick() {
    ++serverTick_;
    point_ = QCursor::pos();
    pointKnown_ = true;
    serverDT_ = clock_();
    if (serverTick_ > 10) {
        PlaceBox();
        serverTick_ = 1;
    }
    update();
}

void TServerForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    const QFontMetrics metrics = painter.fontMetrics();
    int y = place_.y() + metrics.ascent();
    for (const QString& line : BoxLines()) {
        painter.drawText(place_.x(), y, line);
        y += textH_;
    }
}

void TServerForm::keyPressEvent(QKeyEvent*) {
    close();
}

void TServerForm::mousePressEvent(QMouseEvent*) {
    close();
}

void TServerForm::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void TServerForm::mouseMoveEvent(QMouseEvent* event) {
    // The first second lets the pointer settle; until the first recording
    // there is no position to compare with.
    if (serverTick_ < 1 || !pointKnown_) return;
    const QPoint at = event->globalPosition().toPoint();
    if (std::abs(at.x() - point_.x()) > kMoveLimit || std::abs(at.y() - point_.y()) > kMoveLimit)
        close();
}

void TServerForm::closeEvent(QCloseEvent* event) {
    second_.stop();
    hold_.reset();
    modal_.reset();
    unsetCursor();
    emit Closed();
    QWidget::closeEvent(event);
}

TServerForm* OpenScreenSaver(TScopeForm* visualiser, bool closeAfter) {
    if (ScreenSaverRunning()) return nullptr;
    // Made before the saver, which stays on top itself.
    std::unique_ptr<TModalScope> modal;
    if (!visualiser) modal = std::make_unique<TModalScope>();
    auto* saver = new TServerForm();
    saver->HoldModalScope(std::move(modal));
    QPointer<TScopeForm> scope = visualiser;
    if (scope) {
        QObject::connect(saver, &TServerForm::Closed, scope, [scope, closeAfter] {
            if (!scope) return;
            scope->LeaveSaverPlacement();
            if (closeAfter) scope->close();
        });
    }
    saver->showFullScreen();
    if (scope) scope->EnterSaverPlacement();
    saver->activateWindow();
    return saver;
}

} // namespace dorvane
