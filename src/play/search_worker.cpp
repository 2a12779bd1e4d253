#include "play/search_worker.h"

#include "game/search_pool.h"

#include <QMetaObject>

namespace dorvane {

TSearchWorker::TSearchWorker(TSearch search) : search_(std::move(search)), worker_(new QObject) {
    // The look-ahead's threads start here rather than in the first search.
    TSearchPool::Shared();
    thread_.setObjectName(QStringLiteral("dorvane-search"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

TSearchWorker::~TSearchWorker() {
    // The worker's last post to this object happens before the thread ends,
    // and QObject's destructor then discards whatever is still queued here.
    thread_.quit();
    thread_.wait();
}

void TSearchWorker::Start(const TSearchJob& job, TDone done) {
    QMetaObject::invokeMethod(
        worker_,
        [this, job, done = std::move(done)]() mutable {
            // Worker thread.
            const TSearchResult result = search_(job);
            QMetaObject::invokeMethod(
                this, [done = std::move(done), result] { done(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

} // namespace dorvane
