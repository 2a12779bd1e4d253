// Dorvane's main routine. The order matters: the command line comes first,
// then what the start learns of the system and the settings, then the decision whether to run at
// all (another copy may be running), and only then the toolkit, the
// hand-over block, the splash and the game window.
#include "app/command_line.h"
#include "core/file_name.h"
#include "game/random.h"
#include "shell/environment.h"
#include "shell/settings_store.h"
#include "shell/single_instance.h"
#include "shell/startform.h"
#include "shell/termination.h"
#include "shell/window_forward.h"
#include "view/assets.h"
#include "view/mainform.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QSystemTrayIcon>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// The program speaks Russian whatever the desktop's language, so Qt's own
// dialogs (file dialogs, standard buttons) must too, and every date, size
// and number the toolkit formats reads in Russian.
void SpeakRussian(QTranslator& qtTexts) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (qtTexts.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
}

} // namespace

int main(int argc, char** argv) {
    using namespace dorvane;
    TTerminationSignals::Install();
    // A file-size limit (ulimit -f) makes a long write fail instead of killing
    // the program with the lock file left behind: the settings store and the
    // saved-game writer report a short write as a failure.
    std::signal(SIGXFSZ, SIG_IGN);
    // The arguments as the system gave them: a file name that is not UTF-8
    // must open all the same (QApplication's decoding would replace bytes).
    // "--help" and "--version" are answered here, before the settings, the
    // other copies or a display are asked for anything.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << FileNameFromBytes(QByteArray(argv[i]));
    const TCommandLine line = ReadCommandLine(given, QStringLiteral(DORVANE_PROJECT_VERSION));
    if (line.ended) return line.exitCode;
    const QStringList& arguments = line.files;
    // Said on the terminal by whichever copy was started with them; the
    // window that opens them says so too.
    ReportUnopenableFiles(arguments);

    auto store = std::make_unique<SettingsStore>();
    TRunValues environment = ProbeEnvironment(*store);

    TSingleInstance instance(TInstancePlaces::In(InstanceFolder()));
    switch (instance.Decide(environment.InstanceLimit, arguments, QDir::currentPath())) {
    case TStartVerdict::Run:
        break;
    case TStartVerdict::Ended:
        return 0;
    case TStartVerdict::NotHandedOver:
        std::fputs("Dorvane: не удалось передать файлы запущенной копии программы\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setOrganizationName(QStringLiteral("Kvo"));
    QApplication::setWindowIcon(ProgramIcon());
    QTranslator qtTexts;
    SpeakRussian(qtTexts);
    ProbeNotificationArea(environment, *store, QSystemTrayIcon::isSystemTrayAvailable());

    THandOverReceiver receiver(instance.Places(), environment.ProgramPath);

    bool mainWindowReady = false;
    TMainForm* window = nullptr;
    auto* splash = new TStartForm({[&mainWindowReady] { return mainWindowReady; },
                                   [&window] {
                                       if (window) window->ShowWindows();
                                   }});
    splash->ShowNow();

    store->SetStoreKeyPath(QStringLiteral("SOFTWARE\\Kvo\\Dorvane"));
    TRandom random = TRandom::FromClock();
    TMainForm form(random, *store, SystemMusic(environment.RequestedSpeed));
    window = &form;
    QObject::connect(&receiver, &THandOverReceiver::TextHanded, &form,
                     [&form](const QString& text) { form.OpenHandedText(text); });
    QObject::connect(&receiver, &THandOverReceiver::BringForwardRequested, &form,
                     [&form] { BringWindowsForward(&form); });
    QObject::connect(&receiver, &THandOverReceiver::QuitRequested, &form,
                     [&form] { form.CloseWhenIdle(); });
    form.SetCloseStep([&receiver] { receiver.Stop(); });
    receiver.Start();
    form.OpenAtStart(arguments, environment.Restarted);
    mainWindowReady = true;

    // Started minimised, the window goes into the tray when "Минимизировать в
    // трей" is on, and the tray menu's window list waits for the first click.
    form.SetShowMainMin(environment.ShowMainMin);
    if (environment.ShowMainMin)
        form.showMinimized();
    else
        form.show();
    // A logout or a kill closes the window the ordinary way, once what is
    // already on its way (a file opening, a search) is done.
    const TTerminationSignals termination([&form] { form.CloseWhenIdle(); });
    const int result = QApplication::exec();
    instance.ReleaseEvent();
    return result;
}
