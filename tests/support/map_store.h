// The settings store as a map of the stored texts, for tests that read and
// write a group's values without a settings file.
#pragma once

#include "core/settings_access.h"

#include <map>
#include <optional>

namespace dorvane::test {

class TMapStore final : public SettingsAccess {
public:
    std::map<QString, QString> values;

protected:
    std::optional<QString> ReadValue(const QString& name) const override {
        const auto it = values.find(name);
        return it == values.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    bool WriteValue(const QString& name, const QString& value) override {
        values[name] = value;
        return true;
    }
    bool DeleteValue(const QString& name) override { return values.erase(name) > 0; }
    bool EraseAll() override {
        values.clear();
        return true;
    }
    QStringList ReadListItems(const QString&) const override { return {}; }
    bool ReplaceList(const QString&, const QStringList&) override { return true; }
};

} // namespace dorvane::test
