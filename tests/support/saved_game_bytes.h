// A small saved game for tests that open one: two players, the standard
// start position and nothing played yet.
#pragma once

#include "play/saved_game.h"

#include <QByteArray>

namespace dorvane::test {

inline QByteArray NewTwoPlayerGameBytes() {
    TSavedGame game;
    game.March.Fields[0][CellIndex(4, 4)] = game.March.Fields[0][CellIndex(5, 5)] = 1;
    game.March.Fields[0][CellIndex(4, 5)] = game.March.Fields[0][CellIndex(5, 4)] = 2;
    game.Intellect = 2;
    game.Regim = 2;
    const std::vector<std::uint8_t> bytes = EncodeSavedGame(game);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

} // namespace dorvane::test
