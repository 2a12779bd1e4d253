#include "music/playlist_writer.h"

#include "core/file_name.h"
#include "core/regular_file.h"
#include "music/file_lookup.h"
#include "music/music_masks.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace dorvane {

namespace {

constexpr const char* kUntitled = "Безымянный";

bool HasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

QString OneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

class TLines {
public:
    void Add(const QString& line) {
        bytes_ += FileNameToBytes(line);
        bytes_ += "\r\n";
    }
    QByteArray Take() { return std::move(bytes_); }

private:
    QByteArray bytes_ = QByteArray("\xEF\xBB\xBF");
};

} // namespace

QStringList SaveFilters() {
    return {QStringLiteral("Список M3U (*.m3u)"), QStringLiteral("Список PLS (*.pls)"),
            QStringLiteral("Список LSF (*.lsf)"), QStringLiteral("Список LST (*.lst)")};
}

QString FormatExtension(TPlaylistFormat format) {
    switch (format) {
    case TPlaylistFormat::M3u:
        return QStringLiteral(".m3u");
    case TPlaylistFormat::Pls:
        return QStringLiteral(".pls");
    case TPlaylistFormat::Lsf:
        return QStringLiteral(".lsf");
    case TPlaylistFormat::Lst:
        return QStringLiteral(".lst");
    }
    return QStringLiteral(".m3u");
}

std::optional<TPlaylistFormat> FormatOfName(const QString& name) {
    const QString ext = ExtensionOf(name).toLower();
    for (const TPlaylistFormat format :
         {TPlaylistFormat::M3u, TPlaylistFormat::Pls, TPlaylistFormat::Lsf, TPlaylistFormat::Lst})
        if (ext == FormatExtension(format)) return format;
    return std::nullopt;
}

TSaveProposal ProposeSaveName(const QString& musicSource) {
    QString name;
    if (LookUpFile(musicSource)) {
        name = musicSource;
    } else if (IsExistingFolder(musicSource)) {
        const QString folder = QDir::cleanPath(musicSource);
        name =
            QFileInfo(folder).fileName().isEmpty()
                ? folder + QLatin1Char('/') + QString::fromUtf8(kUntitled) + QStringLiteral(".m3u")
                : folder + QStringLiteral(".m3u");
    } else {
        const QString holder = QFileInfo(musicSource).path();
        const QString base = QFileInfo(QDir::cleanPath(holder)).fileName();
        name =
            (base.isEmpty() || base == QLatin1String(".") ? QString::fromUtf8(kUntitled) : base) +
            QStringLiteral(".m3u");
    }
    if (const std::optional<TPlaylistFormat> format = FormatOfName(name)) return {name, *format};
    return {name + QStringLiteral(".m3u"), TPlaylistFormat::M3u};
}

QString ForceExtension(const QString& name, TPlaylistFormat format) {
    return name.left(name.size() - ExtensionOf(name).size()) + FormatExtension(format);
}

QString ListedPathForm(const QString& path, const QString& listPath, TPlaylistFormat format) {
    if (format == TPlaylistFormat::Lsf || format == TPlaylistFormat::Lst) return path;
    QString folder = QFileInfo(listPath).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return path.startsWith(folder) ? path.mid(folder.size()) : path;
}

QByteArray EncodePlaylist(const std::vector<FList>& entries, TPlaylistFormat format,
                          const QString& listPath) {
    std::vector<const FList*> written;
    for (const FList& entry : entries)
        if (!HasLineBreak(entry.S2)) written.push_back(&entry);
    TLines lines;
    if (format == TPlaylistFormat::M3u) {
        lines.Add(QStringLiteral("#EXTM3U"));
        for (const FList* entry : written) {
            if (!entry->S3.isEmpty())
                lines.Add(QStringLiteral("#EXTINF:") + OneLine(entry->S3) + QLatin1Char(',') +
                          OneLine(entry->S1));
            lines.Add(ListedPathForm(entry->S2, listPath, format));
        }
    } else if (format == TPlaylistFormat::Pls) {
        lines.Add(QStringLiteral("[playlist]"));
        lines.Add(QStringLiteral("NumberOfEntries=") + QString::number(written.size()));
        for (std::size_t i = 0; i < written.size(); ++i) {
            const QString number = QString::number(i + 1);
            lines.Add(QStringLiteral("File") + number + QLatin1Char('=') +
                      ListedPathForm(written[i]->S2, listPath, format));
            if (written[i]->S3.isEmpty()) continue;
            lines.Add(QStringLiteral("Title") + number + QLatin1Char('=') +
                      OneLine(written[i]->S1));
            lines.Add(QStringLiteral("Length") + number + QLatin1Char('=') +
                      OneLine(written[i]->S3));
        }
    } else {
        for (const FList* entry : written)
            lines.Add(entry->S2);
    }
    return lines.Take();
}

bool WritePlaylistFile(const QString& path, const QByteArray& bytes) {
    if (!MaySaveThrough(NativeFileName(path))) return false;
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk, a file size limit) shows
    // in write()'s count: a buffered QSaveFile commits the cut file as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) != bytes.size()) return false;
    return file.commit();
}

QString SavePlaylist(const std::vector<FList>& entries, const QString& musicSource,
                     const TSaveChooser& chooser, TMessageService& messages) {
    if (entries.empty()) return {};
    const TSaveProposal proposal = ProposeSaveName(musicSource);
    const std::optional<TSaveAnswer> answer = chooser({proposal.name, proposal.format});
    if (!answer || answer->path.isEmpty()) return {};
    const QString path = ForceExtension(answer->path, answer->format);
    if (!WritePlaylistFile(path, EncodePlaylist(entries, answer->format, path))) {
        messages.Show(QString::fromUtf8(kCommandFailed), TMessageIcon::Warning);
        return {};
    }
    return path;
}

} // namespace dorvane
