// Byte counts as the program's windows show them ("1 023 Б", "1,5 КБ"), with
// the thousands and decimal separators of the given locale (by default the
// program's, which the main routine sets to Russian).
#pragma once

#include <QLocale>
#include <QString>

namespace dorvane {

QString FormatGrouped(qint64 n, const QLocale& locale = QLocale());
QString FormatBytes(qint64 n, const QLocale& locale = QLocale());
// Whole mebibytes, rounded down.
QString FormatMegabytes(qint64 n, const QLocale& locale = QLocale());
// The largest unit of ГБ, МБ and КБ that the count reaches, with up to two
// decimals; below 1024 the bytes.
QString FormatSize(qint64 n, const QLocale& locale = QLocale());
// FormatSize and, from 1024 on, the bytes in brackets.
QString FormatSizeWithBytes(qint64 n, const QLocale& locale = QLocale());
QString FormatOccupied(qint64 n, const QLocale& locale = QLocale());

} // namespace dorvane
