// The music player's one playlist: its entries, the random play order, the
// position of playback and the flags that the engine's tick and the
// playlist window read. It lives on the UI thread and is changed only
// there.
//
// The playback worker never touches an entry. It gets a copy of the entry it
// is to play, and when it has read the file's tags it hands the new title
// and length back with PostEntryTags, which queues them to the UI thread;
// there they are written if the entry at that index is still that file (the
// list may have been reloaded meanwhile). So entries need no lock.
#pragma once

#include "game/random.h"
#include "music/playlist_entry.h"

#include <QObject>

#include <vector>

namespace dorvane {

// An entry the engine should start at its next tick.
struct TPendingSelection {
    int index = 0;
    bool pending = false;
};

class TPlaylist : public QObject {
    Q_OBJECT

public:
    explicit TPlaylist(QObject* parent = nullptr) : QObject(parent) {}

    const std::vector<FList>& Entries() const { return entries_; }
    int Count() const { return int(entries_.size()); }
    bool IsEmpty() const { return entries_.empty(); }
    const FList& Entry(int index) const { return entries_[std::size_t(index)]; }
    qint64 TotalSize() const { return totalSize_; }

    void Clear();
    void Append(FList entry);
    void Append(std::vector<FList> entries);
    // False when index is out of range.
    bool RemoveAt(int index);
    // The entry at from goes to position to (both in range).
    bool Move(int from, int to);
    // The entries in the given order: order[i] is the old index of the entry
    // that becomes entry i. False (nothing changed) unless order is a
    // permutation of 0..n-1.
    bool Reorder(const std::vector<int>& order);

    // The indices 0..n-1 in random order; an empty list keeps the old order.
    const std::vector<int>& PlayOrder() const { return playOrder_; }
    void ShufflePlayOrder(TRandomSource& random);

    int CurrentIndex() const { return currentIndex_; }
    void SetCurrentIndex(int index) { currentIndex_ = index; }
    // In sequential play the same number as CurrentIndex, in random play the
    // position in PlayOrder.
    int OrderPosition() const { return orderPosition_; }
    void SetOrderPosition(int position) { orderPosition_ = position; }

    TPendingSelection PendingSelection() const { return pending_; }
    void SelectPending(int index) { pending_ = {index, true}; }
    void ClearPendingSelection() { pending_ = {}; }

    // While a load runs.
    bool Busy() const { return busy_; }
    void SetBusy(bool busy) { busy_ = busy; }

    // UI thread: the tags of the entry at index, when it is still path.
    bool SetEntryTags(int index, const QString& path, const QString& title, const QString& length);
    // Any thread (the playback worker): the same, queued to the UI thread.
    void PostEntryTags(int index, const QString& path, const QString& title, const QString& length);

signals:
    void EntryChanged(int index);

private:
    std::vector<FList> entries_;
    qint64 totalSize_ = 0;
    std::vector<int> playOrder_;
    int currentIndex_ = 0;
    int orderPosition_ = 0;
    TPendingSelection pending_;
    bool busy_ = false;
};

} // namespace dorvane
