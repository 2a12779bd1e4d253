// The numbers and texts the playlist window shows, worked out here so that
// the window only draws them: the row metrics, the column count, the row
// hint, the totals, the times of the status bar, the level of the meter and
// the caption.
#pragma once

#include "music/playlist_entry.h"

#include <QLocale>
#include <QString>

namespace dorvane {

// The "Столбцы" choice: -1 as many as the entries need, 0 one column that
// scrolls vertically, 1..8 that many.
inline constexpr int kAutoColumns = -1;
inline constexpr int kMaxColumns = 8;

struct TRowMetrics {
    int height = 1;    // of a row
    int offsetTop = 0; // of the text inside it
};
// textHeight is the list font's height of "H"; spacing 0, 1, 2 makes the
// row 1, 1.25 or 1.5 times as high.
TRowMetrics RowMetrics(int textHeight, int spacing);

// The columns the list is drawn in: 0 for the one scrolling column. With the
// auto choice each column holds as many rows as fit the client height.
int ListColumns(int choice, int entries, int clientHeight, int rowHeight);
// The rows one column holds (at least 1).
int RowsPerColumn(int clientHeight, int rowHeight);

// " 12. "
QString RowNumberText(int row);
// The row's hint: "N. title", the path and, once known, "Длительность: ".
QString EntryHint(int row, const FList& entry);

// "Файлов: 1 234    Занято: 5,5 МБ (5 767 168)"
QString TotalsText(int count, qint64 totalSize, const QLocale& locale = QLocale());

// A count of seconds as a time of day, "H:mm:ss" (the hours wrap at 24 like
// the clock's).
QString TimeOfDayText(qint64 seconds);

// The status bar's three times and the progress bar.
struct TStatusPanels {
    bool playing = false; // the progress bar follows the track
    QString elapsed = QStringLiteral("0:00:00");
    QString remaining = QStringLiteral("0:00:00");
    QString length = QStringLiteral("0:00:00");
    qint64 maximum = 0; // ms
    qint64 position = 0;
};
TStatusPanels StatusPanels(bool playButtonDown, int playerMode, qint64 lengthMs, qint64 positionMs);

// "Список - " and the last name of the source when it names a file or
// folder that exists, else the whole source.
QString PlaylistCaption(const QString& musicSource);

} // namespace dorvane
