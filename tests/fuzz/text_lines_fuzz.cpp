// The text reader of playlists takes any bytes: it answers lines or none,
// and no line holds a line break.
#include "music/text_lines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TTextLines text = DecodeTextLines(bytes);
    if (text.ok == text.lines.isEmpty()) std::abort();
    qsizetype characters = 0;
    for (const QString& line : text.lines) {
        if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'))) std::abort();
        characters += line.size();
    }
    // No decoding makes more characters than there are bytes.
    if (characters > qsizetype(size)) std::abort();
    return 0;
}
