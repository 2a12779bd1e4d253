// The playlist window's edits of the list: delete a row, move a row onto
// another, sort. Each shuffles the play order where the list changed and
// answers the row to select; the playing position (CurrentIndex and
// OrderPosition) is left as it was, so the next advance counts from it.
#pragma once

#include "game/random.h"
#include "music/playlist.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace dorvane {

// The "Сортировать" items.
enum class TSortKey { Title = 0, FullName = 1, Name = 2, Extension = 3, Size = 4, Date = 5 };

// Letter case counts only for the Latin A-Z; everything else compares by
// UTF-16 code units, and a prefix comes before the longer text. <0, 0, >0.
int CompareListText(QStringView a, QStringView b);

// The indices of entries in sorted order (descending reverses key and
// tie-break alike).
std::vector<int> SortedOrder(const std::vector<FList>& entries, TSortKey key, bool descending);

// Each answers the row to select afterwards, -1 when the list is empty.
int DeleteRow(TPlaylist& playlist, TRandomSource& random, int row);
// Nothing happens (the answer is from) when to is from or no row.
int MoveRow(TPlaylist& playlist, TRandomSource& random, int from, int to);
// Only with two entries or more; the selected entry keeps its selection.
int SortRows(TPlaylist& playlist, TSortKey key, bool descending, int selected);

// The length in whole seconds of a file that is not an MP3, negative when it
// cannot be told.
using TLengthProbe = std::function<qint64(const QString& path)>;

// The title editor's caption: "N. title".
QString TitleEditCaption(int row, const FList& entry);
// A new title for the entry at row: the text without the blanks around it,
// when it has any character left and differs from the title (letter case
// counts). An entry with no length whose file is there gets its length
// first (an MP3's from its frames, any other's from probe). False when
// nothing changed.
bool EditEntryTitle(TPlaylist& playlist, int row, const QString& text, const TLengthProbe& probe);

} // namespace dorvane
