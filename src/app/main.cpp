// Dorvane: the settings store, one random source for the whole run seeded
// from the clock, and the game window.
#include "core/file_name.h"
#include "core/shell_settings.h"
#include "game/random.h"
#include "shell/settings_store.h"
#include "shell/termination.h"
#include "view/assets.h"
#include "view/mainform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>

int main(int argc, char** argv) {
    dorvane::TTerminationSignals::Install();
    // A file-size limit (ulimit -f) makes a long write fail instead of killing
    // the program with the lock file left behind: the settings store and the
    // saved-game writer report a short write as a failure.
    std::signal(SIGXFSZ, SIG_IGN);
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
    dorvane::TShellSettings shell;
    {
        const dorvane::TSettingsReads reads(store);
        shell = dorvane::ShellSettingsSchema().Read(store);
    }
    const bool restarted = shell.ReStart;
    // The first write of the run also tells whether the store can be written
    // at all; when it cannot, the program runs on defaults and saves nothing.
    shell.ReStart = false;
    dorvane::ShellSettingsSchema().WriteNow(store, shell, QStringLiteral("ReStart"));
    store.SetStoreKeyPath(QStringLiteral("SOFTWARE\\Kvo\\Dorvane"));

    dorvane::TRandom random = dorvane::TRandom::FromClock();
    dorvane::TMainForm window(random, store);
    window.show();
    // The arguments as the system gave them: a file name that is not UTF-8
    // must open all the same (QApplication's decoding would replace bytes).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << dorvane::FileNameFromBytes(QByteArray(argv[i]));
    window.OpenAtStart(arguments, restarted);
    // A logout or a kill closes the window the ordinary way, once what is
    // already on its way (a file opening, a search) is done.
    const dorvane::TTerminationSignals termination([&window] { window.CloseWhenIdle(); });
    return QApplication::exec();
}
