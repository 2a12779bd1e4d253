#include "core/memory_status.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace dorvane {
namespace {

TEST(MemoryStatus, TheKernelsFigures) {
    const QByteArray text = "MemTotal:       24683204 kB\n"
                            "MemFree:         1024000 kB\n"
                            "MemAvailable:   23484908 kB\n"
                            "Buffers:           12000 kB\n"
                            "Committed_AS:     357540 kB\n";
    const auto status = ParseMemInfo(text);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->TotalPhysical, qint64(24683204) * 1024);
    EXPECT_EQ(status->AvailablePhysical, qint64(23484908) * 1024);
    EXPECT_EQ(status->VirtualInUse, qint64(357540) * 1024);
}

TEST(MemoryStatus, OldKernelsAndDamagedText) {
    // Before MemAvailable existed, MemFree stands in for it.
    auto status = ParseMemInfo("MemTotal: 2048 kB\nMemFree: 1024 kB\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->AvailablePhysical, 1024 * 1024);
    EXPECT_EQ(status->VirtualInUse, 0);
    struct TCase {
        const char* text;
        bool parsed;
    };
    const TCase cases[] = {
        {"", false},
        {"MemTotal: 12", false},                      // no unit
        {"MemTotal: -5 kB", false},                   // not a count
        {"MemTotal: 99999999999999999999 kB", false}, // beyond 64 bits
        {"MemTotal: 9223372036854775 kB", false},     // beyond 64 bits in bytes
        {"MemTotal: 9007199254740991 kB", true},      // fits
        {"MemTotal: 9007199254740992 kB", false},     // one more does not
        {"MemTotal: 9223372036854777807 kB", false},  // 19 digits past 63 bits
        {"MemTotal: 9999999999999999999 kB", false},
        {"\nMemTotal 5 kB\n:::\n", false}, // no colon after the name
        {"MemTotal: 8 kB", true},          // cut short after the value
        {"MemTotal: 8 kB\r\nMemAvailable: 4 kB\r\n", true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ParseMemInfo(c.text).has_value(), c.parsed) << c.text;
}

TEST(MemoryStatus, ReadsOnlyRegularFilesOfSensibleSize) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(ReadMemoryStatus(fifo)); // returns at once instead of waiting
    EXPECT_FALSE(ReadMemoryStatus(dir.path()));
    EXPECT_FALSE(ReadMemoryStatus(dir.filePath(QStringLiteral("gone"))));
    QFile large(dir.filePath(QStringLiteral("large")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    large.write("MemTotal: 8 kB\n");
    large.write(QByteArray(70 * 1024, 'x'));
    large.close();
    EXPECT_FALSE(ReadMemoryStatus(large.fileName()));
    if (QFile::exists(QStringLiteral("/proc/meminfo"))) {
        const auto status = ReadMemoryStatus();
        ASSERT_TRUE(status);
        EXPECT_GT(status->TotalPhysical, 0);
        EXPECT_LE(status->AvailablePhysical, status->TotalPhysical);
    }
}

} // namespace
} // namespace dorvane
