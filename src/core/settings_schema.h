// A group of stored settings declared as one table: every value once, with
// its name, its type, its default, the correction applied when it is read,
// when it is read at all, and its place in the exit's write order. The
// group's reader, its exit writer, its immediate writes and its defaults all
// come from that table, so a value cannot be read under one name or default
// and written under another.
//
// R is the plain record the group fills; its members carry no defaults of
// their own. C is what the reading needs to know of the world outside the
// store (a folder, whether a tray exists); groups without such needs use
// TNoContext.
//
// Entries are read in declaration order. Exit orders are 1, 2, ... within the
// group; 0 means the value is not written at exit (written at once by its own
// command, or never).
#pragma once

#include "core/settings_access.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace dorvane {

struct TNoContext {};

// The values an integer setting may take. A stored number outside them is
// brought to the nearer end when it is read, before anything computes with
// it: a hand-edited or damaged file cannot make a position wrap or a product
// overflow.
struct TIntRange {
    qint32 minimum;
    qint32 maximum;
    qint32 Clamp(qint32 value) const { return std::clamp(value, minimum, maximum); }
};
// Any number: the value is only compared or mapped by its reader.
inline constexpr TIntRange kAnyInteger{std::numeric_limits<qint32>::min(),
                                       std::numeric_limits<qint32>::max()};
// Window positions and sizes: far beyond any desktop, and small enough that
// a position plus a size, or the difference of two, stays within 32 bits.
inline constexpr TIntRange kScreenCoordinate{-(1 << 24), 1 << 24};
inline constexpr TIntRange kScreenExtent{0, 1 << 24};
// A colour of 24 bits.
inline constexpr TIntRange kStoredColorRange{0, 0xFFFFFF};

// The accessor of a record's member for a table entry, usable on the record
// and on a const one: DORVANE_MEMBER(Look.ShowGrid).
#define DORVANE_MEMBER(path)                                                                       \
    [](auto& r) -> auto& {                                                                         \
        return r.path;                                                                             \
    }

template <class R, class C = TNoContext> class TSettingsSchema {
public:
    using TRead = std::function<void(const SettingsAccess&, const C&, R&)>;
    using TWrite = std::function<void(SettingsAccess&, const R&)>;
    using TDefault = std::function<void(const C&, R&)>;
    using TCondition = std::function<bool(const R& sofar, const C&)>;

    struct TEntry {
        QString Name;
        int ExitOrder = 0;
        TRead Read;                     // empty: read elsewhere (it needs more than the store)
        TWrite Write;                   // empty: never written by the program
        TDefault Default;               // empty: the record's zero value is the default
        std::optional<TIntRange> Range; // an integer value: what it may be
    };

    // --- Declaring ------------------------------------------------------------
    // get is an accessor usable on both R& and const R& (DORVANE_MEMBER).

    template <class Get> TSettingsSchema& Bool(const char* name, Get get, bool fallback, int exit) {
        return Add({QString::fromLatin1(name), exit,
                    [n = QString::fromLatin1(name), get, fallback](const SettingsAccess& store,
                                                                   const C&, R& r) {
                        get(r) = store.RegReadBool(n, fallback);
                    },
                    [n = QString::fromLatin1(name), get](SettingsAccess& store, const R& r) {
                        store.RegWriteBool(n, get(r));
                    },
                    [get, fallback](const C&, R& r) { get(r) = fallback; }, std::nullopt});
    }

    // The value read is limited to range first; correct then maps it (the
    // default included) to the value used.
    template <class Get>
    TSettingsSchema& Integer(const char* name, Get get, qint32 fallback, int exit, TIntRange range,
                             qint32 (*correct)(qint32) = nullptr) {
        return Add({QString::fromLatin1(name), exit,
                    [n = QString::fromLatin1(name), get, fallback, range,
                     correct](const SettingsAccess& store, const C&, R& r) {
                        const qint32 value =
                            store.RegReadIntegerInRange(n, fallback, range.minimum, range.maximum);
                        get(r) = correct ? correct(value) : value;
                    },
                    [n = QString::fromLatin1(name), get](SettingsAccess& store, const R& r) {
                        store.RegWriteInteger(n, get(r));
                    },
                    [get, fallback](const C&, R& r) { get(r) = fallback; }, range});
    }

    // A text whose default may depend on the context; correct sees the text
    // read (or the default) and the context.
    using TStringDefault = std::function<QString(const C&)>;
    using TStringCorrection = std::function<QString(const QString& value, const C&)>;
    template <class Get>
    TSettingsSchema& String(const char* name, Get get, TStringDefault fallback, int exit,
                            TStringCorrection correct = {}) {
        return Add({QString::fromLatin1(name), exit,
                    [n = QString::fromLatin1(name), get, fallback,
                     correct](const SettingsAccess& store, const C& context, R& r) {
                        const QString value = store.RegReadString(n, fallback(context));
                        get(r) = correct ? correct(value, context) : value;
                    },
                    [n = QString::fromLatin1(name), get](SettingsAccess& store, const R& r) {
                        store.RegWriteString(n, get(r));
                    },
                    [get, fallback](const C& context, R& r) { get(r) = fallback(context); },
                    std::nullopt});
    }
    template <class Get>
    TSettingsSchema& String(const char* name, Get get, const QString& fallback, int exit,
                            TStringCorrection correct = {}) {
        return String(
            name, get, [fallback](const C&) { return fallback; }, exit, std::move(correct));
    }

    // Integers stored as prefix + number, numbered from `first`.
    template <std::size_t N, class Get>
    TSettingsSchema& Integers(const char* prefix, int first, Get get,
                              const std::array<qint32, N>& fallback, int exit, TIntRange range) {
        for (std::size_t i = 0; i < N; ++i) {
            const QByteArray name = QByteArray(prefix) + QByteArray::number(first + int(i));
            Integer(
                name.constData(), [ get, i ](auto& r) -> auto& { return get(r)[i]; }, fallback[i],
                exit, range);
        }
        return *this;
    }

    // Anything the typed entries above cannot say: a count with its numbered
    // items, a value read with more than the store. Either function may be
    // empty.
    TSettingsSchema& Custom(const char* name, int exit, TRead read, TWrite write,
                            TDefault fallback = {}) {
        return Add({QString::fromLatin1(name), exit, std::move(read), std::move(write),
                    std::move(fallback), std::nullopt});
    }

    // The last entry, a Custom one, is an integer limited to range (its
    // reader applies it).
    TSettingsSchema& Ranged(TIntRange range) {
        entries_.back().Range = range;
        return *this;
    }

    // The last entry is read only when the condition holds on what has been
    // read before it; otherwise it keeps its default.
    TSettingsSchema& ReadOnlyWhen(TCondition condition) {
        TEntry& entry = entries_.back();
        entry.Read = [read = std::move(entry.Read), condition = std::move(condition)](
                         const SettingsAccess& store, const C& context, R& r) {
            if (condition(r, context)) read(store, context, r);
        };
        return *this;
    }

    // The last entry is the program's to read but never to write.
    TSettingsSchema& NeverWritten() {
        entries_.back().Write = nullptr;
        entries_.back().ExitOrder = 0;
        return *this;
    }

    // --- Using ----------------------------------------------------------------

    R Defaults(const C& context = {}) const {
        R r{};
        for (const TEntry& entry : entries_)
            if (entry.Default) entry.Default(context, r);
        return r;
    }

    R Read(const SettingsAccess& store, const C& context = {}) const {
        R r = Defaults(context);
        for (const TEntry& entry : entries_)
            if (entry.Read) entry.Read(store, context, r);
        return r;
    }

    // The values with an exit order, in that order. The caller holds the
    // batch (TSettingsBatch) that makes them one write of the store.
    void WriteAtExit(SettingsAccess& store, const R& r) const {
        std::vector<const TEntry*> order;
        for (const TEntry& entry : entries_)
            if (entry.ExitOrder > 0 && entry.Write) order.push_back(&entry);
        std::stable_sort(order.begin(), order.end(), [](const TEntry* a, const TEntry* b) {
            return a->ExitOrder < b->ExitOrder;
        });
        for (const TEntry* entry : order)
            entry->Write(store, r);
    }

    // One value written the moment it changed; the names are the table's.
    void WriteNow(SettingsAccess& store, const R& r, const QString& name) const {
        for (const TEntry& entry : entries_)
            if (entry.Name.compare(name, Qt::CaseInsensitive) == 0 && entry.Write)
                entry.Write(store, r);
    }

    // Every value of the group that is ever written, in declaration order.
    void WriteAll(SettingsAccess& store, const R& r) const {
        const TSettingsBatch batch(store);
        for (const TEntry& entry : entries_)
            if (entry.Write) entry.Write(store, r);
    }

    const std::vector<TEntry>& Entries() const { return entries_; }

private:
    TSettingsSchema& Add(TEntry entry) {
        entries_.push_back(std::move(entry));
        return *this;
    }

    std::vector<TEntry> entries_;
};

} // namespace dorvane
