// The ten most recently loaded game files behind "Загрузить снова". Slot 1 is
// the newest; a slot holds a path only when it is longer than 3 characters.
// Stored as the values "File1" .. "File10".
#pragma once

#include "core/settings_access.h"

#include <QList>
#include <QString>

#include <array>

namespace dorvane {

class TRecentFiles {
public:
    static constexpr int kSlots = 10;

    struct TItem {
        int slot;     // 1..10; gaps stay visible in the numbers
        QString text; // "2) /home/me/game.dvn"
        QString path;
    };

    static bool HoldsPath(const QString& entry) { return entry.size() > 3; }

    // A path already listed (in any letter case) keeps its place; a new one
    // goes to slot 1 and pushes the others down, the oldest drops out of 10.
    // True when the list changed.
    bool Add(const QString& path);
    void Clear();
    const QString& Slot(int slot) const { return slots_[slot - 1]; } // 1..10

    // The menu's items in slot order; empty when the submenu is not shown.
    QList<TItem> MenuItems() const;

    // Non-empty entries only, packed towards slot 1 in their order.
    void Read(const SettingsAccess& store);
    // A held path is written, an empty slot has its value deleted.
    void Write(SettingsAccess& store) const;

private:
    std::array<QString, kSlots> slots_;
};

} // namespace dorvane
