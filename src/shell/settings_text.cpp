#include "shell/settings_text.h"

#include <QStringDecoder>
#include <QStringView>

#include <algorithm>
#include <array>
#include <iterator>

namespace dorvane {

namespace {

// What a backslash stands for. The characters that shape a line need the
// escape only in names; values run to the end of their line.
struct TEscape {
    char16_t plain;
    char16_t code;
    bool nameOnly;
};
constexpr TEscape kEscapes[] = {
    {u'\\', u'\\', false}, {u'\n', u'n', false}, {u'\r', u'r', false},
    {u'\t', u't', false},  {u'=', u'=', true},   {u'[', u'[', true},
    {u']', u']', true},    {u'#', u'#', true},   {u';', u';', true},
};

int HexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    return -1;
}

// A byte of a file name that is not UTF-8 travels in a QString as the lone
// surrogate U+DC00 + byte (see core/file_name.h); the file keeps it as \xHH.
constexpr char16_t kRawByteBase = 0xDC00;

std::optional<QString> Unescape(QStringView text) {
    // Most names and values hold no escape at all.
    if (!text.contains(u'\\')) return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        if (text[i] == u'x') {
            const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (high < 0 || low < 0) return std::nullopt;
            const int byte = high * 16 + low;
            out += byte < 0x80 ? QChar(char16_t(byte)) : QChar(char16_t(kRawByteBase + byte));
            i += 2;
            continue;
        }
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [c = text[i]](const TEscape& e) { return e.code == c; });
        if (escape == std::end(kEscapes)) return std::nullopt;
        out += QChar(escape->plain);
    }
    return out;
}

QString Escape(QStringView text, bool isName) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            // A character beyond the BMP; its low half may look like a byte.
            out += c;
            out += text[++i];
            continue;
        }
        if (u >= kRawByteBase + 0x80 && u <= kRawByteBase + 0xFF) {
            out += QStringLiteral("\\x") + QString::number(u - kRawByteBase, 16).toUpper();
            continue;
        }
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [c](const TEscape& e) { return e.plain == c; });
        if (escape != std::end(kEscapes) && (isName || !escape->nameOnly)) {
            out += u'\\';
            out += QChar(escape->code);
        } else {
            out += c;
        }
    }
    return out;
}

// The first '=' that no backslash escapes, or -1.
qsizetype FindSeparator(QStringView line) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\')
            ++i;
        else if (line[i] == u'=')
            return i;
    }
    return -1;
}

// A name's hash under the same case folding as QStringView's
// case-insensitive comparison (each code point folded on its own).
std::size_t FoldedHash(QStringView name) {
    std::size_t h = 1469598103934665603ull;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t cp = name[i].unicode();
        if (cp >= 0x80) {
            if (QChar::isHighSurrogate(cp) && i + 1 < name.size() &&
                QChar::isLowSurrogate(name[i + 1].unicode())) {
                cp = QChar::surrogateToUcs4(char16_t(cp), name[i + 1].unicode());
                ++i;
            }
            cp = QChar::toCaseFolded(cp);
        } else if (cp >= u'A' && cp <= u'Z') {
            cp += u'a' - u'A';
        }
        h = (h ^ cp) * 1099511628211ull;
    }
    // FNV leaves the low bits, which pick the slot, poorly mixed for names
    // that differ only at their end ("k1", "k2", ...).
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Folded(QStringView name) {
    return name.toString().toCaseFolded();
}

} // namespace

// --- TSettingsSection --------------------------------------------------------

QStringView TSettingsSection::View(const TPiece& piece) const {
    return piece.own ? QStringView(own_[piece.at])
                     : QStringView(text_).sliced(piece.at, piece.length);
}

TSettingsSection::TPiece TSettingsSection::Own(QString text) {
    own_.append(std::move(text));
    TPiece piece;
    piece.at = std::uint32_t(own_.size() - 1);
    piece.length = 0;
    piece.own = 1;
    return piece;
}

qsizetype TSettingsSection::IndexOf(QStringView entryName, std::size_t hash) const {
    if (slots_.empty()) return -1;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const TSlot& slot = slots_[at];
        if (slot.entry == 0) return -1;
        if (slot.hash == std::uint32_t(hash) &&
            SameName(View(entries_[std::size_t(slot.entry - 1)].name), entryName))
            return slot.entry - 1;
    }
}

void TSettingsSection::Rehash(std::size_t count) {
    // Moving a slot needs its full hash, which the slot keeps only half of.
    slots_.assign(count, TSlot{});
    const std::size_t mask = count - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::size_t hash = FoldedHash(View(entries_[i].name));
        std::size_t at = hash & mask;
        while (slots_[at].entry != 0)
            at = (at + 1) & mask;
        slots_[at] = {std::uint32_t(hash), std::uint32_t(i + 1)};
    }
}

void TSettingsSection::Reserve(std::size_t entries) {
    std::size_t count = 16;
    while (count < entries * 2)
        count *= 2;
    if (count > slots_.size()) Rehash(count);
    entries_.reserve(entries);
}

std::uint32_t TSettingsSection::Touch(std::size_t hash) const {
    return slots_.empty() ? 0 : slots_[hash & (slots_.size() - 1)].entry;
}

void TSettingsSection::Put(TPiece nameAt, TPiece value) {
    Put(nameAt, value, FoldedHash(View(nameAt)));
}

void TSettingsSection::Put(TPiece nameAt, TPiece value, std::size_t hash) {
    const qsizetype existing = IndexOf(View(nameAt), hash);
    if (existing >= 0) {
        entries_[std::size_t(existing)].value = value;
        return;
    }
    entries_.push_back({nameAt, value});
    // Kept at most half full, so a look-up meets a free slot soon.
    if (entries_.size() * 2 > slots_.size()) Rehash(std::max<std::size_t>(16, slots_.size() * 2));
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].entry != 0)
        at = (at + 1) & mask;
    slots_[at] = {std::uint32_t(hash), std::uint32_t(entries_.size())};
}

TSettingsEntry TSettingsSection::Entry(qsizetype i) const {
    const TItem& item = entries_[std::size_t(i)];
    return {View(item.name).toString(), View(item.value).toString()};
}

QList<TSettingsEntry> TSettingsSection::Entries() const {
    QList<TSettingsEntry> all;
    all.reserve(Size());
    for (qsizetype i = 0; i < Size(); ++i)
        all.append(Entry(i));
    return all;
}

std::optional<QString> TSettingsSection::Find(const QString& entryName) const {
    const qsizetype at = IndexOf(entryName, FoldedHash(entryName));
    if (at < 0) return std::nullopt;
    return View(entries_[std::size_t(at)].value).toString();
}

void TSettingsSection::Set(const QString& entryName, const QString& value) {
    const qsizetype existing = IndexOf(entryName, FoldedHash(entryName));
    if (existing >= 0) {
        entries_[std::size_t(existing)].value = Own(value);
        return;
    }
    const TPiece nameAt = Own(entryName);
    Put(nameAt, Own(value));
}

bool TSettingsSection::Remove(const QString& entryName) {
    const qsizetype at = IndexOf(entryName, FoldedHash(entryName));
    if (at < 0) return false;
    entries_.erase(entries_.begin() + at);
    // Removing is rare (a value deleted): the places behind it move up, and
    // the index is built again.
    Rehash(slots_.size());
    return true;
}

bool TSettingsSection::operator==(const TSettingsSection& other) const {
    if (name != other.name || Size() != other.Size()) return false;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (View(entries_[i].name) != other.View(other.entries_[i].name) ||
            View(entries_[i].value) != other.View(other.entries_[i].value))
            return false;
    return true;
}

// --- TSettingsDocument -------------------------------------------------------

const TSettingsSection* TSettingsDocument::FindList(const QString& name) const {
    const auto at = index_.constFind(Folded(name));
    return at == index_.constEnd() ? nullptr : &lists_[*at];
}

TSettingsSection& TSettingsDocument::List(const QString& name) {
    const QString key = Folded(name);
    const auto at = index_.constFind(key);
    if (at != index_.constEnd()) return lists_[*at];
    index_.insert(key, lists_.size());
    lists_.append(TSettingsSection(name));
    return lists_.back();
}

bool TSettingsDocument::RemoveList(const QString& name) {
    const auto at = index_.constFind(Folded(name));
    if (at == index_.constEnd()) return false;
    lists_.removeAt(*at);
    index_.clear();
    for (qsizetype i = 0; i < lists_.size(); ++i)
        index_.insert(Folded(lists_[i].name), i);
    return true;
}

// --- Reading and writing -------------------------------------------------------

// Fills sections with pieces of the file's text.
class TSettingsParser {
public:
    explicit TSettingsParser(QString text) : text_(std::move(text)) {}

    std::optional<TSettingsDocument> Run(TSettingsProblems& found) {
        TSettingsDocument document;
        Share(document.main);
        // Room for every line as a value of the program's section, which is
        // what a large file nearly always holds; bounded, so that a hostile
        // file of empty values cannot reserve much.
        const auto lines = std::size_t(text_.count(u'\n') + text_.count(u'\r') / 2 + 1);
        document.main.Reserve(std::min<std::size_t>(lines, 1 << 20));
        TSettingsSection* current = &document.main;
        int lineNumber = 0;
        const auto skip = [&found, &lineNumber](const QString& why) {
            if (found.skippedLines++ == 0)
                found.first = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
        };
        const QStringView text(text_);
        const qsizetype size = text.size();
        for (qsizetype start = 0; start < size;) {
            // LF, CR LF and a lone CR all end a line.
            qsizetype end = start;
            while (end < size && text[end] != u'\n' && text[end] != u'\r')
                ++end;
            const QStringView line = text.sliced(start, end - start);
            const qsizetype lineAt = start;
            if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') ++end;
            start = end + 1;
            ++lineNumber;

            if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';')) continue;
            if (line.startsWith(u'[')) {
                // The header must end in a ']' that is not escaped.
                qsizetype close = -1;
                for (qsizetype i = 1; i < line.size(); ++i) {
                    if (line[i] == u'\\')
                        ++i;
                    else if (line[i] == u']') {
                        close = i;
                        break;
                    }
                }
                if (close != line.size() - 1) {
                    skip(QStringLiteral("bad list header"));
                    continue;
                }
                const std::optional<QString> name = Unescape(line.sliced(1, close - 1));
                if (!name || name->isEmpty()) {
                    skip(QStringLiteral("bad list name"));
                    continue;
                }
                Flush(); // the lists may move when one is added
                current = &document.List(*name);
                Share(*current);
                continue;
            }
            const qsizetype separator = FindSeparator(line);
            if (separator < 0) {
                skip(QStringLiteral("no '=' in the line"));
                continue;
            }
            const std::optional<TSettingsSection::TPiece> name =
                Piece(*current, line.first(separator), lineAt);
            const std::optional<TSettingsSection::TPiece> value =
                Piece(*current, line.sliced(separator + 1), lineAt + separator + 1);
            if (!name || !value) {
                skip(QStringLiteral("bad escape"));
                continue;
            }
            if (current != pendingIn_) Flush();
            pendingIn_ = current;
            pending_[pendingCount_++] = {*name, *value, FoldedHash(current->View(*name))};
            if (pendingCount_ == kBatch) Flush();
        }
        Flush();
        return document;
    }

private:
    // A large file's index does not fit the caches, and each new name's slot
    // is a miss. The values of a run of lines are put together: their slots
    // are read first, all at once, so the misses overlap, and then the
    // values go in, in the file's order.
    static constexpr int kBatch = 32;
    struct TPending {
        TSettingsSection::TPiece name, value;
        std::size_t hash;
    };
    void Flush() {
        if (pendingCount_ == 0) return;
        std::uint32_t touched = 0;
        for (int i = 0; i < pendingCount_; ++i)
            touched |= pendingIn_->Touch(pending_[i].hash);
        touched_ ^= touched; // kept, so that the reads are not left out
        for (int i = 0; i < pendingCount_; ++i)
            pendingIn_->Put(pending_[i].name, pending_[i].value, pending_[i].hash);
        pendingCount_ = 0;
    }

    void Share(TSettingsSection& section) const {
        if (section.text_.isNull()) section.text_ = text_;
    }
    // A name or a value as it stands in the text, or unescaped into the
    // section's own strings; none for a bad escape.
    static std::optional<TSettingsSection::TPiece> Piece(TSettingsSection& section, QStringView raw,
                                                         qsizetype at) {
        if (!raw.contains(u'\\')) {
            TSettingsSection::TPiece piece;
            piece.at = std::uint32_t(at);
            piece.length = std::uint32_t(raw.size());
            piece.own = 0;
            return piece;
        }
        std::optional<QString> plain = Unescape(raw);
        if (!plain) return std::nullopt;
        return section.Own(std::move(*plain));
    }

    QString text_;
    TSettingsSection* pendingIn_ = nullptr;
    std::array<TPending, kBatch> pending_{};
    int pendingCount_ = 0;
    std::uint32_t touched_ = 0;
};

std::optional<TSettingsDocument> ParseSettingsText(const QByteArray& bytes,
                                                   TSettingsProblems* problems) {
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(bytes);
    if (decode.hasError()) {
        if (problems) *problems = {0, QStringLiteral("not UTF-8")};
        return std::nullopt;
    }
    TSettingsProblems found;
    std::optional<TSettingsDocument> document = TSettingsParser(std::move(text)).Run(found);
    if (problems) *problems = found;
    return document;
}

QByteArray FormatSettingsText(const TSettingsDocument& document) {
    QString text =
        QStringLiteral("# Dorvane settings. Names are matched without regard to case.\n");
    auto put = [&text](const TSettingsSection& section) {
        for (qsizetype i = 0; i < section.Size(); ++i) {
            const TSettingsEntry entry = section.Entry(i);
            text += Escape(entry.name, true) + u'=' + Escape(entry.value, false) + u'\n';
        }
    };
    put(document.main);
    for (const TSettingsSection& section : document.Lists()) {
        text += QStringLiteral("[") + Escape(section.name, true) + QStringLiteral("]\n");
        put(section);
    }
    return text.toUtf8();
}

} // namespace dorvane
