#include "view/colorlist.h"

#include <array>
#include <utility>

namespace dorvane {

std::vector<TNamedColor> SchemeColorList(const QPalette& palette) {
    struct TFixed {
        const char* name;
        int r, g, b;
    };
    static constexpr std::array<TFixed, 20> kFixed{{
        {"Черный", 0, 0, 0},
        {"Темно-бордовый", 128, 0, 0},
        {"Зеленый", 0, 128, 0},
        {"Оливковый", 128, 128, 0},
        {"Темно-синий", 0, 0, 128},
        {"Фиолетовый", 128, 0, 128},
        {"Сине-зеленый", 0, 128, 128},
        {"Серый", 128, 128, 128},
        {"Серебристый", 192, 192, 192},
        {"Красный", 255, 0, 0},
        {"Лайм", 0, 255, 0},
        {"Желтый", 255, 255, 0},
        {"Синий", 0, 0, 255},
        {"Фуксия", 255, 0, 255},
        {"Морская волна", 0, 255, 255},
        {"Белый", 255, 255, 255},
        // the extended colours
        {"Денежно-зеленый", 192, 220, 192},
        {"Небесно-голубой", 166, 202, 240},
        {"Кремовый", 255, 251, 240},
        {"Средне-серый", 160, 160, 164},
    }};
    static const std::array<std::pair<const char*, QPalette::ColorRole>, 14> kSystem{{
        {"Окно", QPalette::Window},
        {"Текст окна", QPalette::WindowText},
        {"Поле ввода", QPalette::Base},
        {"Текст поля ввода", QPalette::Text},
        {"Чередующийся фон", QPalette::AlternateBase},
        {"Кнопка", QPalette::Button},
        {"Текст кнопки", QPalette::ButtonText},
        {"Светлый край", QPalette::Light},
        {"Полутень", QPalette::Mid},
        {"Тень", QPalette::Dark},
        {"Выделение", QPalette::Highlight},
        {"Выделенный текст", QPalette::HighlightedText},
        {"Подсказка", QPalette::ToolTipBase},
        {"Ссылка", QPalette::Link},
    }};
    std::vector<TNamedColor> list;
    for (const TFixed& c : kFixed)
        list.push_back({QString::fromUtf8(c.name), QColor(c.r, c.g, c.b)});
    for (const auto& [name, role] : kSystem)
        list.push_back({QString::fromUtf8(name), palette.color(QPalette::Active, role).toRgb()});
    return list;
}

int FindSchemeColor(const std::vector<TNamedColor>& list, const QColor& color) {
    const QRgb wanted = color.rgb();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].color.rgb() == wanted) return int(i);
    return -1;
}

} // namespace dorvane
