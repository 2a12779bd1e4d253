// Retitling the whole playlist from the tags of its .mp3 and .wma files:
// the title made of the fields the user checked, and the job that reads the
// files on a worker thread and writes the titles and lengths into the
// playlist on the UI thread.
#pragma once

#include "music/playlist.h"
#include "music/track_tags.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace dorvane {

// The fields the user may add between the artist and the title, which are
// always part of the new title.
struct TQueryFields {
    bool year = false;
    bool album = false;
    bool track = false;
};

// How much of a tag the query reads: the album fields only when one of them
// is wanted.
TagDetail QueryDetail(const TQueryFields& fields);

// The artist, the checked year, album and track and the title, those that
// are not empty, joined by " - "; each field from the version 2 tag (or the
// ASF attributes) and from the version 1 tag where that one is empty. Empty
// when the tags give none of them.
QString QueryTitle(const TID3v1Info& v1, const TID3v2Info& v2, const TQueryFields& fields);

// Whether the query reads the file of an entry: its path ends in ".mp3" or
// ".wma" in any case.
bool IsQueryCandidate(const QString& path);

// What the query learnt of one file.
struct TQueryAnswer {
    int index = 0;
    QString path;
    QString title;  // empty: the entry keeps its title and length
    QString length; // whole seconds, "0" when the length was not found
};

// Reads the file of one entry. Nothing when it is not a candidate or cannot
// be read (missing, not a regular file); an answer without a title when it
// was read but gave no title. Any thread.
std::optional<TQueryAnswer> QueryEntry(int index, const QString& path, const TQueryFields& fields);
using TQueryReader = std::function<std::optional<TQueryAnswer>(int index, const QString& path,
                                                               const TQueryFields& fields)>;

// The query over the playlist. UI thread, except where a member says
// otherwise. The worker gets a copy of the paths, reads one file after the
// other and puts each answer into an inbox under a lock; a timer of the UI
// thread empties the inbox every 20 ms while the query runs. (A queued
// signal would hand the answers over through Qt's event queue, whose lock a
// thread checker cannot see; the inbox's lock it sees.) An answer is written
// into its entry only when the entry at that index still names the same
// file (the list may have been reloaded meanwhile), as the playback
// worker's tags are.
class TTagQuery final : public QObject {
    Q_OBJECT

public:
    explicit TTagQuery(TPlaylist& playlist, QObject* parent = nullptr);
    // Cancels a query in progress and waits for the file being read; the
    // answers not yet delivered are dropped.
    ~TTagQuery() override;

    // Starts a query over the entries as they are now. False while one runs.
    bool Start(const TQueryFields& fields);
    // The worker stops before its next file; what was answered stays.
    void Cancel();
    bool Running() const { return running_; }
    // The entries the running (or last) query looks at.
    int Total() const { return total_; }
    // How the worker reads one file; QueryEntry unless a test holds it up.
    // Not while a query runs.
    void SetReader(TQueryReader reader) { reader_ = std::move(reader); }

signals:
    // A file was read: the index of its entry (the progress).
    void Progressed(int index);
    // Every answer is in; cancelled when Cancel() stopped the worker before
    // the last file.
    void Finished(bool cancelled);

private:
    // What the worker hands over; every member under the mutex.
    struct TInbox {
        std::mutex mutex;
        std::vector<TQueryAnswer> answers;
        bool done = false;
        bool stopped = false; // by Cancel, before the last file
    };

    // The timer's step: the answers in the inbox go into the playlist, and
    // the query ends once the worker is done.
    void Collect();
    void JoinWorker();

    TPlaylist& playlist_;
    TQueryReader reader_ = QueryEntry;
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::shared_ptr<TInbox> inbox_;
    QTimer collect_;
    bool running_ = false;
    int total_ = 0;
};

} // namespace dorvane
