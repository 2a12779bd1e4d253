// What other processes hand to the running copy: the block's text and the
// mailbox's copy-data text, split into paths, and the names in them, which
// may be file URIs. No path is empty, none keeps a quote of a text that had
// quotes, what a sender joins splits back, and however many names a start
// has, its lines fit the block and give back every name in order.
#include "core/file_name.h"
#include "core/hand_over_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    if (size == 0) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
    const QStringList paths = SplitHandedText(text);
    for (const QString& path : paths) {
        if (path.isEmpty() || (text.contains(u'"') && path.contains(u'"'))) std::abort();
        // A URI that became a path is an absolute one with no NUL in it.
        const QString local = LocalPathFromArgument(path);
        if (local != path && (!local.startsWith(u'/') || FileNameToBytes(local).contains('\0')))
            std::abort();
    }
    // A line the sender writes splits back into what it joined.
    const QStringList joined{text.left(100).remove(u'"'), QStringLiteral("/b")};
    const QString line = JoinCommandLine(joined, QStringLiteral("/nonexistent"));
    if (!line.isEmpty() && SplitHandedText(line).size() > 2) std::abort();

    // Names without quotes, one per line of the text (the first byte sets
    // how long they run), through as many lines as they need.
    QStringList names;
    const int repeat = 1 + data[0] % 64;
    for (const QString& part : text.split(u'\n')) {
        QString name = QStringLiteral("/d/") + QString(part).remove(u'"');
        if (data[0] & 0x80) name = name.repeated(repeat);
        names << name;
    }
    const std::optional<QStringList> lines = HandOverLines(names, QStringLiteral("/nonexistent"));
    bool tooLong = false;
    for (const QString& name : names)
        tooLong = tooLong || name.size() > kHandOverMostChars;
    if (lines.has_value() == tooLong) std::abort();
    if (lines) {
        QStringList back;
        for (const QString& each : *lines) {
            if (each.size() > kHandOverMostChars) std::abort();
            back << SplitHandedText(each);
        }
        if (back != names) std::abort();
    }
    return 0;
}
