// Dorvane: the game window with its controller, one random source for the
// whole run seeded from the clock.
#include "game/random.h"
#include "view/assets.h"
#include "view/mainform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setOrganizationName(QStringLiteral("Kvo"));
    QApplication::setWindowIcon(dorvane::ProgramIcon());

    dorvane::TRandom random = dorvane::TRandom::FromClock();
    // The settings store is not wired in yet: the window starts with the
    // stored values' defaults.
    dorvane::TGameOptions game;
    game.HintOn = true;
    dorvane::TMainForm window(random, game);
    window.show();
    return QApplication::exec();
}
