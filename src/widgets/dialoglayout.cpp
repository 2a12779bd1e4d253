#include "widgets/dialoglayout.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace dorvane {

namespace {

constexpr int kButtonBar = 27;
constexpr int kButtonWidth = 80;

} // namespace

void CentreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

std::pair<QPushButton*, QPushButton*> AddButtonBar(QDialog* dialog, const QString& acceptText,
                                                   const QString& rejectText) {
    const int top = dialog->height() - kButtonBar + 1;
    const int width = dialog->width();
    auto* accept = new QPushButton(acceptText, dialog);
    auto* reject = new QPushButton(rejectText, dialog);
    accept->setGeometry(width - 2 * (kButtonWidth + 2) - 4, top, kButtonWidth, 25);
    reject->setGeometry(width - (kButtonWidth + 2) - 2, top, kButtonWidth, 25);
    QObject::connect(accept, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(reject, &QPushButton::clicked, dialog, &QDialog::reject);
    return {accept, reject};
}

} // namespace dorvane
