// The search runner of the program: one worker thread that runs the searches
// one after another and posts each result back to the thread that created
// the worker (the UI thread) as a queued call.
//
// Threads: Start and the destructor run on the UI thread; RunSearch runs on
// the worker thread and touches only the job's copy of the game (the
// look-ahead spreads from there over the shared search pool's threads); the
// done callback runs on the UI thread.
#pragma once

#include "play/search_runner.h"

#include <QObject>
#include <QThread>

namespace dorvane {

class TSearchWorker final : public QObject, public TSearchRunner {
public:
    // What the worker thread runs for a job; tests wrap RunSearch to hold a
    // search on the thread for as long as they need.
    using TSearch = std::function<TSearchResult(const TSearchJob&)>;

    explicit TSearchWorker(TSearch search = RunSearch);
    // Waits for a search in progress (its controller has cancelled it, so it
    // ends within a few milliseconds); its result and any not yet delivered
    // are dropped.
    ~TSearchWorker() override;
    TSearchWorker(const TSearchWorker&) = delete;
    TSearchWorker& operator=(const TSearchWorker&) = delete;

    void Start(const TSearchJob& job, TDone done) override;

private:
    TSearch search_; // called on thread_ only
    QThread thread_;
    QObject* worker_ = nullptr; // lives on thread_, deleted when it finishes
};

} // namespace dorvane
