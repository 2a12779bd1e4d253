// The settings file may be edited by hand or cut short by a full disk. Any
// text is either refused (and the program runs on defaults) or read into a
// document that writes back as text that reads to the same document.
#include "shell/settings_text.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const std::optional<TSettingsDocument> document = ParseSettingsText(bytes, &error);
    if (!document) {
        if (error.isEmpty()) std::abort();
        return 0;
    }
    const QByteArray text = FormatSettingsText(*document);
    const std::optional<TSettingsDocument> again = ParseSettingsText(text, &error);
    if (!again || !(*again == *document) || FormatSettingsText(*again) != text) std::abort();
    return 0;
}
