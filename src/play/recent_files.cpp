#include "play/recent_files.h"

#include <algorithm>

namespace dorvane {

namespace {

QString ValueName(int slot) {
    return QStringLiteral("File") + QString::number(slot);
}

} // namespace

bool TRecentFiles::Add(const QString& path) {
    // Paths compare whole and in upper case, as the list has always stored
    // them, so the same file reached through another letter case counts once.
    const QString key = path.toUpper();
    const bool listed = std::any_of(slots_.begin(), slots_.end(), [&](const QString& s) {
        return HoldsPath(s) && s.toUpper() == key;
    });
    if (listed) return false;
    std::move_backward(slots_.begin(), slots_.end() - 1, slots_.end());
    slots_[0] = path;
    return true;
}

void TRecentFiles::Clear() {
    slots_.fill(QString());
}

QList<TRecentFiles::TItem> TRecentFiles::MenuItems() const {
    QList<TItem> items;
    for (int slot = 1; slot <= kSlots; ++slot)
        if (HoldsPath(Slot(slot)))
            items.append(
                {slot, QString::number(slot) + QStringLiteral(") ") + Slot(slot), Slot(slot)});
    return items;
}

void TRecentFiles::Read(const SettingsAccess& store) {
    Clear();
    int next = 0;
    for (int slot = 1; slot <= kSlots; ++slot) {
        const QString entry = store.RegReadString(ValueName(slot), QString());
        if (HoldsPath(entry)) slots_[next++] = entry;
    }
}

void TRecentFiles::Write(SettingsAccess& store) const {
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (HoldsPath(Slot(slot)))
            store.RegWriteString(ValueName(slot), Slot(slot));
        else
            store.RegDeleteValue(ValueName(slot));
    }
}

} // namespace dorvane
