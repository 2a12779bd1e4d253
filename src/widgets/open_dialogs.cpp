#include "widgets/open_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace dorvane {

bool DialogsInTheWay() {
    return QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

void EndOpenDialogs() {
    // A popup closed may open no other, but one that refuses must not hold
    // this loop: a bounded number of rounds.
    for (int i = 0; i < 16 && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    // The innermost first: a dialog opened from another returns to it.
    for (int i = 0; i < 16 && QApplication::activeModalWidget(); ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        // A dialog that takes its time to go (it first cancels its work)
        // stays on top; the caller asks again later.
        if (QApplication::activeModalWidget() == modal) break;
    }
}

void CloseOwnerlessDialogs() {
    QList<QPointer<QDialog>> dialogs;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window);
            dialog && dialog->isVisible() && !dialog->parentWidget())
            dialogs << dialog;
    for (const QPointer<QDialog>& dialog : dialogs)
        if (dialog) dialog->close();
}

} // namespace dorvane
