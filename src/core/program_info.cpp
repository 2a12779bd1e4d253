#include "core/program_info.h"

namespace dorvane {

namespace {

// The texts are lowered while compiling, so only the lowered bytes are in
// the program.
template <std::size_t N> struct TLowered {
    std::array<char, N - 1> bytes{};
    consteval explicit TLowered(const char (&text)[N]) {
        for (std::size_t i = 0; i + 1 < N; ++i)
            bytes[i] = char((static_cast<unsigned char>(text[i]) + 256 - 32) % 256);
    }
    std::string_view view() const { return {bytes.data(), bytes.size()}; }
};

constexpr TLowered kNotice("(c) 2026 Dorvane project and Kvo team"); // 37 characters
constexpr TLowered kSupport1("Support: translate, report");          // 26
constexpr TLowered kSupport2("Donate at dorvane.example.org");       // 29
constexpr TLowered kSupport3("Thanks to every tester!");             // 23

} // namespace

QString ProgramVersion() {
    return QStringLiteral(DORVANE_VERSION_TEXT);
}

std::string RestoreStoredText(std::string_view stored) {
    std::string text(stored);
    for (char& c : text)
        c = char((static_cast<unsigned char>(c) + 32) % 256);
    return text;
}

const std::array<QString, 4>& AboutTexts() {
    static const std::array<QString, 4> texts = [] {
        std::array<QString, 4> out;
        const std::array<std::string_view, 4> stored{kNotice.view(), kSupport1.view(),
                                                     kSupport2.view(), kSupport3.view()};
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = QString::fromLatin1(RestoreStoredText(stored[i]));
        return out;
    }();
    return texts;
}

} // namespace dorvane
