#include "shell/settings_store.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    ++fileReads_;
    const TFileBytes file = ReadRegularFile(NativeFileName(filePath_), kMaxFileSize);
    if (!file.ok()) {
        switch (*file.failure) {
        case TReadFailure::Missing:
            return TLoad::Missing;
        case TReadFailure::TooLarge:
            return TLoad::Corrupt;
        case TReadFailure::NotRegular:
        case TReadFailure::Unreadable:
            break;
        }
        return TLoad::Unreadable;
    }
    TSettingsProblems problems;
    std::optional<TSettingsDocument> parsed = ParseSettingsText(
        QByteArray::fromRawData(file.bytes.data(), qsizetype(file.bytes.size())), &problems);
    if (!parsed) return TLoad::Corrupt;
    document = std::move(*parsed);
    return problems.skippedLines > 0 ? TLoad::Partial : TLoad::Read;
}

TSettingsDocument SettingsStore::Current(bool locked, bool* partial) const {
    TSettingsDocument document;
    const TLoad load = LoadFile(document);
    if (partial) *partial = load == TLoad::Partial;
    if (load != TLoad::Corrupt) return document;
    if (locked) {
        MoveAside();
        return {};
    }
    // Another copy may be replacing the file right now: look again under the
    // lock before moving anything, and give up (defaults) if the lock is busy.
    QLockFile lock(LockPath(filePath_));
    if (!Lock(lock)) return {};
    const TLoad again = LoadFile(document);
    if (partial) *partial = again == TLoad::Partial;
    if (again == TLoad::Corrupt) {
        MoveAside();
        return {};
    }
    return document;
}

QString SettingsStore::AsideName(const QString& path) {
    const QString stem =
        path + QStringLiteral(".corrupt-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n)
        target = stem + u'-' + QString::number(n);
    return target;
}

void SettingsStore::MoveAside() const {
    QFile::rename(filePath_, AsideName(filePath_));
}

void SettingsStore::CopyAside() const {
    QFile::copy(filePath_, AsideName(filePath_));
}

bool SettingsStore::Lock(QLockFile& lock) const {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath())) return false;
    // The lock file is read to see whether its holder still lives: a FIFO
    // there would block that read for ever, a link would be followed. Only a
    // regular file of this user stays; anything else is moved aside.
    const QString lockPath = LockPath(filePath_);
    const std::string native = NativeFileName(lockPath);
    const int fd = ::open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    bool foreign = false;
    if (fd >= 0) {
        foreign = ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid();
        ::close(fd);
    } else if (errno != ENOENT) {
        foreign = ::lstat(native.c_str(), &info) == 0; // a link, or nothing we may open
    }
    // When it cannot be moved, there is no lock: the write is given up.
    if (foreign && !QFile::rename(lockPath, AsideName(lockPath))) return false;
    return lock.tryLock(kLockWaitMs);
}

bool SettingsStore::Save(const TSettingsDocument& document, bool keepOld) const {
    reads_.reset(); // the reads after this write see it
    // Something else than a file under the name (a FIFO, a device) is left
    // alone: writing to it could wait for ever, and replacing it is not ours.
    const std::string native = NativeFileName(filePath_);
    struct stat info {};
    if (::stat(native.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
    if (keepOld) CopyAside();
    if (document.Empty()) return !QFileInfo::exists(filePath_) || QFile::remove(filePath_);
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
    bool partial = false;
    TSettingsDocument document = Current(true, &partial);
    edit(document);
    return Save(document, partial);
}

void SettingsStore::OpenBatch() {
    batch_ = std::make_unique<TBatch>();
    batch_->lock = std::make_unique<QLockFile>(LockPath(filePath_));
    if (Lock(*batch_->lock)) {
        batch_->document = Current(true, &batch_->partial);
    } else {
        batch_->lock.reset();
        batch_->document = Current(false);
    }
}

bool SettingsStore::CommitBatch() {
    const std::unique_ptr<TBatch> batch = std::move(batch_);
    return batch->lock && Save(batch->document, batch->partial);
}

void SettingsStore::OpenReads() const {
    readsOpen_ = true;
    reads_.reset();
}

void SettingsStore::CloseReads() const {
    readsOpen_ = false;
    reads_.reset();
}

const TSettingsDocument& SettingsStore::Document(TSettingsDocument& scratch) const {
    if (batch_) return batch_->document;
    if (readsOpen_) {
        if (!reads_) reads_ = Current(false);
        return *reads_;
    }
    scratch = Current(false);
    return scratch;
}

std::optional<QString> SettingsStore::ReadValue(const QString& name) const {
    TSettingsDocument scratch;
    const TSettingsDocument& document = Document(scratch);
    return document.main.Find(name);
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
    if (!Lock(lock)) return false;
    reads_.reset();
    return !QFileInfo::exists(filePath_) || QFile::remove(filePath_);
}

QStringList SettingsStore::ReadListItems(const QString& subKey) const {
    QStringList items;
    TSettingsDocument scratch;
    const TSettingsDocument& document = Document(scratch);
    if (const TSettingsSection* list = document.FindList(subKey))
        for (const TSettingsEntry& entry : list->Entries())
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
            list.Set(QString::number(i), items[i]);
    });
}

} // namespace dorvane
