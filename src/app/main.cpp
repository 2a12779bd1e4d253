// Dorvane: the settings store, one random source for the whole run seeded
// from the clock, and the game window.
#include "core/shell_settings.h"
#include "game/random.h"
#include "shell/settings_store.h"
#include "view/assets.h"
#include "view/mainform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setOrganizationName(QStringLiteral("Kvo"));
    QApplication::setWindowIcon(dorvane::ProgramIcon());

    // The program speaks Russian whatever the desktop's language, so Qt's own
    // dialogs (file dialogs, standard buttons) must too, and every date, size
    // and number the toolkit formats reads in Russian.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    dorvane::SettingsStore store;
    // A missing value counts as set: a first run behaves like a restart.
    dorvane::TShellSettings shell = dorvane::ShellSettingsSchema().Read(store);
    const bool restarted = shell.ReStart;
    // The first write of the run also tells whether the store can be written
    // at all; when it cannot, the program runs on defaults and saves nothing.
    shell.ReStart = false;
    dorvane::ShellSettingsSchema().WriteNow(store, shell, QStringLiteral("ReStart"));
    store.SetStoreKeyPath(QStringLiteral("SOFTWARE\\Kvo\\Dorvane"));

    dorvane::TRandom random = dorvane::TRandom::FromClock();
    dorvane::TMainForm window(random, store);
    window.show();
    window.OpenAtStart(QApplication::arguments().mid(1), restarted);
    return QApplication::exec();
}
