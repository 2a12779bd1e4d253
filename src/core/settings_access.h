// The typed operations through which the whole program reads and writes its
// settings. Reads never fail: a missing or unreadable value gives the caller's
// default. Writes never fail visibly: a store that refuses simply keeps what
// it had. Every value is text, so the encodings below are the file's format:
//
//   Boolean  written "1"/"0"; read as a decimal integer, any non-zero is true
//   Integer  signed 32-bit decimal ("-12"); anything else reads as the default
//   String   the text itself; an existing empty value reads as empty
//
// Names match without regard to letter case. A list is a sub-section whose
// items are named "0", "1", ... and are read back in stored order.
//
// The store itself (the settings file, src/shell) implements the few
// primitives at the bottom; the game's models here see only this class, so
// they do not depend on the layer above them.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace dorvane {

class SettingsAccess {
public:
    virtual ~SettingsAccess() = default;

    bool RegReadBool(const QString& name, bool fallback) const;
    void RegWriteBool(const QString& name, bool value);
    qint32 RegReadInteger(const QString& name, qint32 fallback) const;
    // RegReadInteger, then limited to minimum .. maximum (the default too).
    qint32 RegReadIntegerInRange(const QString& name, qint32 fallback, qint32 minimum,
                                 qint32 maximum) const;
    void RegWriteInteger(const QString& name, qint32 value);
    QString RegReadString(const QString& name, const QString& fallback) const;
    void RegWriteString(const QString& name, const QString& value);
    void RegDeleteValue(const QString& name);
    // Removes every value and every list: the next start is a first run.
    void RegEraseAll();

    // Clears target, then appends the first maximum items (all when maximum
    // <= 0) in stored order; true when target is not empty afterwards.
    bool RegReadList(const QString& subKey, QStringList& target, int maximum) const;
    // Replaces the list by the first maximum items of source (all when <= 0);
    // an empty source leaves no list behind. Does nothing unless
    // RegistryWritable() and StoreKeyPath() is set.
    void RegWriteList(const QString& subKey, const QStringList& source, int maximum);

    // Lists are usable only once the start-up has named the program's section.
    const QString& StoreKeyPath() const { return storeKeyPath_; }
    void SetStoreKeyPath(const QString& path) { storeKeyPath_ = path; }

    // True until the first write of the run fails; never true again after
    // that. The program then saves nothing that this flag guards.
    bool RegistryWritable() const { return registryWritable_; }

    // A batch applies every write made while it lasts as one change of the
    // store, when the outermost batch ends: the exit's forty-odd values cost
    // one file write instead of forty. Reads inside a batch see its writes.
    // Use TSettingsBatch rather than these two.
    void BeginBatch();
    void EndBatch();

    // A run of reads served by one reading of the store: the window's
    // creation reads some sixty values. Nothing is kept once the outermost
    // run ends, so another copy's change is seen by the next run. A write
    // made meanwhile is seen by the reads after it. Use TSettingsReads.
    void BeginReads() const;
    void EndReads() const;

    // Parses a stored integer the way every read does: optional sign, decimal
    // digits, nothing else, within 32 bits.
    static std::optional<qint32> ParseStoredInteger(const QString& text);

protected:
    // The primitives over the backing store. Value names and sub-section
    // names compare case-insensitively. The writers return false when the
    // change did not reach the store.
    virtual std::optional<QString> ReadValue(const QString& name) const = 0;
    virtual bool WriteValue(const QString& name, const QString& text) = 0;
    virtual bool DeleteValue(const QString& name) = 0;
    virtual bool EraseAll() = 0;
    virtual QStringList ReadListItems(const QString& subKey) const = 0; // in stored order
    virtual bool ReplaceList(const QString& subKey, const QStringList& items) = 0;
    // A store without batches of its own writes each change at once.
    virtual void OpenBatch() {}
    virtual bool CommitBatch() { return true; }
    // A store that reads cheaply may ignore runs of reads.
    virtual void OpenReads() const {}
    virtual void CloseReads() const {}

private:
    void NoteWrite(bool succeeded);

    QString storeKeyPath_;
    bool registryWritable_ = true;
    bool firstWriteDone_ = false;
    int batchDepth_ = 0;
    mutable int readsDepth_ = 0;
};

class TSettingsBatch {
public:
    explicit TSettingsBatch(SettingsAccess& store) : store_(store) { store_.BeginBatch(); }
    ~TSettingsBatch() { store_.EndBatch(); }
    TSettingsBatch(const TSettingsBatch&) = delete;
    TSettingsBatch& operator=(const TSettingsBatch&) = delete;

private:
    SettingsAccess& store_;
};

class TSettingsReads {
public:
    explicit TSettingsReads(const SettingsAccess& store) : store_(store) { store_.BeginReads(); }
    ~TSettingsReads() { store_.EndReads(); }
    TSettingsReads(const TSettingsReads&) = delete;
    TSettingsReads& operator=(const TSettingsReads&) = delete;

private:
    const SettingsAccess& store_;
};

} // namespace dorvane
