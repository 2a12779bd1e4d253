#include "widgets/launch.h"

#include "core/program_info.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrlQuery>

namespace dorvane {

namespace {

QString Pick(TRandomSource& random, const std::array<const char*, 2>& choices) {
    return QString::fromLatin1(choices[random.Below(std::uint32_t(choices.size()))]);
}

QUrl MailTo(const QString& address, const QString& subject) {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("Subject"), subject);
    url.setQuery(query);
    return url;
}

} // namespace

TUrlOpener DesktopOpener() {
    return [](const QUrl& url) {
        if (QDesktopServices::openUrl(url)) return true;
        return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
    };
}

QString RandomSiteAddress(TRandomSource& random) {
    return QStringLiteral("http://") + Pick(random, kSiteHosts);
}

void OpenWebAddress(const TLauncher& launcher, const QString& text) {
    if (!launcher.open(QUrl(QStringLiteral("http://") + text))) MsgCannotExecute(launcher.messages);
}

void SendFeedbackMail(const TLauncher& launcher) {
    const QString name = QString::fromUtf8(kMessageCaption);
    if (launcher.open(MailTo(Pick(launcher.random, kFeedbackAddresses),
                             name + QLatin1Char(' ') + ProgramVersion())))
        return;
    if (launcher.open(MailTo(Pick(launcher.random, kFeedbackAddresses), name))) return;
    MsgCannotExecute(launcher.messages);
}

bool OpenOrRun(const TUrlOpener& open, const QString& pathOrCommand) {
    const QFileInfo file(pathOrCommand);
    if (file.exists()) {
        if (open(QUrl::fromLocalFile(file.absoluteFilePath()))) return true;
        return QProcess::startDetached(file.absoluteFilePath(), {}, file.absolutePath());
    }
    QStringList words = QProcess::splitCommand(pathOrCommand);
    if (words.isEmpty()) return false;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

} // namespace dorvane
