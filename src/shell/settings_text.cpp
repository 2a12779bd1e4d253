#include "shell/settings_text.h"

#include <QStringDecoder>
#include <QStringView>

#include <algorithm>
#include <iterator>

namespace dorvane {

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

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

std::optional<QString> Unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [c = text[i]](const TEscape& e) { return e.code == c; });
        if (escape == std::end(kEscapes)) return std::nullopt;
        out += QChar(escape->plain);
    }
    return out;
}

QString Escape(const QString& text, bool isName) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
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

} // namespace

const QString* TSettingsSection::Find(const QString& entryName) const {
    for (const TSettingsEntry& entry : entries)
        if (SameName(entry.name, entryName)) return &entry.value;
    return nullptr;
}

void TSettingsSection::Set(const QString& entryName, const QString& value) {
    for (TSettingsEntry& entry : entries)
        if (SameName(entry.name, entryName)) {
            entry.value = value;
            return;
        }
    entries.append({entryName, value});
}

bool TSettingsSection::Remove(const QString& entryName) {
    return entries.removeIf([&](const TSettingsEntry& e) { return SameName(e.name, entryName); }) >
           0;
}

const TSettingsSection* TSettingsDocument::FindList(const QString& name) const {
    for (const TSettingsSection& section : lists)
        if (SameName(section.name, name)) return &section;
    return nullptr;
}

TSettingsSection& TSettingsDocument::List(const QString& name) {
    for (TSettingsSection& section : lists)
        if (SameName(section.name, name)) return section;
    lists.append({name, {}});
    return lists.back();
}

bool TSettingsDocument::RemoveList(const QString& name) {
    return lists.removeIf([&](const TSettingsSection& s) { return SameName(s.name, name); }) > 0;
}

std::optional<TSettingsDocument> ParseSettingsText(const QByteArray& bytes, QString* error) {
    auto fail = [error](int lineNumber, const QString& why) -> std::optional<TSettingsDocument> {
        if (error) *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
        return std::nullopt;
    };
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError()) return fail(0, QStringLiteral("not UTF-8"));

    TSettingsDocument document;
    TSettingsSection* current = &document.main;
    int lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';')) continue;
        if (line.startsWith(u'[')) {
            // The header must end in a ']' that is not escaped.
            qsizetype end = -1;
            for (qsizetype i = 1; i < line.size(); ++i) {
                if (line[i] == u'\\')
                    ++i;
                else if (line[i] == u']') {
                    end = i;
                    break;
                }
            }
            if (end != line.size() - 1) return fail(lineNumber, QStringLiteral("bad list header"));
            const std::optional<QString> name = Unescape(line.sliced(1, end - 1));
            if (!name || name->isEmpty()) return fail(lineNumber, QStringLiteral("bad list name"));
            current = &document.List(*name);
            continue;
        }
        const qsizetype separator = FindSeparator(line);
        if (separator < 0) return fail(lineNumber, QStringLiteral("no '=' in the line"));
        const std::optional<QString> name = Unescape(line.first(separator));
        const std::optional<QString> value = Unescape(line.sliced(separator + 1));
        if (!name || !value) return fail(lineNumber, QStringLiteral("bad escape"));
        current->Set(*name, *value);
    }
    return document;
}

QByteArray FormatSettingsText(const TSettingsDocument& document) {
    QString text =
        QStringLiteral("# Dorvane settings. Names are matched without regard to case.\n");
    auto put = [&text](const TSettingsSection& section) {
        for (const TSettingsEntry& entry : section.entries)
            text += Escape(entry.name, true) + u'=' + Escape(entry.value, false) + u'\n';
    };
    put(document.main);
    for (const TSettingsSection& section : document.lists) {
        text += QStringLiteral("[") + Escape(section.name, true) + QStringLiteral("]\n");
        put(section);
    }
    return text.toUtf8();
}

} // namespace dorvane
