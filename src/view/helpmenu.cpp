#include "view/helpmenu.h"
#include "widgets/window_mode.h"

#include "view/assets.h"

#include "core/data_folder.h"
#include "core/environment.h"
#include "core/program_info.h"
#include "widgets/aboutform.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace dorvane {

namespace {

QString Host() {
    return QString::fromLatin1(kSiteHosts[0]);
}

void AddLinks(QMenu* menu, const std::vector<TLinkItem>& links, const TLauncher& launcher) {
    for (const TLinkItem& link : links) {
        QAction* item = menu->addAction(link.caption);
        // The address is the item's hint, as the status bar shows it.
        item->setStatusTip(link.address);
        QObject::connect(item, &QAction::triggered, menu, [&launcher, address = link.address] {
            OpenWebAddress(launcher, address);
        });
    }
}

} // namespace

QString HelpPagePath() {
    return DataFolder() + QStringLiteral("/readme.html");
}

const std::vector<TLinkItem>& InternetLinks() {
    static const std::vector<TLinkItem> links{
        {QStringLiteral("Проверка файлов на вирусы"), Host() + QStringLiteral("/links/antivirus")},
        {QStringLiteral("Средства разработки"), Host() + QStringLiteral("/links/toolchain")},
        {QStringLiteral("Операционная система"), Host() + QStringLiteral("/links/system")},
    };
    return links;
}

const std::vector<TLinkItem>& ProgramLinks() {
    static const std::vector<TLinkItem> links{
        {QStringLiteral("Каталог игр"), Host() + QStringLiteral("/catalog/games")},
        {QStringLiteral("Каталог программ"), Host() + QStringLiteral("/catalog/programs")},
        {QStringLiteral("Новые версии"), Host() + QStringLiteral("/catalog/releases")},
    };
    return links;
}

THelpMenu::THelpMenu(QWidget* window, QMenuBar* menuBar, const TCommandRegistry& commands,
                     TMessageService& messages, TRandomSource& random)
    : window_(window), launcher_{messages, random, DesktopOpener()} {
    menu_ = menuBar->addMenu(QStringLiteral("&Справка"));
    // The help page has an item of its own: F1 starts a new game, as it
    // always has.
    QAction* page = menu_->addAction(QStringLiteral("Справка по игре"));
    page->setStatusTip(HelpPagePath());
    menu_->addSeparator();
    QObject::connect(page, &QAction::triggered, window_, [this] {
        if (!QFileInfo(HelpPagePath()).isFile() ||
            !launcher_.open(QUrl::fromLocalFile(HelpPagePath())))
            MsgCannotExecute(launcher_.messages);
    });
    QAction* feedback = commands.Action(TCommand::Feedback);
    QAction* site = commands.Action(TCommand::Site);
    QAction* support = commands.Action(TCommand::Support);
    site->setStatusTip(Host());
    support->setStatusTip(Host() + QString::fromLatin1(kContributePath));
    menu_->addAction(feedback);
    menu_->addSeparator();
    menu_->addAction(site);
    menu_->addAction(support);
    QMenu* internet = menu_->addMenu(QStringLiteral("Internet"));
    AddLinks(internet, InternetLinks(), launcher_);
    AddLinks(internet->addMenu(QStringLiteral("Программы")), ProgramLinks(), launcher_);
    menu_->addSeparator();
    menu_->addAction(commands.Action(TCommand::About));

    QObject::connect(feedback, &QAction::triggered, window_,
                     [this] { SendFeedbackMail(launcher_); });
    for (QAction* link : {site, support})
        QObject::connect(link, &QAction::triggered, window_, [this, link] {
            OpenWebAddress(launcher_,
                           link->statusTip().isEmpty() ? link->text() : link->statusTip());
        });
}

void THelpMenu::OpenAboutWindow() {
    // The machine's description does not change while the program runs.
    static const TEnvironment environment = ProbeOsAndOwner();
    TAboutInfo info;
    info.drawJpeg = &DrawResourceJpeg;
    info.version = ProgramVersion();
    info.mailAddress =
        QString::fromLatin1(kFeedbackAddresses[launcher_.random.Below(kFeedbackAddresses.size())]);
    info.siteAddress = RandomSiteAddress(launcher_.random);
    info.storedTexts = AboutTexts();
    info.environment = environment;
    TAboutActions actions;
    // A missing readme does nothing visible.
    actions.openReadme = [this] { OpenOrRun(launcher_.open, HelpPagePath()); };
    actions.sendMail = [this] { SendFeedbackMail(launcher_); };
    actions.openSite = [this] {
        OpenWebAddress(launcher_, RandomSiteAddress(launcher_.random).mid(7));
    };
    TAboutForm form(info, std::move(actions), window_);
    const TModalScope modal;
    form.exec();
}

} // namespace dorvane
