#include "core/memory_status.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QByteArrayView>

#include <limits>

namespace dorvane {

namespace {

constexpr std::size_t kMaxMemInfo = 64 * 1024;

// "   16314112 kB" -> bytes; none for anything else.
std::optional<qint64> Kilobytes(QByteArrayView value) {
    value = value.trimmed();
    if (!value.endsWith("kB")) return std::nullopt;
    value = value.chopped(2).trimmed();
    if (value.isEmpty() || value.size() > 19) return std::nullopt;
    // Nineteen digits can pass 63 bits: each step is checked before it is
    // taken, and the product with 1024 as well.
    constexpr qint64 kMaxKilobytes = std::numeric_limits<qint64>::max() / 1024;
    qint64 n = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        if (n > (kMaxKilobytes - digit) / 10) return std::nullopt;
        n = n * 10 + digit;
    }
    return n * 1024;
}

} // namespace

std::optional<TMemoryStatus> ParseMemInfo(const QByteArray& text) {
    std::optional<qint64> total, available, free, committed;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        const QByteArrayView line(text.constData() + start, end - start);
        start = end + 1;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) continue;
        const QByteArrayView name = line.first(colon);
        std::optional<qint64>* slot = name == "MemTotal"       ? &total
                                      : name == "MemAvailable" ? &available
                                      : name == "MemFree"      ? &free
                                      : name == "Committed_AS" ? &committed
                                                               : nullptr;
        if (slot && !slot->has_value()) *slot = Kilobytes(line.sliced(colon + 1));
    }
    if (!total) return std::nullopt;
    TMemoryStatus status;
    status.TotalPhysical = *total;
    status.AvailablePhysical = available.value_or(free.value_or(0));
    status.VirtualInUse = committed.value_or(0);
    return status;
}

std::optional<TMemoryStatus> ReadMemoryStatus(const QString& path) {
    const TFileBytes file = ReadRegularFile(NativeFileName(path), kMaxMemInfo);
    if (!file.ok()) return std::nullopt;
    return ParseMemInfo(QByteArray(file.bytes.data(), qsizetype(file.bytes.size())));
}

} // namespace dorvane
