#include "shell/settings_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace dorvane {

namespace {

// Far above any real settings file; a bigger one is damage, not settings.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;
// How long a write waits for another copy's write to finish.
constexpr int kLockWaitMs = 5000;

QString LockPath(const QString& filePath) {
    return filePath + QStringLiteral(".lock");
}

} // namespace

SettingsStore::SettingsStore(QString filePath) : filePath_(std::move(filePath)) {
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
}

QString SettingsStore::DefaultFilePath() {
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Kvo/Dorvane.conf");
}

SettingsStore::TLoad SettingsStore::LoadFile(TSettingsDocument& document) const {
    document = {};
    QFile file(filePath_);
    if (!file.exists()) return TLoad::Missing;
    if (!file.open(QIODevice::ReadOnly)) return TLoad::Unreadable;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) return TLoad::Unreadable;
    if (bytes.size() > kMaxFileSize) return TLoad::Corrupt;
    std::optional<TSettingsDocument> parsed = ParseSettingsText(bytes, nullptr);
    if (!parsed) return TLoad::Corrupt;
    document = std::move(*parsed);
    return TLoad::Read;
}

TSettingsDocument SettingsStore::Current(bool locked) const {
    TSettingsDocument document;
    if (LoadFile(document) != TLoad::Corrupt) return document;
    if (locked) {
        MoveAside();
        return {};
    }
    // Another copy may be replacing the file right now: look again under the
    // lock before moving anything, and give up (defaults) if the lock is busy.
    QLockFile lock(LockPath(filePath_));
    if (!lock.tryLock(kLockWaitMs)) return {};
    if (LoadFile(document) == TLoad::Corrupt) {
        MoveAside();
        return {};
    }
    return document;
}

void SettingsStore::MoveAside() const {
    const QString stem =
        filePath_ + QStringLiteral(".corrupt-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n)
        target = stem + u'-' + QString::number(n);
    QFile::rename(filePath_, target);
}

bool SettingsStore::Lock(QLockFile& lock) const {
    return QDir().mkpath(QFileInfo(filePath_).absolutePath()) && lock.tryLock(kLockWaitMs);
}

bool SettingsStore::Save(const TSettingsDocument& document) const {
    QSaveFile file(filePath_);
    // Unbuffered, so that a short write (a full disk, a file size limit) shows
    // in write()'s count: a buffered QSaveFile commits the cut file as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray bytes = FormatSettingsText(document);
    if (file.write(bytes) != bytes.size()) return false; // the old file stays as it was
    return file.commit();
}

bool SettingsStore::Modify(const std::function<void(TSettingsDocument&)>& edit) {
    if (batch_) {
        edit(batch_->document);
        return true;
    }
    QLockFile lock(LockPath(filePath_));
    if (!Lock(lock)) return false;
    TSettingsDocument document = Current(true);
    edit(document);
    return Save(document);
}

void SettingsStore::OpenBatch() {
    batch_ = std::make_unique<TBatch>();
    batch_->lock = std::make_unique<QLockFile>(LockPath(filePath_));
    if (Lock(*batch_->lock)) {
        batch_->document = Current(true);
    } else {
        batch_->lock.reset();
        batch_->document = Current(false);
    }
}

bool SettingsStore::CommitBatch() {
    const std::unique_ptr<TBatch> batch = std::move(batch_);
    return batch->lock && Save(batch->document);
}

const TSettingsDocument& SettingsStore::Document(TSettingsDocument& scratch) const {
    if (batch_) return batch_->document;
    scratch = Current(false);
    return scratch;
}

std::optional<QString> SettingsStore::ReadValue(const QString& name) const {
    TSettingsDocument scratch;
    const TSettingsDocument& document = Document(scratch);
    if (const QString* value = document.main.Find(name)) return *value;
    return std::nullopt;
}

bool SettingsStore::WriteValue(const QString& name, const QString& text) {
    return Modify([&](TSettingsDocument& d) { d.main.Set(name, text); });
}

bool SettingsStore::DeleteValue(const QString& name) {
    return Modify([&](TSettingsDocument& d) { d.main.Remove(name); });
}

bool SettingsStore::EraseAll() {
    if (batch_) {
        batch_->document = {};
        return true;
    }
    QLockFile lock(LockPath(filePath_));
    if (!lock.tryLock(kLockWaitMs)) return false;
    return !QFileInfo::exists(filePath_) || QFile::remove(filePath_);
}

QStringList SettingsStore::ReadListItems(const QString& subKey) const {
    QStringList items;
    TSettingsDocument scratch;
    const TSettingsDocument& document = Document(scratch);
    if (const TSettingsSection* list = document.FindList(subKey))
        for (const TSettingsEntry& entry : list->entries)
            items.append(entry.value);
    return items;
}

bool SettingsStore::ReplaceList(const QString& subKey, const QStringList& items) {
    if (subKey.isEmpty()) return false; // a list always has a name of its own
    return Modify([&](TSettingsDocument& d) {
        d.RemoveList(subKey);
        if (items.isEmpty()) return;
        TSettingsSection& list = d.List(subKey);
        for (qsizetype i = 0; i < items.size(); ++i)
            list.entries.append({QString::number(i), items[i]});
    });
}

} // namespace dorvane
