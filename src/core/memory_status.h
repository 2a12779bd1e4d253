// The memory figures of the about window, from the kernel's /proc/meminfo:
// the physical memory there is, the part of it programs can still have
// without swapping (MemAvailable), and the memory the system has promised
// to programs (Committed_AS), the counterpart of a page-file commit in use.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace dorvane {

struct TMemoryStatus {
    qint64 TotalPhysical = 0;
    qint64 AvailablePhysical = 0;
    qint64 VirtualInUse = 0;
    bool operator==(const TMemoryStatus&) const = default;
};

// The text of /proc/meminfo; none unless MemTotal is there. A kernel
// without MemAvailable (before 3.14) gives MemFree in its place; a missing
// Committed_AS counts 0. Values that do not fit 64 bits in bytes are refused.
std::optional<TMemoryStatus> ParseMemInfo(const QByteArray& text);
// Reads the file (a regular file of at most 64 KiB) and parses it.
std::optional<TMemoryStatus>
ReadMemoryStatus(const QString& path = QStringLiteral("/proc/meminfo"));

} // namespace dorvane
