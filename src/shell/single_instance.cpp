#include "shell/single_instance.h"

#include "core/hand_over_text.h"
#include "shell/process_list.h"

#include <QTimer>

#include <thread>
#include <unistd.h>

namespace dorvane {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReceiveMs = 1000;
constexpr int kSecondReadMs = 3;
constexpr auto kRetry = 10ms;

std::chrono::milliseconds Left(Clock::time_point until) {
    return std::max(0ms,
                    std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()));
}

} // namespace

TInstancePlaces TInstancePlaces::In(const QString& folder) {
    // No folder is no meeting point: never the root's or the current one's.
    if (!folder.startsWith(u'/')) return {};
    const QString base = folder + QStringLiteral("/KvoDorvane");
    return {base + QStringLiteral("Event"), base + QStringLiteral("Map"),
            base + QStringLiteral("App")};
}

TSingleInstance::TSingleInstance(TInstancePlaces places)
    : places_(std::move(places)), event_(places_.event) {}

TStartVerdict TSingleInstance::Decide(int instanceLimit, const QStringList& arguments,
                                      const QString& currentFolder) {
    // Without a private folder the copies cannot meet: each runs alone.
    if (places_.event.isEmpty()) return TStartVerdict::Run;
    const int copies = CountRunningCopies(ProcessImagePath(::getpid()));
    if (instanceLimit >= 2) {
        // More copies than a restart makes: this is an ordinary later start.
        if (copies > instanceLimit && !event_.TryAcquire(kEventWait)) {
            return HandOver(arguments, currentFolder);
        }
        // The old copy of a restart is asked to end; this one starts once
        // it has let go of the event, or after kRestartWait either way.
        if (!event_.Held() &&
            SendInstanceRequest(places_.mailbox, TInstanceRequest::Quit, 0, {}, kAnswerWait))
            event_.TryAcquire(kRestartWait);
        else
            event_.TryAcquire(kEventWait);
        return TStartVerdict::Run;
    }
    // Whoever holds the event runs. Copies counted but without it are only
    // starting, like this one: if each of them ended because it saw the
    // others, none would run at all.
    if (event_.TryAcquire(kEventWait)) return TStartVerdict::Run;
    return HandOver(arguments, currentFolder);
}

TStartVerdict TSingleInstance::HandOver(const QStringList& arguments,
                                        const QString& currentFolder) {
    const Clock::time_point until = Clock::now() + kAnswerWait;
    // Through the mailbox, not the block: the mailbox takes each start's
    // lines in turn, while a block written by several starts at once keeps
    // only the last of them.
    const std::optional<QStringList> lines = HandOverLines(arguments, currentFolder);
    const QStringList texts = lines.value_or(QStringList());
    qsizetype sent = 0;
    bool answered = false;
    // The running copy may be starting still: its mailbox comes a moment
    // after its event.
    for (;;) {
        while (sent < texts.size()) {
            const std::optional<quint32> answer = SendInstanceRequest(
                places_.mailbox, TInstanceRequest::CopyData, 1, texts[sent], Left(until));
            if (!answer) break;
            answered = true;
            if (*answer != 0) return TStartVerdict::NotHandedOver;
            ++sent;
        }
        if (sent == texts.size() &&
            SendInstanceRequest(places_.mailbox, TInstanceRequest::BringForward, 0, {},
                                Left(until)))
            return lines ? TStartVerdict::Ended : TStartVerdict::NotHandedOver;
        if (Left(until) == 0ms) return answered ? TStartVerdict::NotHandedOver : TStartVerdict::Run;
        std::this_thread::sleep_for(kRetry);
    }
}

THandOverReceiver::THandOverReceiver(const TInstancePlaces& places, QString ownPath,
                                     QObject* parent)
    : QObject(parent), ownPath_(std::move(ownPath)) {
    block_.Create(places.block, ownPath_);
    server_.Listen(places.mailbox);
    connect(&server_, &TInstanceServer::TextReceived, this, [this](const QString& text) {
        if (!stopped_) emit TextHanded(text);
    });
    connect(&server_, &TInstanceServer::BringForwardRequested, this,
            &THandOverReceiver::BringForwardRequested);
    connect(&server_, &TInstanceServer::QuitRequested, this, &THandOverReceiver::QuitRequested);
    timer_ = new QTimer(this);
    timer_->setInterval(kReceiveMs);
    connect(timer_, &QTimer::timeout, this, &THandOverReceiver::Tick);
}

THandOverReceiver::~THandOverReceiver() = default;

void THandOverReceiver::Start() {
    if (block_.IsOpen()) timer_->start();
}

void THandOverReceiver::Stop() {
    stopped_ = true;
    timer_->stop();
}

void THandOverReceiver::Tick() {
    if (!block_.IsOpen() || reading_ || stopped_) return;
    if (block_.ReadText() == ownPath_) return;
    reading_ = true;
    QTimer::singleShot(kSecondReadMs, this, &THandOverReceiver::ReadAgain);
}

void THandOverReceiver::ReadAgain() {
    reading_ = false;
    if (stopped_) return;
    const QString text = block_.ReadText();
    block_.WriteText(ownPath_);
    emit TextHanded(text);
}

} // namespace dorvane
