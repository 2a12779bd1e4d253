#include "shell/startform.h"

#include "view/assets.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QTimer>

namespace dorvane {

QRegion StartFormRegion(int width, int height) {
    // A rounded rectangle whose corner ellipses are half the height wide and
    // high, with its top-left and bottom-right quarters squared again.
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, width, height), height / 4.0, height / 4.0);
    QRegion region(rounded.toFillPolygon().toPolygon());
    const QPoint centre(width / 2, height / 2);
    region += QRect(QPoint(0, 0), centre);
    region += QRect(centre, QPoint(width - 2, height - 2));
    return region;
}

TStartForm::TStartForm(THooks hooks) : hooks_(std::move(hooks)) {
    // No frame, above everything, and no taskbar button of its own.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setMask(StartFormRegion(kWidth, kHeight));

    auto* loading = new QLabel(QStringLiteral("Загрузка..."), this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    loading->setFont(font);
    loading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette text = loading->palette();
    text.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0)); // silver
    loading->setPalette(text);
    loading->setGeometry(40, 80, 260, 16);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - kWidth) / 2, area.top() + (area.height() - kHeight) / 2);
    }
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &TStartForm::Tick);
    timer_->start(kTickMs);
}

void TStartForm::ShowNow() {
    show();
    repaint(); // before the game window's creation holds the UI thread
}

void TStartForm::Tick() {
    if (finished_ || !hooks_.mainWindowReady || !hooks_.mainWindowReady()) return;
    if (++readyTicks_ < 2) return;
    finished_ = true;
    timer_->stop();
    hide();
    // Closing first: a stay-on-top game window must not come up under the
    // splash, which is on top itself.
    close();
    if (hooks_.showWindows) hooks_.showWindows();
}

void TStartForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPoint(25, 25), LogoPicture(2));
    painter.drawImage(QPoint(75, 15), LogoPicture(1));
}

void TStartForm::keyPressEvent(QKeyEvent* event) {
    // The Alt key would open the system menu of a window that has none.
    if (event->key() == Qt::Key_Alt) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace dorvane
