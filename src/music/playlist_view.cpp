#include "music/playlist_view.h"

#include "core/size_text.h"
#include "music/engine_state.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace dorvane {

TRowMetrics RowMetrics(int textHeight, int spacing) {
    static constexpr double kFactor[] = {1.0, 1.25, 1.5};
    const int text = std::max(textHeight, 1);
    const int height = int(std::lround(text * kFactor[std::clamp(spacing, 0, 2)]));
    return {height, (height - text) / 2};
}

int RowsPerColumn(int clientHeight, int rowHeight) {
    return std::max(1, clientHeight / std::max(rowHeight, 1));
}

int ListColumns(int choice, int entries, int clientHeight, int rowHeight) {
    if (choice != kAutoColumns) return std::clamp(choice, 0, kMaxColumns);
    const int rows = RowsPerColumn(clientHeight, rowHeight);
    return std::max(1, (std::max(entries, 0) + rows - 1) / rows);
}

QString RowNumberText(int row) {
    return QLatin1Char(' ') + QString::number(row + 1) + QStringLiteral(". ");
}

QString EntryHint(int row, const FList& entry) {
    QString hint =
        QString::number(row + 1) + QStringLiteral(". ") + entry.S1 + QLatin1Char('\n') + entry.S2;
    if (!entry.S3.isEmpty())
        hint += QStringLiteral("\nДлительность: ") + TimeOfDayText(entry.S3.toLongLong());
    return hint;
}

QString TotalsText(int count, qint64 totalSize, const QLocale& locale) {
    return QStringLiteral("Файлов: ") + FormatGrouped(count, locale) + QStringLiteral("    ") +
           FormatOccupied(totalSize, locale);
}

QString TimeOfDayText(qint64 seconds) {
    const qint64 s = std::max<qint64>(seconds, 0) % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

TStatusPanels StatusPanels(bool playButtonDown, int playerMode, qint64 lengthMs,
                           qint64 positionMs) {
    TStatusPanels panels;
    if (!playButtonDown || (playerMode != kModePlaying && playerMode != kModePaused)) return panels;
    const qint64 length = std::max<qint64>(lengthMs, 0);
    const qint64 position = std::clamp<qint64>(positionMs, 0, length);
    panels.playing = true;
    panels.maximum = length;
    panels.position = position;
    panels.elapsed = TimeOfDayText(position / 1000);
    panels.remaining = TimeOfDayText((length - position) / 1000);
    panels.length = TimeOfDayText(length / 1000);
    return panels;
}

QString PlaylistCaption(const QString& musicSource) {
    QString shown = musicSource;
    const QFileInfo info(QDir::cleanPath(musicSource));
    if (!musicSource.isEmpty() && info.exists() && !info.fileName().isEmpty())
        shown = info.fileName();
    return QStringLiteral("Список - ") + shown;
}

} // namespace dorvane
