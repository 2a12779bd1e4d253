#include "music/playlist_formats.h"

#include "music/music_masks.h"
#include "music/text_lines.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <utility>

namespace dorvane {

namespace {

// A drive path of a list made on Windows tries at most this many of its
// last components against the list's folder.
constexpr qsizetype kMostDriveComponents = 8;

// A clean absolute path: cleanPath keeps the ".." that climb above the
// root, where the file system stays at the root.
QString Clean(const QString& path) {
    QString clean = QDir::cleanPath(path);
    qsizetype climbs = 0;
    while (clean.mid(climbs, 3) == QLatin1String("/..") &&
           (clean.size() == climbs + 3 || clean.at(climbs + 3) == QLatin1Char('/')))
        climbs += 3;
    if (climbs == 0) return clean;
    clean.remove(0, climbs);
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

QString Join(const QString& folder, const QString& relative) {
    return Clean(folder + QLatin1Char('/') + relative);
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
        entry.S1 = CutTitle(line);
        return;
    }
    entry.S3 = CutTitle(line.mid(colon + 1, comma - colon - 1));
    entry.S1 = CutTitle(line.mid(comma + 1));
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
    if (line.startsWith(QLatin1Char('/'))) return {Clean(line)};
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
        out.Add(Clean(turned));
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

namespace {

// The code point of a numeric reference's digits, 0 when they name none.
char32_t NumericReference(QStringView digits) {
    const bool hex = digits.startsWith(u'x');
    if (hex) digits = digits.mid(1);
    if (digits.isEmpty()) return 0;
    char32_t value = 0;
    for (const QChar c : digits) {
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c.unicode() - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            digit = c.unicode() - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            digit = c.unicode() - u'A' + 10;
        if (digit < 0) return 0;
        value = value * (hex ? 16 : 10) + char32_t(digit);
        if (value > 0x10FFFF) return 0;
    }
    if (value >= 0xD800 && value <= 0xDFFF) return 0;
    return value;
}

// "&#x10FFFF;" is the longest reference: a ';' further on closes none.
constexpr qsizetype kLongestEntity = 10;

} // namespace

QString DecodeXmlEntities(const QString& text) {
    if (!text.contains(u'&')) return text;
    static constexpr std::pair<QStringView, char16_t> kNamed[] = {
        {u"amp", u'&'}, {u"apos", u'\''}, {u"quot", u'"'}, {u"lt", u'<'}, {u"gt", u'>'}};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        // Looked for only as far as the longest reference: a line of "&"s
        // without a ';' costs no scan to its end for each of them.
        qsizetype semicolon = -1;
        if (text.at(i) == u'&') {
            const qsizetype last = std::min(text.size() - 1, i + kLongestEntity);
            for (qsizetype k = i + 1; k <= last && semicolon < 0; ++k)
                if (text.at(k) == u';') semicolon = k;
        }
        if (semicolon < 0) {
            out += text.at(i++);
            continue;
        }
        const QStringView name = QStringView(text).mid(i + 1, semicolon - i - 1);
        char32_t decoded = 0;
        if (name.startsWith(u'#')) {
            decoded = NumericReference(name.mid(1));
        } else {
            for (const auto& [entity, character] : kNamed)
                if (name == entity) decoded = character;
        }
        if (decoded == 0) {
            out += text.at(i++);
            continue;
        }
        out += QString::fromUcs4(&decoded, 1);
        i = semicolon + 1;
    }
    return out;
}

namespace {

// A line of a PLS list: "File<N>=", "Title<N>=" or "Length<N>=" (any case;
// "Lengt" will do), N written or not.
struct TPlsLine {
    enum class TKind { Other, File, Title, Length } kind = TKind::Other;
    QString number; // decimal, without leading zeros; empty when there is none
    std::optional<QString> value;
};

TPlsLine ReadPlsLine(const QString& line) {
    TPlsLine pls;
    qsizetype head = 0;
    if (line.left(4).toUpper() == QLatin1String("FILE")) {
        pls.kind = TPlsLine::TKind::File;
        head = 4;
    } else if (line.left(5).toUpper() == QLatin1String("TITLE")) {
        pls.kind = TPlsLine::TKind::Title;
        head = 5;
    } else if (line.left(5).toUpper() == QLatin1String("LENGT")) {
        pls.kind = TPlsLine::TKind::Length;
        head = line.size() > 5 && line.at(5).toUpper() == u'H' ? 6 : 5;
    } else {
        return pls;
    }
    pls.value = ValueAfterEquals(line);
    const qsizetype eq = line.indexOf(u'=');
    const QStringView key = QStringView(line).mid(head, (eq < 0 ? line.size() : eq) - head);
    const bool digits = !key.isEmpty() && std::all_of(key.begin(), key.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (!digits) return pls;
    qsizetype zeros = 0;
    while (zeros + 1 < key.size() && key.at(zeros) == u'0')
        ++zeros;
    pls.number = key.mid(zeros).toString();
    return pls;
}

// Lines between two looks at the cancel flag.
constexpr qsizetype kLinesPerCancelCheck = 1024;

class TListParser {
public:
    TListParser(TListRule rule, const TListContext& context, const std::atomic<bool>* cancel)
        : rule_(rule), context_(context), cancel_(cancel) {}

    TParsedList Run(TLineSource& lines);

private:
    bool Stopped(qsizetype line) const {
        return stop_ || (cancel_ && line % kLinesPerCancelCheck == 0 && cancel_->load());
    }
    void Line(const QString& line);
    void PlsLine(const QString& line);
    void PlsNumberedDetails(TLineSource& lines);
    FList* Add(const QString& path, bool typeCheck);

    // The PLS entries that take unnumbered details from the next two lines
    // (a File line without a number takes numbered ones too).
    struct TFollower {
        std::size_t entry;
        int lines;
        bool anyNumber;
    };
    // The entries of a PLS number and whether its title and length were seen.
    struct TNumbered {
        std::vector<std::size_t> entries;
        bool title = false;
        bool length = false;
    };

    TListRule rule_;
    const TListContext& context_;
    const std::atomic<bool>* cancel_;
    TParsedList result_;
    bool stop_ = false;
    QString previous_;
    std::vector<TFollower> followers_;
    QHash<QString, TNumbered> numbered_;
};

void ApplyPlsDetail(const TPlsLine& pls, FList& entry) {
    if (pls.kind == TPlsLine::TKind::Title)
        entry.S1 = CutTitle(*pls.value);
    else
        entry.S3 = CutTitle(*pls.value);
}

FList* TListParser::Add(const QString& path, bool typeCheck) {
    if (path.isEmpty()) return nullptr;
    const std::optional<TFoundFile> found = ResolveListedPath(path, context_);
    if (!found || (typeCheck && !IsAudioFile(found->path))) return nullptr;
    if (result_.entries.size() == kMaxListEntries) {
        result_.cut = true;
        stop_ = true;
        return nullptr;
    }
    FList& entry = result_.entries.emplace_back(EntryForFile(*found));
    entry.S1.clear();
    return &entry;
}

void TListParser::PlsLine(const QString& line) {
    const TPlsLine pls = ReadPlsLine(line);
    const bool detail =
        pls.value && (pls.kind == TPlsLine::TKind::Title || pls.kind == TPlsLine::TKind::Length);
    for (TFollower& follower : followers_) {
        if (detail && (follower.anyNumber || pls.number.isEmpty()))
            ApplyPlsDetail(pls, result_.entries[follower.entry]);
        --follower.lines;
    }
    std::erase_if(followers_, [](const TFollower& f) { return f.lines == 0; });
    if (pls.kind != TPlsLine::TKind::File) return;
    if (!Add(pls.value.value_or(QString()), false)) return;
    const std::size_t index = result_.entries.size() - 1;
    followers_.push_back({index, 2, pls.number.isEmpty()});
    if (!pls.number.isEmpty()) numbered_[pls.number].entries.push_back(index);
}

// "Title<N>" and "Length<N>" wherever they stand, the first of each number.
void TListParser::PlsNumberedDetails(TLineSource& lines) {
    lines.Rewind();
    QString line;
    for (qsizetype k = 1; lines.Next(line); ++k) {
        if (cancel_ && k % kLinesPerCancelCheck == 0 && cancel_->load()) return;
        const TPlsLine pls = ReadPlsLine(line);
        if (pls.number.isEmpty() || !pls.value || pls.kind == TPlsLine::TKind::File ||
            pls.kind == TPlsLine::TKind::Other)
            continue;
        const auto it = numbered_.find(pls.number);
        if (it == numbered_.end()) continue;
        bool& seen = pls.kind == TPlsLine::TKind::Title ? it->title : it->length;
        if (seen) continue;
        seen = true;
        for (const std::size_t entry : it->entries)
            ApplyPlsDetail(pls, result_.entries[entry]);
    }
}

void TListParser::Line(const QString& line) {
    const QChar quote = u'"';
    switch (rule_) {
    case TListRule::M3u:
        if (FList* entry = Add(line, false);
            entry && previous_.startsWith(QLatin1String("#EXTINF:")))
            ReadExtInf(previous_, *entry);
        previous_ = line;
        break;
    case TListRule::Pls:
        PlsLine(line);
        break;
    case TListRule::Wpl:
        Add(DecodeXmlEntities(ExtractQuoted(line, QStringLiteral("<media "), QStringLiteral("src"),
                                            quote, quote)),
            false);
        break;
    case TListRule::Asx:
        Add(DecodeXmlEntities(
                ExtractQuoted(line, QStringLiteral("<ref "), QStringLiteral("href"), quote, quote)),
            false);
        break;
    case TListRule::Plc:
        Add(ExtractQuoted(line, QString(), QString(), u'|', u'|'), false);
        break;
    case TListRule::Lines:
        // The type shows in the name already: no need to look for others.
        if (IsAudioFile(line)) Add(line, true);
        break;
    }
}

TParsedList TListParser::Run(TLineSource& lines) {
    QString line;
    for (qsizetype k = 1; !Stopped(k) && lines.Next(line); ++k)
        Line(line);
    if (!numbered_.isEmpty() && !(cancel_ && cancel_->load())) PlsNumberedDetails(lines);
    for (FList& entry : result_.entries)
        if (entry.S1.isEmpty()) entry.S1 = NameWithoutExtension(entry.S2);
    return std::move(result_);
}

// Lines held in memory.
class TStringListLines final : public TLineSource {
public:
    explicit TStringListLines(const QStringList& lines) : lines_(lines) {}
    bool Next(QString& line) override {
        if (next_ >= lines_.size()) return false;
        line = lines_[next_++];
        return true;
    }
    void Rewind() override { next_ = 0; }

private:
    const QStringList& lines_;
    qsizetype next_ = 0;
};

} // namespace

TParsedList ParsePlaylist(TLineSource& lines, const QString& extension, const TListContext& context,
                          const std::atomic<bool>* cancel) {
    return TListParser(RuleFor(extension), context, cancel).Run(lines);
}

std::vector<FList> ParsePlaylistLines(const QStringList& lines, const QString& extension,
                                      const TListContext& context) {
    TStringListLines source(lines);
    return ParsePlaylist(source, extension, context).entries;
}

std::optional<std::vector<FList>> DecodePlaylist(const QByteArray& bytes, const QString& extension,
                                                 const TListContext& context) {
    TTextLineReader reader(bytes);
    if (!reader.ok()) return std::nullopt;
    return ParsePlaylist(reader, extension, context).entries;
}

QString LongListMessage(const QString& listPath) {
    const QString most = QString::number(kMaxListEntries);
    return QStringLiteral("Список ") + listPath + QStringLiteral(" длиннее ") + most +
           QStringLiteral(" записей!\nЗагружены первые ") + most + QStringLiteral(".");
}

} // namespace dorvane
