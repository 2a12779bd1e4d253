// The settings file may be edited by hand or cut short by a full disk. Any
// text is either refused whole (not UTF-8; the program runs on defaults) or
// read into a document, skipping the lines it cannot read, that writes back
// as text that reads to the same document without a line skipped.
#include "shell/settings_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TSettingsProblems problems;
    const std::optional<TSettingsDocument> document = ParseSettingsText(bytes, &problems);
    if (!document) {
        if (problems.first.isEmpty()) std::abort();
        return 0;
    }
    if ((problems.skippedLines > 0) == problems.first.isEmpty()) std::abort();
    const QByteArray text = FormatSettingsText(*document);
    TSettingsProblems again;
    const std::optional<TSettingsDocument> reread = ParseSettingsText(text, &again);
    if (!reread || again.skippedLines != 0 || !(*reread == *document) ||
        FormatSettingsText(*reread) != text)
        std::abort();
    return 0;
}
