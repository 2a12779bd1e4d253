#include "desktop/desktop_entry.h"

#include <algorithm>

namespace dorvane {

namespace {

bool IsKeyCharacter(QChar c) {
    // Keys are ASCII letters, digits and "-", with an optional locale in
    // brackets ("Name[ru]") and, in mimeapps.list, MIME types ("a/b+c.d").
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           QStringLiteral("-_[]@./+").contains(c);
}

} // namespace

TKeyFile TKeyFile::Parse(const QByteArray& text) {
    TKeyFile file;
    QString group;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            end = text.size();
            file.lastLineEnded_ = false;
        }
        TLine line;
        line.raw = text.mid(start, end - start);
        start = end + 1;
        // Decoded line by line: a byte that is not UTF-8 spoils only its own
        // line's value, and only as read.
        const QString decoded = QString::fromUtf8(line.raw);
        const QString trimmed = decoded.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')) &&
            trimmed.size() >= 2) {
            group = trimmed.mid(1, trimmed.size() - 2);
            line.header = true;
        } else if (!trimmed.startsWith(QLatin1Char('#'))) {
            const qsizetype equals = decoded.indexOf(QLatin1Char('='));
            if (equals > 0) {
                const QString key = decoded.left(equals).trimmed();
                bool valid = !key.isEmpty();
                for (QChar c : key)
                    valid = valid && IsKeyCharacter(c);
                if (valid) {
                    line.key = key;
                    line.value = decoded.mid(equals + 1).trimmed();
                }
            }
        }
        line.group = group;
        file.lines_.push_back(std::move(line));
    }
    return file;
}

QByteArray TKeyFile::Text() const {
    QByteArray text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i].raw;
        if (i + 1 < lines_.size() || lastLineEnded_) text += '\n';
    }
    return text;
}

bool TKeyFile::IsText(const QByteArray& text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F;
    });
}

bool TKeyFile::HasGroup(const QString& group) const {
    for (const TLine& line : lines_)
        if (line.header && line.group == group) return true;
    return false;
}

QString TKeyFile::Value(const QString& group, const QString& key) const {
    for (const TLine& line : lines_)
        if (!line.key.isEmpty() && line.group == group && line.key == key) return line.value;
    return {};
}

bool TKeyFile::Contains(const QString& group, const QString& key) const {
    for (const TLine& line : lines_)
        if (!line.key.isEmpty() && line.group == group && line.key == key) return true;
    return false;
}

void TKeyFile::SetValue(const QString& group, const QString& key, const QString& value) {
    TLine entry;
    entry.raw = (key + QLatin1Char('=') + value).toUtf8();
    entry.group = group;
    entry.key = key;
    entry.value = value;
    bool replaced = false;
    std::vector<TLine> kept;
    kept.reserve(lines_.size() + 2);
    for (TLine& line : lines_) {
        if (!line.key.isEmpty() && line.group == group && line.key == key) {
            if (!replaced) kept.push_back(entry);
            replaced = true;
            continue;
        }
        kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    if (replaced) return;
    // After the group's last entry (blank lines and comments that follow it
    // stay after the new one); a missing group goes at the end.
    std::size_t at = lines_.size();
    bool inGroup = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].header) {
            if (inGroup) break;
            inGroup = lines_[i].group == group;
            if (inGroup) at = i + 1;
        } else if (inGroup && !lines_[i].key.isEmpty()) {
            at = i + 1;
        }
    }
    if (!inGroup && at == lines_.size() && !HasGroup(group)) {
        if (!lines_.empty() && !lines_.back().raw.trimmed().isEmpty()) {
            lastLineEnded_ = true;
            TLine blank;
            blank.group = lines_.back().group;
            lines_.push_back(blank);
        }
        TLine header;
        header.raw = (QLatin1Char('[') + group + QLatin1Char(']')).toUtf8();
        header.group = group;
        header.header = true;
        lines_.push_back(header);
        at = lines_.size();
    }
    if (at == lines_.size()) lastLineEnded_ = true;
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), entry);
}

void TKeyFile::RemoveKey(const QString& group, const QString& key) {
    std::erase_if(lines_, [&](const TLine& line) {
        return !line.key.isEmpty() && line.group == group && line.key == key;
    });
}

QStringList TKeyFile::List(const QString& group, const QString& key) const {
    QStringList items = Value(group, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& item : items)
        item = item.trimmed();
    items.removeAll(QString());
    return items;
}

void TKeyFile::SetList(const QString& group, const QString& key, const QStringList& items) {
    if (items.isEmpty()) {
        RemoveKey(group, key);
        return;
    }
    SetValue(group, key, items.join(QLatin1Char(';')) + QLatin1Char(';'));
}

} // namespace dorvane
