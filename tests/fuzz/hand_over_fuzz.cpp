// What other processes hand to the running copy: the block's text and the
// mailbox's copy-data text, split into paths. No path is empty, none keeps
// a quote of a text that had quotes, and what a sender joins splits back.
#include "core/hand_over_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    {
        const QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        const QStringList paths = SplitHandedText(text);
        for (const QString& path : paths)
            if (path.isEmpty() || (text.contains(u'"') && path.contains(u'"'))) std::abort();
        // A line the sender writes splits back into what it joined.
        const QStringList joined{text.left(100).remove(u'"'), QStringLiteral("/b")};
        const QString line = JoinCommandLine(joined, QStringLiteral("/nonexistent"));
        if (!line.isEmpty() && SplitHandedText(line).size() > 2) std::abort();
    }
    return 0;
}
