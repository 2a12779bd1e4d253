// The program's settings file, $XDG_CONFIG_HOME/Kvo/Dorvane.conf (or
// ~/.config/Kvo/Dorvane.conf), behind the typed operations of SettingsAccess.
//
// Nothing is cached across runs of reads: a read parses the file again, or a
// run of reads (TSettingsReads: the window's creation) parses it once, so a
// value written by another running copy is seen by the next read or run.
// Every write is a read-modify-write of the whole file under a lock file
// beside it (Dorvane.conf.lock), saved through QSaveFile, so two copies
// writing at once never lose each other's values and a crash never leaves
// half a file. Only a regular file is read (a FIFO would block for ever). A
// file that is not UTF-8 or exceeds 4 MiB is renamed aside
// (Dorvane.conf.corrupt-<UTC time>) and kept for the user; the program then
// runs on defaults. A file with lines the store cannot read keeps the rest;
// before the store writes over such a file it copies the old bytes aside the
// same way. A store that cannot write its first value clears
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
#include <optional>

namespace dorvane {

class SettingsStore final : public SettingsAccess {
public:
    // Creates the folder of the file (the maker's folder "Kvo") when missing;
    // the file itself is created by the first write.
    explicit SettingsStore(QString filePath = DefaultFilePath());

    static QString DefaultFilePath();
    const QString& FilePath() const { return filePath_; }
    // How many times the file has been read: what a run of reads saves.
    int FileReads() const { return fileReads_; }

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
    void OpenReads() const override;
    void CloseReads() const override;

private:
    enum class TLoad { Missing, Read, Partial, Unreadable, Corrupt };
    TLoad LoadFile(TSettingsDocument& document) const;
    // The document as it stands, with a corrupt file moved aside; empty when
    // there is none. partial: some lines of the file could not be read.
    TSettingsDocument Current(bool locked, bool* partial = nullptr) const;
    // What reads see: the batch's document, the run of reads' document, or
    // the file read into scratch.
    const TSettingsDocument& Document(TSettingsDocument& scratch) const;
    // A free name beside path for what is moved aside.
    static QString AsideName(const QString& path);
    void MoveAside() const;
    void CopyAside() const;
    // Locks, reads, lets edit change the document, saves atomically; inside a
    // batch only edits the batch's document.
    bool Modify(const std::function<void(TSettingsDocument&)>& edit);
    // With keepOld the file as it was is copied aside first. An empty
    // document leaves no file.
    bool Save(const TSettingsDocument& document, bool keepOld) const;
    bool Lock(QLockFile& lock) const;

    QString filePath_;
    struct TBatch {
        std::unique_ptr<QLockFile> lock; // null when the lock could not be had
        TSettingsDocument document;
        bool partial = false; // the file held lines the store could not read
    };
    std::unique_ptr<TBatch> batch_;
    // The run of reads' document, read at its first read; a write drops it.
    mutable int fileReads_ = 0;
    mutable bool readsOpen_ = false;
    mutable std::optional<TSettingsDocument> reads_;
};

} // namespace dorvane
