// Shows the message window on the screen until it is closed, so that it can
// be looked at under Xvfb; the game window opens every other window itself.
// `window_gallery [text]`.
#include "widgets/messageform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1)
        dorvane::ShowInfoMessage(QString::fromLocal8Bit(argv[1]), dorvane::TSystemIcon::Warning);
    else
        dorvane::MsgUnfinishedOperations();
    return QApplication::exec();
}
