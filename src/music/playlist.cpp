#include "music/playlist.h"

#include <QMetaObject>

#include <numeric>

namespace dorvane {

void TPlaylist::Clear() {
    entries_.clear();
    totalSize_ = 0;
}

void TPlaylist::Append(FList entry) {
    totalSize_ += entry.Size;
    entries_.push_back(std::move(entry));
}

void TPlaylist::Append(std::vector<FList> entries) {
    entries_.reserve(entries_.size() + entries.size());
    for (FList& entry : entries)
        Append(std::move(entry));
}

bool TPlaylist::RemoveAt(int index) {
    if (index < 0 || index >= Count()) return false;
    totalSize_ -= Entry(index).Size;
    entries_.erase(entries_.begin() + index);
    return true;
}

bool TPlaylist::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count()) return false;
    FList entry = std::move(entries_[std::size_t(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(entry));
    return true;
}

bool TPlaylist::Reorder(const std::vector<int>& order) {
    if (order.size() != entries_.size()) return false;
    std::vector<bool> seen(order.size());
    for (const int index : order) {
        if (index < 0 || index >= Count() || seen[std::size_t(index)]) return false;
        seen[std::size_t(index)] = true;
    }
    std::vector<FList> sorted;
    sorted.reserve(entries_.size());
    for (const int index : order)
        sorted.push_back(std::move(entries_[std::size_t(index)]));
    entries_ = std::move(sorted);
    return true;
}

void TPlaylist::ShufflePlayOrder(TRandomSource& random) {
    if (entries_.empty()) return;
    playOrder_.resize(entries_.size());
    std::iota(playOrder_.begin(), playOrder_.end(), 0);
    for (std::size_t i = playOrder_.size(); i-- > 0;)
        std::swap(playOrder_[i], playOrder_[random.Below(std::uint32_t(i + 1))]);
}

bool TPlaylist::SetEntryTags(int index, const QString& path, const QString& title,
                             const QString& length) {
    if (index < 0 || index >= Count() || Entry(index).S2 != path) return false;
    FList& entry = entries_[std::size_t(index)];
    entry.S1 = CutTitle(title);
    entry.S3 = CutTitle(length);
    emit EntryChanged(index);
    return true;
}

void TPlaylist::PostEntryTags(int index, const QString& path, const QString& title,
                              const QString& length) {
    QMetaObject::invokeMethod(
        this, [this, index, path, title, length] { SetEntryTags(index, path, title, length); },
        Qt::QueuedConnection);
}

} // namespace dorvane
