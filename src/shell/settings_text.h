// The text of the settings file. Chosen over QSettings' INI format because
// QSettings compares names with letter case and caches what it read, while
// our names are case-insensitive and another running copy may change the
// file at any time. The format, UTF-8, one item a line:
//
//   # comment                  (also ';'; blank lines are ignored)
//   Intellect=2                a value of the program's section
//   =text                      the unnamed value (written by the installer)
//   [Music]                    a list: the values below belong to it
//   0=/home/me/Music
//
// Lines end at LF, CR LF or a lone CR (files from old Macs). Nothing is
// trimmed: " 7" stays " 7". A backslash escapes: \\ \n \r \t, \xHH for a
// byte of a file name that is not UTF-8, and, in names, \= \[ \] \# \; so a
// name may hold any character. A line that is none of the above (no '=', an
// unknown escape, a bad header) is skipped and counted; the rest of the file
// stands. Only bytes that are not UTF-8 make the whole file unreadable. A
// name given twice keeps its first place and its last value.
//
// A file of hundreds of thousands of values must parse in a few tens of
// milliseconds: names and values that need no unescaping stay views into the
// file's text (one allocation for the whole file), and names are found
// through a case-insensitive hash index built while reading.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace dorvane {

struct TSettingsEntry {
    QString name;
    QString value;
    bool operator==(const TSettingsEntry&) const = default;
};

class TSettingsParser;

class TSettingsSection {
public:
    TSettingsSection() = default;
    explicit TSettingsSection(QString sectionName) : name(std::move(sectionName)) {}

    QString name; // empty for the program's own section

    qsizetype Size() const { return qsizetype(entries_.size()); }
    TSettingsEntry Entry(qsizetype i) const;
    QList<TSettingsEntry> Entries() const;
    std::optional<QString> Find(const QString& entryName) const;
    void Set(const QString& entryName, const QString& value); // keeps an existing place
    bool Remove(const QString& entryName);

    bool operator==(const TSettingsSection& other) const;

private:
    friend class TSettingsParser;

    // Where a name or a value lies: in the file's text, or among the
    // section's own strings (unescaped, or set after reading).
    // The file is at most a few megabytes, so 31 bits place a piece; the
    // small records keep a large file's index in few cache lines.
    struct TPiece {
        std::uint32_t at = 0;      // in text_, or the index in own_
        std::uint32_t length : 31; // in text_
        std::uint32_t own : 1;
    };
    struct TItem {
        TPiece name, value;
    };
    QStringView View(const TPiece& piece) const;
    TPiece Own(QString text);
    struct TSlot {
        std::uint32_t hash = 0;  // the low half of the name's hash
        std::uint32_t entry = 0; // entry index + 1; 0 = a free slot
    };
    qsizetype IndexOf(QStringView entryName, std::size_t hash) const; // -1 when absent
    // Appends or overwrites; hash is FoldedHash of the name.
    void Put(TPiece name, TPiece value, std::size_t hash);
    void Put(TPiece name, TPiece value);
    // Reads the slot where a name of this hash would be looked up first, so
    // that a run of look-ups waits for memory once rather than once each.
    std::uint32_t Touch(std::size_t hash) const;
    void Rehash(std::size_t count);
    void Reserve(std::size_t entries);

    QString text_; // the file's text, shared by every section of the document
    QStringList own_;
    std::vector<TItem> entries_;
    std::vector<TSlot> slots_; // open addressing, kept at most half full
};

// The program's section first, then the lists in file order.
class TSettingsDocument {
public:
    TSettingsSection main;

    const QList<TSettingsSection>& Lists() const { return lists_; }
    const TSettingsSection* FindList(const QString& name) const;
    TSettingsSection& List(const QString& name); // created at the end when missing
    bool RemoveList(const QString& name);
    bool Empty() const { return main.Size() == 0 && lists_.isEmpty(); }

    bool operator==(const TSettingsDocument& other) const {
        return main == other.main && lists_ == other.lists_;
    }

private:
    QList<TSettingsSection> lists_;
    QHash<QString, qsizetype> index_; // case-folded list name -> place in lists_
};

// What a parse could not take.
struct TSettingsProblems {
    int skippedLines = 0;
    QString first; // "line 3: no '=' in the line"
};

// nullopt only when the text is not UTF-8; problems (when given) tells what
// was skipped.
std::optional<TSettingsDocument> ParseSettingsText(const QByteArray& bytes,
                                                   TSettingsProblems* problems = nullptr);
QByteArray FormatSettingsText(const TSettingsDocument& document);

} // namespace dorvane
