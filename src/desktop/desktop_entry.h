// The key files of the freedesktop standards (.desktop launchers,
// mimeapps.list): "[Group]" headers and "Key=Value" lines. A file is kept
// line by line, so that a change rewrites only the lines it touches and
// every other program's groups, comments and odd lines stay as they were.
// Values are kept as written (no escapes undone): the values the program
// reads and writes (desktop file IDs, MIME types, paths) need none.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace dorvane {

class TKeyFile {
public:
    // Any bytes: lines that are neither a header nor an entry are kept but
    // carry nothing; invalid UTF-8 is replaced in what is read. Text() gives
    // every line that was not changed back byte for byte.
    static TKeyFile Parse(const QByteArray& text);
    QByteArray Text() const;
    // False for bytes that no key file holds (a NUL or another control
    // character): such a file is some other program's data, not to be
    // read as settings or written over.
    static bool IsText(const QByteArray& text);

    bool HasGroup(const QString& group) const;
    // The first entry of key in the first group of that name; empty if none.
    QString Value(const QString& group, const QString& key) const;
    bool Contains(const QString& group, const QString& key) const;
    // Replaces the first entry of key in the group (and drops later
    // duplicates there), or adds it at the end of the group, which is added
    // at the end of the file when missing.
    void SetValue(const QString& group, const QString& key, const QString& value);
    // Drops every entry of key in the group.
    void RemoveKey(const QString& group, const QString& key);

    // A value that is a list ("a;b;"): its non-empty items.
    QStringList List(const QString& group, const QString& key) const;
    // Writes the items back as a list ending in ";"; an empty list removes
    // the key.
    void SetList(const QString& group, const QString& key, const QStringList& items);

private:
    struct TLine {
        QByteArray raw; // as read, without its line end
        QString group;  // the group the line belongs to ("" before the first)
        QString key;    // set for an entry
        QString value;
        bool header = false;
    };
    std::vector<TLine> lines_;
    bool lastLineEnded_ = true; // the file's last line ends in a line end
};

} // namespace dorvane
