#include "widgets/launch.h"

#include "core/program_info.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
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

// Sends the call and reports a refusal when the answer comes; a session
// without a bus refuses at once.
void CallDesktopService(QDBusMessage call, std::function<void()> failed) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        failed();
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [failed = std::move(failed)](QDBusPendingCallWatcher* done) {
                         if (done->isError()) failed();
                         done->deleteLater();
                     });
}

void RequestForExisting(TMessageService& messages, const QString& path,
                        const TDesktopRequest& request) {
    const QFileInfo info(path);
    if (!info.exists()) {
        MsgCannotExecute(messages);
        return;
    }
    // The service answers after this returns; the message service is the
    // window's, which outlives any answer the event loop can still deliver.
    request(QUrl::fromLocalFile(info.absoluteFilePath()),
            [&messages] { MsgCannotExecute(messages); });
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
    return RunProcess(pathOrCommand);
}

bool ShellOpen(const TUrlOpener& open, const QString& text) {
    const QUrl url(text);
    if (url.isValid() && url.scheme().size() > 1) return open(url);
    return open(QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
}

bool RunProcess(const QString& commandLine) {
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty()) return false;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

TDesktopRequest FileManagerProperties() {
    return [](const QUrl& url, std::function<void()> failed) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"),
            QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
        call << QStringList{url.toString()} << QString();
        CallDesktopService(std::move(call), std::move(failed));
    };
}

TDesktopRequest PortalOpenWith() {
    return [](const QUrl& url, std::function<void()> failed) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.portal.Desktop"),
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenURI"));
        QVariantMap options;
        options.insert(QStringLiteral("ask"), true);
        call << QString() << url.toString() << options;
        CallDesktopService(std::move(call), std::move(failed));
    };
}

void ShowProperties(TMessageService& messages, const QString& path,
                    const TDesktopRequest& request) {
    RequestForExisting(messages, path, request);
}

void OpenWithDialog(TMessageService& messages, const QString& path,
                    const TDesktopRequest& request) {
    RequestForExisting(messages, path, request);
}

bool OpenSoundPlaybackSettings(const QString& volumeControlPath) {
    if (volumeControlPath.isEmpty()) return false;
    return QProcess::startDetached(volumeControlPath, {});
}

} // namespace dorvane
