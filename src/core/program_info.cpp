#include "core/program_info.h"
#include "core/cp1251.h"

namespace dorvane {

namespace {

// The texts are single-byte Windows-1251 (which carries the Cyrillic
// letters), lowered while compiling, so only the lowered bytes are in the
// program. The source writes them in UTF-8; a letter outside the code page
// or a length other than Chars stops the build.
template <std::size_t Chars> struct TLowered {
    std::array<char, Chars> bytes{};
    template <std::size_t N> consteval explicit TLowered(const char (&text)[N]) {
        std::size_t out = 0;
        for (std::size_t i = 0; i + 1 < N; ++i) {
            const auto lead = static_cast<unsigned char>(text[i]);
            unsigned code = lead;
            if (lead >= 0x80) {
                if (i + 2 >= N) throw "a letter is cut off";
                const auto next = static_cast<unsigned char>(text[++i]);
                if (lead == 0xD0 && next == 0x81)
                    code = 0xA8; // Ё
                else if (lead == 0xD0 && next >= 0x90 && next <= 0xBF)
                    code = 0xC0 + (next - 0x90);
                else if (lead == 0xD1 && next >= 0x80 && next <= 0x8F)
                    code = 0xF0 + (next - 0x80);
                else if (lead == 0xD1 && next == 0x91)
                    code = 0xB8; // ё
                else
                    throw "not a letter of the code page";
            }
            if (out == Chars) throw "the text is too long";
            bytes[out++] = char((code + 256 - 32) % 256);
        }
        if (out != Chars) throw "the text is too short";
    }
    std::string_view view() const { return {bytes.data(), bytes.size()}; }
};

constexpr TLowered<37> kNotice("(c) 2026 Проект Dorvane и команда Kvo");
constexpr TLowered<26> kSupport1("Поддержка: перевод, отчёты");
constexpr TLowered<29> kSupport2("Помощь деньгами на сайте игры");
constexpr TLowered<23> kSupport3("Спасибо каждому тестеру");

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
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::string text = RestoreStoredText(stored[i]);
            out[i] =
                DecodeCp1251({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        }
        return out;
    }();
    return texts;
}

} // namespace dorvane
