// One running copy per user. A start first decides whether to run at all:
// when another copy runs, it hands that copy its arguments through the
// hand-over block, asks it to bring its windows forward, and ends. The copy
// that runs keeps the event for its whole run, makes the block and the
// mailbox, and reads the block once a second.
//
// Every wait is bounded. A copy that was killed holds nothing (the kernel
// drops its lock; its block and socket are replaced). A copy that hangs
// does not answer within kAnswerWait: the later start then runs on its own.
#pragma once

#include "shell/instance_channel.h"
#include "shell/instance_objects.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class QTimer;

namespace dorvane {

using namespace std::chrono_literals;

// How long a start waits for the event when another copy may be ending.
inline constexpr std::chrono::milliseconds kEventWait = 10ms;
// After a restart: how long the new copy waits for the old one to end.
inline constexpr std::chrono::milliseconds kRestartWait = 5000ms;
// A later start: how long it waits for the running copy's block and answer.
inline constexpr std::chrono::milliseconds kAnswerWait = 2000ms;

struct TInstancePlaces {
    QString event, block, mailbox;
    // "KvoDorvaneEvent", "KvoDorvaneMap", "KvoDorvaneApp" in folder.
    static TInstancePlaces In(const QString& folder);
};

// Ended: the running copy has everything. NotHandedOver: it runs, but did
// not take all the names (the start ends with a failure it reports).
enum class TStartVerdict { Run, Ended, NotHandedOver };

class TSingleInstance {
public:
    explicit TSingleInstance(TInstancePlaces places);

    // The decision before the application object exists. instanceLimit 2:
    // the old copy of a restart is asked to end, and this start runs.
    TStartVerdict Decide(int instanceLimit, const QStringList& arguments,
                         const QString& currentFolder);
    bool EventHeld() const { return event_.Held(); }
    // The end of the run.
    void ReleaseEvent() { event_.Release(); }
    const TInstancePlaces& Places() const { return places_; }

private:
    // Sends the names to the running copy's mailbox, line by line, and asks
    // it to come forward. Run when it did not answer in time at all.
    TStartVerdict HandOver(const QStringList& arguments, const QString& currentFolder);

    TInstancePlaces places_;
    TInstanceEvent event_;
};

// The running copy's side: the block and the mailbox. The block is read on
// a 1000 ms timer; a text other than the idle one is read again 3 ms later
// (the writer may have been half-way), handed on, and the block made idle.
class THandOverReceiver final : public QObject {
    Q_OBJECT
public:
    // Creates the block (idle = ownPath) and listens; without a block this
    // copy never receives hand-overs, and runs all the same.
    THandOverReceiver(const TInstancePlaces& places, QString ownPath, QObject* parent = nullptr);
    ~THandOverReceiver() override;

    bool HandOverOpen() const { return block_.IsOpen(); }
    void Start(); // the receiving timer (the game window's creation)
    void Stop();  // the close step: no more hand-overs
    // One tick of the receiving timer, for tests.
    void Tick();

signals:
    void TextHanded(const QString& text);
    void BringForwardRequested();
    void QuitRequested();

private:
    void ReadAgain();

    QString ownPath_;
    THandOverBlock block_;
    TInstanceServer server_;
    QTimer* timer_ = nullptr;
    bool reading_ = false;
    bool stopped_ = false;
};

} // namespace dorvane
