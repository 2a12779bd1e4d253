#include "core/settings_access.h"

#include <algorithm>
#include <limits>

namespace dorvane {

namespace {

int CountToTake(qsizetype available, int maximum) {
    const auto count = maximum > 0 && available >= maximum ? maximum : available;
    return static_cast<int>(count);
}

} // namespace

std::optional<qint32> SettingsAccess::ParseStoredInteger(const QString& text) {
    // Hand-rolled on purpose: QString::toInt accepts surrounding blanks, and a
    // value such as " 7" must read as the default.
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > qint64(std::numeric_limits<qint32>::max()) + 1) return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<qint32>::max()) return std::nullopt;
    return static_cast<qint32>(value);
}

bool SettingsAccess::RegReadBool(const QString& name, bool fallback) const {
    return RegReadInteger(name, fallback ? 1 : 0) != 0;
}

void SettingsAccess::RegWriteBool(const QString& name, bool value) {
    NoteWrite(WriteValue(name, value ? QStringLiteral("1") : QStringLiteral("0")));
}

qint32 SettingsAccess::RegReadInteger(const QString& name, qint32 fallback) const {
    const std::optional<QString> text = ReadValue(name);
    if (!text) return fallback;
    return ParseStoredInteger(*text).value_or(fallback);
}

qint32 SettingsAccess::RegReadIntegerInRange(const QString& name, qint32 fallback, qint32 minimum,
                                             qint32 maximum) const {
    const qint32 value = RegReadInteger(name, fallback);
    if (value < minimum) return minimum;
    if (value > maximum) return maximum;
    return value;
}

void SettingsAccess::RegWriteInteger(const QString& name, qint32 value) {
    NoteWrite(WriteValue(name, QString::number(value)));
}

QString SettingsAccess::RegReadString(const QString& name, const QString& fallback) const {
    return ReadValue(name).value_or(fallback);
}

void SettingsAccess::RegWriteString(const QString& name, const QString& value) {
    NoteWrite(WriteValue(name, value));
}

void SettingsAccess::RegDeleteValue(const QString& name) {
    NoteWrite(DeleteValue(name));
}

void SettingsAccess::RegEraseAll() {
    NoteWrite(EraseAll());
}

bool SettingsAccess::RegReadList(const QString& subKey, QStringList& target, int maximum) const {
    target.clear();
    if (storeKeyPath_.isEmpty()) return false;
    const QStringList items = ReadListItems(subKey);
    target = items.mid(0, CountToTake(items.size(), maximum));
    return !target.isEmpty();
}

void SettingsAccess::RegWriteList(const QString& subKey, const QStringList& source, int maximum) {
    if (!registryWritable_ || storeKeyPath_.isEmpty()) return;
    NoteWrite(ReplaceList(subKey, source.mid(0, CountToTake(source.size(), maximum))));
}

void SettingsAccess::BeginBatch() {
    if (batchDepth_++ == 0) OpenBatch();
}

void SettingsAccess::EndBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0) NoteWrite(CommitBatch());
}

void SettingsAccess::BeginReads() const {
    if (readsDepth_++ == 0) OpenReads();
}

void SettingsAccess::EndReads() const {
    if (readsDepth_ > 0 && --readsDepth_ == 0) CloseReads();
}

void SettingsAccess::NoteWrite(bool succeeded) {
    if (batchDepth_ > 0) return; // the batch's commit decides
    // Only the first write of the run decides: a store that took it is worth
    // writing to, even if a later write meets a full disk.
    if (!firstWriteDone_ && !succeeded) registryWritable_ = false;
    firstWriteDone_ = true;
}

} // namespace dorvane
