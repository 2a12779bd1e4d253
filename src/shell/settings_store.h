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
// The game window's exit writes its values in one batch (TSettingsBatch),
// so closing costs one file write, not one per value.
//
// One object, created by the start-up and passed by reference; it is used
// from the user-interface thread only.
#pragma once

#include "core/settings_access.h"
#include "shell/settings_text.h"

#include <QString>

#include <QLockFile>

#include <functional>
#include <memory>

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
    // A batch holds the lock and the document from its start to its commit.
    void OpenBatch() override;
    bool CommitBatch() override;

private:
    enum class TLoad { Missing, Read, Unreadable, Corrupt };
    TLoad LoadFile(TSettingsDocument& document) const;
    // The document as it stands, with a corrupt file moved aside; empty when
    // there is none.
    TSettingsDocument Current(bool locked) const;
    // What reads see: the batch's document, or the file read into scratch.
    const TSettingsDocument& Document(TSettingsDocument& scratch) const;
    void MoveAside() const;
    // Locks, reads, lets edit change the document, saves atomically; inside a
    // batch only edits the batch's document.
    bool Modify(const std::function<void(TSettingsDocument&)>& edit);
    bool Save(const TSettingsDocument& document) const;
    bool Lock(QLockFile& lock) const;

    QString filePath_;
    struct TBatch {
        std::unique_ptr<QLockFile> lock; // null when the lock could not be had
        TSettingsDocument document;
    };
    std::unique_ptr<TBatch> batch_;
};

} // namespace dorvane
