// The program's settings file, $XDG_CONFIG_HOME/Kvo/Dorvane.conf (or
// ~/.config/Kvo/Dorvane.conf), behind the typed operations of SettingsAccess.
//
// Nothing is cached: every read parses the file again (it is a few kilobytes;
// see bench/settings_store_bench.cpp), so a value written by another running
// copy is seen at once. Every write is a read-modify-write of the whole file
// under a lock file beside it (Dorvane.conf.lock), saved through QSaveFile, so
// two copies writing at once never lose each other's values and a crash never
// leaves half a file. A file that cannot be parsed is renamed aside
// (Dorvane.conf.corrupt-<UTC time>) and kept for the user; the program then
// runs on defaults. A store that cannot write its first value clears
// RegistryWritable, silently.
//
// One object, created by the start-up and passed by reference; it is used
// from the user-interface thread only.
#pragma once

#include "play/settings_access.h"
#include "shell/settings_text.h"

#include <QString>

#include <functional>

namespace dorvane {

class SettingsStore final : public SettingsAccess {
public:
    // Creates the folder of the file (the maker's folder "Kvo") when missing;
    // the file itself is created by the first write.
    explicit SettingsStore(QString filePath = DefaultFilePath());

    static QString DefaultFilePath();
    const QString& FilePath() const { return filePath_; }

protected:
    std::optional<QString> ReadValue(const QString& name) const override;
    bool WriteValue(const QString& name, const QString& text) override;
    bool DeleteValue(const QString& name) override;
    bool EraseAll() override;
    QStringList ReadListItems(const QString& subKey) const override;
    bool ReplaceList(const QString& subKey, const QStringList& items) override;

private:
    enum class TLoad { Missing, Read, Unreadable, Corrupt };
    TLoad LoadFile(TSettingsDocument& document) const;
    // The document as it stands, with a corrupt file moved aside; empty when
    // there is none.
    TSettingsDocument Current(bool locked) const;
    void MoveAside() const;
    // Locks, reads, lets edit change the document, saves atomically.
    bool Modify(const std::function<void(TSettingsDocument&)>& edit);

    QString filePath_;
};

} // namespace dorvane
