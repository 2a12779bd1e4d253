#include "widgets/messageboxes.h"
#include "widgets/window_mode.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace dorvane {

void TMessageBoxes::Present(TMessageKind kind, const QString& text) {
    auto* box = new QMessageBox(kind == TMessageKind::Warning ? QMessageBox::Warning
                                                              : QMessageBox::Information,
                                QString::fromUtf8(kMessageCaption), text, QMessageBox::Ok, owner_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal for the window it belongs to, but shown without a nested event
    // loop: the caller goes on at once.
    box->setWindowModality(owner_ ? Qt::WindowModal : Qt::ApplicationModal);
    // Enter and Esc answer it at once: the box asks for the activation and
    // puts the focus on its button itself, whatever window the click or the
    // dialog that led to it left active.
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    box->show();
    box->raise();
    box->activateWindow();
    box->defaultButton()->setFocus(Qt::ActiveWindowFocusReason);
}

bool TMessageBoxes::Ask(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kMessageCaption), text,
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::Yes);
    // Named here as well: the questions stay Russian where Qt's translations
    // are not installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    const TModalScope modal;
    return box.exec() == QMessageBox::Yes;
}

} // namespace dorvane
