#include "music/playlist_formats.h"

#include "music/music_masks.h"
#include "music/text_lines.h"

#include <QDir>
#include <QFileInfo>

namespace dorvane {

namespace {

// A drive path of a list made on Windows tries at most this many of its
// last components against the list's folder.
constexpr qsizetype kMostDriveComponents = 8;

QString Join(const QString& folder, const QString& relative) {
    return QDir::cleanPath(folder + QLatin1Char('/') + relative);
}

bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// "C:", "C:\Music\a.mp3", "c:/a.mp3".
bool HasDrive(const QString& line) {
    return line.size() >= 2 && IsAsciiLetter(line[0]) && line[1] == QLatin1Char(':') &&
           (line.size() == 2 || line[2] == QLatin1Char('\\') || line[2] == QLatin1Char('/'));
}

class TCandidates {
public:
    void Add(const QString& path) {
        if (!list_.contains(path)) list_.append(path);
    }
    QStringList Take() { return std::move(list_); }

private:
    QStringList list_;
};

// The text after the line's first "=", when it has one.
std::optional<QString> ValueAfterEquals(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return std::nullopt;
    return line.mid(eq + 1);
}

void ReadExtInf(const QString& line, FList& entry) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma < 0) {
        entry.S3.clear();
        entry.S1 = line;
        return;
    }
    entry.S3 = line.mid(colon + 1, comma - colon - 1);
    entry.S1 = line.mid(comma + 1);
}

void ReadPlsDetails(const QStringList& lines, qsizetype index, FList& entry) {
    for (qsizetype k = index + 1; k <= index + 2 && k < lines.size(); ++k) {
        const QString head = lines[k].left(5).toUpper();
        const std::optional<QString> value = ValueAfterEquals(lines[k]);
        if (!value) continue;
        if (head == QLatin1String("TITLE"))
            entry.S1 = *value;
        else if (head == QLatin1String("LENGT"))
            entry.S3 = *value;
    }
}

enum class TListRule { M3u, Pls, Wpl, Asx, Plc, Lines };

TListRule RuleFor(const QString& extension) {
    const QString ext = extension.toLower();
    if (ext == QLatin1String(".m3u") || ext == QLatin1String(".m3u8")) return TListRule::M3u;
    if (ext == QLatin1String(".pls") || ext == QLatin1String(".kpl")) return TListRule::Pls;
    if (ext == QLatin1String(".wpl")) return TListRule::Wpl;
    if (ext == QLatin1String(".asx")) return TListRule::Asx;
    if (ext == QLatin1String(".plc")) return TListRule::Plc;
    return TListRule::Lines;
}

} // namespace

TListContext ContextForList(const QString& listPath) {
    TListContext context;
    context.listFolder = QFileInfo(listPath).absolutePath();
    context.driveRoot = DriveRootOf(context.listFolder);
    context.currentFolder = QDir::currentPath();
    return context;
}

QString ExtractQuoted(const QString& line, const QString& tag, const QString& attribute, QChar open,
                      QChar close) {
    const QString lower = line.toLower();
    if (!lower.contains(tag) || !lower.contains(attribute)) return {};
    const qsizetype start = line.indexOf(open);
    if (start < 0) return {};
    const qsizetype end = line.indexOf(close, start + 1);
    if (end < 0) return {};
    const QString text = line.mid(start + 1, end - start - 1);
    return text.size() > 3 ? text : QString();
}

// Paths on Linux. "/..." is absolute. A relative path is tried against the
// process's current folder, then the list's folder. A path in the form of
// a list made on Windows (backslashes, a drive letter) is first tried as
// written (a backslash is a legal Linux name character), then with its
// backslashes turned: a path from the drive's root ("\Music\a.mp3") against
// the file-system root, the list's folder and the list's drive (the mount
// point that holds it); a drive path ("E:\Music\a.mp3") against the list's
// drive, then its last components against the list's folder, longest first.
QStringList ListedPathCandidates(const QString& line, const TListContext& context) {
    if (line.isEmpty() || line.size() > kMaxListedPathLength || line.contains(QChar(0))) return {};
    if (line.startsWith(QLatin1Char('/'))) return {QDir::cleanPath(line)};
    TCandidates out;
    out.Add(Join(context.currentFolder, line));
    out.Add(Join(context.listFolder, line));
    const bool drive = HasDrive(line);
    if (!drive && !line.contains(QLatin1Char('\\'))) return out.Take();
    QString turned = line;
    turned.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (drive) {
        const QStringList parts = turned.mid(2).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        if (parts.isEmpty()) return out.Take();
        out.Add(Join(context.driveRoot, parts.join(QLatin1Char('/'))));
        for (qsizetype first = std::max<qsizetype>(0, parts.size() - kMostDriveComponents);
             first < parts.size(); ++first)
            out.Add(Join(context.listFolder, parts.sliced(first).join(QLatin1Char('/'))));
    } else if (turned.startsWith(QLatin1Char('/'))) {
        out.Add(QDir::cleanPath(turned));
        out.Add(Join(context.listFolder, turned));
        out.Add(Join(context.driveRoot, turned));
    } else {
        out.Add(Join(context.currentFolder, turned));
        out.Add(Join(context.listFolder, turned));
    }
    return out.Take();
}

std::optional<TFoundFile> ResolveListedPath(const QString& line, const TListContext& context) {
    for (const QString& candidate : ListedPathCandidates(line, context))
        if (std::optional<TFoundFile> found = context.lookup(candidate)) return found;
    return std::nullopt;
}

FList EntryForFile(const TFoundFile& file) {
    FList entry;
    entry.S1 = NameWithoutExtension(file.path);
    entry.S2 = file.path;
    entry.Ext = ExtensionOf(file.path);
    entry.Size = file.size;
    entry.Time = file.time;
    return entry;
}

void AddPlaylistEntry(const TFoundFile& file, TEntryKind kind, bool typeCheck,
                      const QStringList& lines, qsizetype index, std::vector<FList>& entries) {
    if (typeCheck && !IsAudioFile(file.path)) return;
    FList entry = EntryForFile(file);
    entry.S1.clear();
    if (kind == TEntryKind::M3u && index > 0 &&
        lines[index - 1].startsWith(QLatin1String("#EXTINF:")))
        ReadExtInf(lines[index - 1], entry);
    else if (kind == TEntryKind::Pls)
        ReadPlsDetails(lines, index, entry);
    if (entry.S1.isEmpty()) entry.S1 = NameWithoutExtension(file.path);
    entries.push_back(std::move(entry));
}

std::vector<FList> ParsePlaylistLines(const QStringList& lines, const QString& extension,
                                      const TListContext& context) {
    const TListRule rule = RuleFor(extension);
    const QChar quote = QLatin1Char('"');
    std::vector<FList> entries;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        QString path;
        TEntryKind kind = TEntryKind::Plain;
        bool typeCheck = false;
        switch (rule) {
        case TListRule::M3u:
            path = line;
            kind = TEntryKind::M3u;
            break;
        case TListRule::Pls:
            if (line.left(4).toUpper() != QLatin1String("FILE")) continue;
            path = ValueAfterEquals(line).value_or(QString());
            kind = TEntryKind::Pls;
            break;
        case TListRule::Wpl:
            path =
                ExtractQuoted(line, QStringLiteral("<media "), QStringLiteral("src"), quote, quote);
            break;
        case TListRule::Asx:
            path =
                ExtractQuoted(line, QStringLiteral("<ref "), QStringLiteral("href"), quote, quote);
            break;
        case TListRule::Plc:
            path = ExtractQuoted(line, QString(), QString(), QLatin1Char('|'), QLatin1Char('|'));
            break;
        case TListRule::Lines:
            path = line;
            typeCheck = true;
            // The type shows in the name already: no need to look for others.
            if (!IsAudioFile(path)) continue;
            break;
        }
        if (path.isEmpty()) continue;
        if (const std::optional<TFoundFile> found = ResolveListedPath(path, context))
            AddPlaylistEntry(*found, kind, typeCheck, lines, i, entries);
    }
    return entries;
}

std::optional<std::vector<FList>> DecodePlaylist(const QByteArray& bytes, const QString& extension,
                                                 const TListContext& context) {
    const TTextLines text = DecodeTextLines(bytes);
    if (!text.ok) return std::nullopt;
    return ParsePlaylistLines(text.lines, extension, context);
}

} // namespace dorvane
