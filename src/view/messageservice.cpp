#include "messageservice.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace dorvane {

void TMessageService::Show(const QString& text, TMessageIcon icon) {
    const TMessageKind kind =
        icon == TMessageIcon::Warning ? TMessageKind::Warning : TMessageKind::Information;
    if (responder_) {
        responder_(kind, text);
        return;
    }
    QMessageBox box(kind == TMessageKind::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    QString::fromUtf8(kMessageCaption), text, QMessageBox::Ok, owner_);
    box.exec();
}

bool TMessageService::AskYesNo(const QString& text) {
    if (responder_) return responder_(TMessageKind::Question, text);
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kMessageCaption), text,
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::Yes);
    // Named here as well: the questions stay Russian where Qt's translations
    // are not installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    return box.exec() == QMessageBox::Yes;
}

} // namespace dorvane
