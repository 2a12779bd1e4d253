#include "musicui/wait_window.h"

#include "music/music_loader.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace dorvane {

QString WaitText(TWaitOperation operation, bool cancellable) {
    QString what;
    switch (operation) {
    case TWaitOperation::FileSearch:
        what = QStringLiteral("поиск файлов");
        break;
    case TWaitOperation::SetAttributes:
        what = QStringLiteral("установка атрибутов");
        break;
    case TWaitOperation::FolderSize:
        what = QStringLiteral("определение размера");
        break;
    case TWaitOperation::Other:
        what = QStringLiteral("операция");
        break;
    }
    QString text = QStringLiteral("Подождите, ") + what + QStringLiteral(" выполняется.");
    if (cancellable) text += QStringLiteral(" Esc - отмена.");
    return text;
}

TWaitForm::TWaitForm(TWaitOperation operation, bool cancellable, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), label_(new QLabel(this)),
      cancellable_(cancellable) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    label_->setText(WaitText(operation, cancellable));
    label_->setAlignment(Qt::AlignCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(label_);
    adjustSize();
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

QString TWaitForm::Text() const {
    return label_->text();
}

void TWaitForm::Finish() {
    finishing_ = true;
    close();
}

void TWaitForm::showEvent(QShowEvent* event) {
    before_ = QApplication::activeWindow();
    QWidget::showEvent(event);
    activateWindow();
}

void TWaitForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && cancellable_) {
        emit Cancelled();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TWaitForm::closeEvent(QCloseEvent* event) {
    if (!finishing_ && cancellable_) emit Cancelled();
    if (before_ && before_ != this) {
        before_->raise();
        before_->activateWindow();
    }
    QWidget::closeEvent(event);
}

TSearchWaitWindow::TSearchWaitWindow(QWidget* owner, std::function<void()> cancel, int delayMs)
    : owner_(owner), cancel_(std::move(cancel)) {
    delay_.setSingleShot(true);
    delay_.setInterval(delayMs);
    connect(&delay_, &QTimer::timeout, this, &TSearchWaitWindow::ShowForm);
}

TSearchWaitWindow::~TSearchWaitWindow() {
    if (form_) form_->Finish();
}

void TSearchWaitWindow::Started() {
    running_ = true;
    delay_.start();
}

void TSearchWaitWindow::Finished() {
    running_ = false;
    delay_.stop();
    if (form_) form_->Finish();
}

void TSearchWaitWindow::ShowForm() {
    if (!running_ || form_) return;
    form_ = new TWaitForm(TWaitOperation::FileSearch, true, owner_);
    connect(form_, &TWaitForm::Cancelled, this, [this] {
        if (cancel_) cancel_();
    });
    form_->show();
}

TSearchWaitWindow* AttachWaitWindow(TMusicLoader& loader, QWidget* owner) {
    auto* window = new TSearchWaitWindow(owner, [&loader] { loader.CancelSearch(); });
    window->setParent(&loader);
    QObject::connect(&loader, &TMusicLoader::SearchStarted, window, &TSearchWaitWindow::Started);
    QObject::connect(&loader, &TMusicLoader::SearchFinished, window, &TSearchWaitWindow::Finished);
    return window;
}

} // namespace dorvane
