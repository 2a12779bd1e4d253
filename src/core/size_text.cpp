#include "core/size_text.h"

namespace dorvane {

namespace {

constexpr qint64 kKilo = 1024;
constexpr qint64 kMega = kKilo * 1024;
constexpr qint64 kGiga = kMega * 1024;

// Grouped, rounded to two decimals, and without the zeros a picture of
// "#,##0.##" leaves out.
QString Decimal(double value, const QLocale& locale) {
    QString text = locale.toString(value, 'f', 2);
    const QString point = locale.decimalPoint();
    const qsizetype at = text.lastIndexOf(point);
    if (at < 0) return text;
    qsizetype end = text.size();
    while (end > at + point.size() && text[end - 1] == locale.zeroDigit().front())
        --end;
    if (end == at + point.size()) end = at;
    return text.left(end);
}

} // namespace

QString FormatGrouped(qint64 n, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(n);
}

QString FormatBytes(qint64 n, const QLocale& locale) {
    return FormatGrouped(n, locale) + QStringLiteral(" Б");
}

QString FormatMegabytes(qint64 n, const QLocale& locale) {
    return FormatGrouped(n / kMega, locale) + QStringLiteral(" МБ");
}

QString FormatSize(qint64 n, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    if (n >= kGiga) return Decimal(double(n) / double(kGiga), grouped) + QStringLiteral(" ГБ");
    if (n >= kMega) return Decimal(double(n) / double(kMega), grouped) + QStringLiteral(" МБ");
    if (n >= kKilo) return Decimal(double(n) / double(kKilo), grouped) + QStringLiteral(" КБ");
    return FormatBytes(n, locale);
}

QString FormatSizeWithBytes(qint64 n, const QLocale& locale) {
    const QString size = FormatSize(n, locale);
    if (n < kKilo) return size;
    return size + QStringLiteral(" (") + FormatGrouped(n, locale) + QLatin1Char(')');
}

QString FormatOccupied(qint64 n, const QLocale& locale) {
    return QStringLiteral("Занято: ") + FormatSizeWithBytes(n, locale);
}

} // namespace dorvane
