// What other processes hand to the running copy: the block's text and the
// mailbox's copy-data text, split into paths, and the system's os-release
// text read for the about window. Any input gives paths that hold no quote
// and no character up to the blank outside of what was quoted, and a line
// that is never empty.
#include "core/hand_over_text.h"
#include "shell/environment.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    if (data[0] & 1) {
        const QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        const QStringList paths = SplitHandedText(text);
        for (const QString& path : paths)
            if (path.isEmpty() || (text.contains(u'"') && path.contains(u'"'))) std::abort();
        // A line the sender writes splits back into what it joined.
        const QStringList joined{text.left(100).remove(u'"'), QStringLiteral("/b")};
        const QString line = JoinCommandLine(joined, QStringLiteral("/nonexistent"));
        if (!line.isEmpty() && SplitHandedText(line).size() > 2) std::abort();
    } else {
        if (DescribeOs(bytes, QStringLiteral("1")).isEmpty()) std::abort();
    }
    return 0;
}
