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
// Nothing is trimmed: " 7" stays " 7". A backslash escapes: \\ \n \r \t and,
// in names, \= \[ \] \# \; so a name may hold any character. Everything else
// after a backslash, a line that is none of the above, and bytes that are not
// UTF-8 make the whole file unreadable. A name given twice keeps its first
// place and its last value.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace dorvane {

struct TSettingsEntry {
    QString name;
    QString value;
    bool operator==(const TSettingsEntry&) const = default;
};

struct TSettingsSection {
    QString name; // empty for the program's own section
    QList<TSettingsEntry> entries;
    bool operator==(const TSettingsSection&) const = default;

    const QString* Find(const QString& entryName) const;
    void Set(const QString& entryName, const QString& value); // keeps an existing place
    bool Remove(const QString& entryName);
};

// The program's section first, then the lists in file order.
struct TSettingsDocument {
    TSettingsSection main;
    QList<TSettingsSection> lists;
    bool operator==(const TSettingsDocument&) const = default;

    const TSettingsSection* FindList(const QString& name) const;
    TSettingsSection& List(const QString& name); // created at the end when missing
    bool RemoveList(const QString& name);
};

// nullopt when the text is not a settings file; error then says why and where.
std::optional<TSettingsDocument> ParseSettingsText(const QByteArray& bytes, QString* error);
QByteArray FormatSettingsText(const TSettingsDocument& document);

} // namespace dorvane
