#include "widgets/messageform.h"

#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"

#include "core/messages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace dorvane {

namespace {

QPointer<TMessageForm>& Shown() {
    static QPointer<TMessageForm> shown;
    return shown;
}

QIcon IconOf(TSystemIcon icon, const QStyle* style) {
    switch (icon) {
    case TSystemIcon::Information:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case TSystemIcon::Warning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case TSystemIcon::Question:
        return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case TSystemIcon::Error:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case TSystemIcon::None:
        break;
    }
    return {};
}

} // namespace

TMessageForm::TMessageForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kMessageCaption));
    // A window of its own (no owner, its own taskbar entry), only the
    // system menu and the close box.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // A message left open (the music's, say) must not keep the program
    // running once the game window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont small(QStringLiteral("Tahoma"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSize(8);
    setFont(small);
    setFixedSize(194, 94);
    image_ = new QLabel(this);
    image_->setGeometry(kIconLeft, kIconLeft, kIconSize, kIconSize);
    image_->setScaledContents(true);
    text_ = new QLabel(this);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->resize(75, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QWidget::close);
    InstallSwallowAltKey(this);
}

TMessageForm::~TMessageForm() {
    if (Shown() == this) Shown() = nullptr;
}

TMessageForm* TMessageForm::Current() {
    return Shown();
}

void TMessageForm::SetText(const QString& text, TSystemIcon icon) {
    const QIcon picture = IconOf(icon, style());
    image_->setPixmap(picture.isNull() ? QPixmap() : picture.pixmap(kIconSize, kIconSize));
    text_->setText(text);
    text_->adjustSize();
    const int left = kIconSize + 2 * kIconLeft; // 56
    text_->move(left, (kIconSize - text_->height()) / 2 + kIconLeft);
    const int width = std::max(left + text_->width(), kMinTextRight) + kIconLeft;
    // A text of several lines would reach below the icon: the button stays
    // under the text.
    const int top = std::max(kIconSize + 2 * kIconLeft, text_->geometry().bottom() + 1 + kIconLeft);
    ok_->move((width - ok_->width()) / 2, top);
    setFixedSize(width, top + ok_->height() + kIconLeft);
}

void TMessageForm::keyPressEvent(QKeyEvent* event) {
    // Escape closes as the close box does, without a result to give.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void BringWindowForward(QWidget* window, bool makeForeground, bool moveOntoScreen) {
    if (!window) return;
    // Restored when minimised; a maximised window stays maximised.
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    if (moveOntoScreen) {
        const QScreen* screen =
            window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->virtualGeometry() : QRect();
        const QRect frame = window->frameGeometry();
        if (area.isValid() && !area.intersects(frame))
            window->move(area.left() + std::max(0, (area.width() - frame.width()) / 2),
                         area.top() + std::max(0, (area.height() - frame.height()) / 2));
    }
    window->raise();
    if (makeForeground) window->activateWindow();
}

void ShowInfoMessage(const QString& text, TSystemIcon icon) {
    if (TMessageForm* shown = Shown()) {
        shown->SetText(text, icon);
        BringWindowForward(shown, true, true);
        return;
    }
    auto* form = new TMessageForm;
    Shown() = form;
    form->SetText(text, icon);
    CentreOnScreen(form);
    form->show();
}

void MsgUnfinishedOperations() {
    ShowInfoMessage(QStringLiteral("Имеются незавершенные операции!"), TSystemIcon::Information);
}

} // namespace dorvane
