#include "music/playlist_edit.h"

#include "music/mp3_info.h"

#include <QFileInfo>

#include <algorithm>
#include <numeric>

namespace dorvane {

namespace {

char16_t FoldLatin(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

template <class T> int Compare(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The file-name part of S2 (a clean absolute path), without copying it.
QStringView NamePart(const QString& path) {
    return QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

int CompareByKey(const FList& a, const FList& b, TSortKey key) {
    switch (key) {
    case TSortKey::Title:
        if (const int c = CompareListText(a.S1, b.S1)) return c;
        return CompareListText(a.S2, b.S2);
    case TSortKey::FullName:
        return CompareListText(a.S2, b.S2);
    case TSortKey::Name:
        return CompareListText(NamePart(a.S2), NamePart(b.S2));
    case TSortKey::Extension:
        if (const int c = CompareListText(a.Ext, b.Ext)) return c;
        break;
    case TSortKey::Size:
        if (const int c = Compare(a.Size, b.Size)) return c;
        break;
    case TSortKey::Date:
        if (const int c = Compare(a.Time, b.Time)) return c;
        break;
    }
    return CompareListText(a.S1, b.S1);
}

} // namespace

int CompareListText(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = FoldLatin(a[i].unicode());
        const char16_t y = FoldLatin(b[i].unicode());
        if (x != y) return x < y ? -1 : 1;
    }
    return Compare(a.size(), b.size());
}

std::vector<int> SortedOrder(const std::vector<FList>& entries, TSortKey key, bool descending) {
    std::vector<int> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        const int c = CompareByKey(entries[std::size_t(x)], entries[std::size_t(y)], key);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

int DeleteRow(TPlaylist& playlist, TRandomSource& random, int row) {
    if (!playlist.RemoveAt(row)) return playlist.IsEmpty() ? -1 : 0;
    playlist.ShufflePlayOrder(random);
    if (playlist.IsEmpty()) return -1;
    return std::min(row, playlist.Count() - 1);
}

int MoveRow(TPlaylist& playlist, TRandomSource& random, int from, int to) {
    if (from == to || !playlist.Move(from, to)) return from;
    playlist.ShufflePlayOrder(random);
    return to;
}

int SortRows(TPlaylist& playlist, TSortKey key, bool descending, int selected) {
    if (playlist.Count() < 2) return selected;
    const std::vector<int> order = SortedOrder(playlist.Entries(), key, descending);
    playlist.Reorder(order);
    const auto at = std::find(order.begin(), order.end(), selected);
    return at == order.end() ? selected : int(at - order.begin());
}

QString TitleEditCaption(int row, const FList& entry) {
    return QString::number(row + 1) + QStringLiteral(". ") + entry.S1;
}

namespace {

qint64 FileLength(const QString& path, const TLengthProbe& probe) {
    if (path.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive)) {
        TID3v1Info v1;
        TID3v2Info v2;
        MpegInfo mpeg;
        if (ReadMp3Info(path, v1, v2, &mpeg, kDetailTitles) != TTagFileStatus::Read || !mpeg.Found)
            return -1;
        return qint64(mpeg.Duration);
    }
    return probe ? probe(path) : -1;
}

} // namespace

bool EditEntryTitle(TPlaylist& playlist, int row, const QString& text, const TLengthProbe& probe) {
    if (row < 0 || row >= playlist.Count()) return false;
    const QString title = text.trimmed();
    const FList& entry = playlist.Entry(row);
    if (title.isEmpty() || title == entry.S1) return false;
    QString length = entry.S3;
    if (length.isEmpty() && QFileInfo(entry.S2).isFile()) {
        const qint64 seconds = FileLength(entry.S2, probe);
        if (seconds >= 0) length = QString::number(seconds);
    }
    return playlist.SetEntryTags(row, entry.S2, title, length);
}

} // namespace dorvane
