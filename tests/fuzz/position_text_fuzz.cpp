// The engine tool reads positions typed by people; whatever the bytes, the
// parser answers yes or no and an accepted position formats back to itself.
#include "game/position_text.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dorvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TPosition position;
    std::string error;
    if (ParsePosition(text, position, error)) {
        TPosition again;
        if (!ParsePosition(FormatPosition(position), again, error) || !(again == position))
            std::abort();
        for (int i = 0; i < 100; ++i)
            if (position.board[i] > 2 ||
                (!IsPlayingCell(ColumnOf(i), RowOf(i)) && position.board[i]))
                std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
