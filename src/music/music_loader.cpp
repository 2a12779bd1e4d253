#include "music/music_loader.h"

#include "music/file_lookup.h"
#include "music/music_masks.h"
#include "music/music_sources.h"
#include "music/playlist_formats.h"
#include "music/text_lines.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace dorvane {

std::vector<FList> CollectSourceEntries(const QString& item, const TCollectOptions& options,
                                        const std::atomic<bool>* cancel, bool* cut) {
    if (LookUpFile(QFileInfo(item).absoluteFilePath()) && !item.isEmpty()) {
        TTextLineReader lines = TTextLineReader::OpenFile(item);
        if (!lines.ok()) return {};
        TParsedList list = ParsePlaylist(lines, ExtensionOf(item), ContextForList(item), cancel);
        if (cut) *cut = list.cut;
        return std::move(list.entries);
    }
    const QString folder = IsExistingFolder(item) ? item : options.soundFolder;
    if (!IsExistingFolder(folder)) return {};
    std::vector<FList> entries;
    const QStringList paths =
        FindMusicFiles(folder, QLatin1String(kAudioMasks), options.withSubfolders, true, cancel);
    entries.reserve(std::size_t(paths.size()));
    // A file that went between the search and this look is left out.
    for (const QString& path : paths)
        if (const std::optional<TFoundFile> found = LookUpFile(path))
            entries.push_back(EntryForFile(*found));
    return entries;
}

FList FileEntry(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    FList entry = EntryForFile(LookUpFile(full).value_or(TFoundFile{full, 0, 0}));
    return entry;
}

QStringList PlaylistFileFilters() {
    return {QStringLiteral("Списки M3U, M3U8, PLS, WPL, ASX (*.m3u *.m3u8 *.pls *.wpl *.asx)"),
            QStringLiteral("M3U (*.m3u)"),
            QStringLiteral("M3U8 (*.m3u8)"),
            QStringLiteral("PLS (*.pls)"),
            QStringLiteral("WPL (*.wpl)"),
            QStringLiteral("ASX (*.asx)"),
            QStringLiteral("Все файлы (*)")};
}

TMusicLoader::TMusicLoader(TPlaylist& playlist, TMusicLoaderHost& host, TRandomSource& random,
                           QString soundFolder, QObject* parent)
    : QObject(parent), playlist_(playlist), host_(host), random_(random),
      soundFolder_(std::move(soundFolder)) {
    connect(this, &TMusicLoader::WorkerDone, this, &TMusicLoader::FinishLoad, Qt::QueuedConnection);
}

TMusicLoader::~TMusicLoader() {
    CancelSearch();
    JoinWorker();
}

void TMusicLoader::JoinWorker() {
    if (worker_.joinable()) worker_.join();
}

void TMusicLoader::CancelSearch() {
    if (cancel_) cancel_->store(true);
}

void TMusicLoader::LoadMusic(const QString& select) {
    if (playlist_.Busy()) return;
    playlist_.SetBusy(true);
    host_.CloseCurrentFile();
    AddRecentSource(musicSource_, recent_);
    host_.RecentSourcesChanged();
    if (loadMode_ != TLoadMode::AddPending) playlist_.Clear();
    const QStringList items = loadMode_ == TLoadMode::AllSources ? SplitSources(musicSource_)
                                                                 : QStringList{pendingSource_};
    const TCollectOptions options{withSubfolders_, soundFolder_};
    JoinWorker();
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    selectAfterLoad_ = select;
    ++searches_;
    emit SearchStarted();
    // Worker thread from here: it sees only its copies, the cancel flag and
    // found_, which nothing else touches until FinishLoad has joined it.
    worker_ = std::thread([this, items, options, cancel = cancel_] {
        std::vector<FList> entries;
        QStringList cutLists;
        for (const QString& item : items) {
            if (cancel->load()) break;
            bool cut = false;
            std::vector<FList> more = CollectSourceEntries(item, options, cancel.get(), &cut);
            entries.insert(entries.end(), std::make_move_iterator(more.begin()),
                           std::make_move_iterator(more.end()));
            if (cut) cutLists << item;
        }
        found_ = std::move(entries);
        cutLists_ = std::move(cutLists);
        emit WorkerDone(QPrivateSignal());
    });
}

void TMusicLoader::FinishLoad() {
    JoinWorker();
    std::vector<FList> entries = std::exchange(found_, {});
    const QStringList cutLists = std::exchange(cutLists_, {});
    const QString select = std::exchange(selectAfterLoad_, {});
    --searches_;
    emit SearchFinished();
    playlist_.Append(std::move(entries));
    host_.PlaylistChanged();
    if (select.isEmpty()) {
        playlist_.SetOrderPosition(0);
    } else {
        const auto& all = playlist_.Entries();
        const auto it = std::find_if(all.begin(), all.end(),
                                     [&](const FList& entry) { return entry.S2 == select; });
        if (it != all.end()) playlist_.SelectPending(int(it - all.begin()));
    }
    playlist_.ShufflePlayOrder(random_);
    if (!randomChoice_) host_.HoldNextAdvance();
    playlist_.SetBusy(false);
    for (const QString& list : cutLists)
        host_.ShowLoadMessage(LongListMessage(list));
    emit LoadFinished();
}

void TMusicLoader::RaiseLoadRequest() {
    loadRequested_ = true;
    emit LoadRequestRaised();
}

bool TMusicLoader::ApplyPendingSource() {
    if (loadMode_ == TLoadMode::AddPending && !musicSource_.isEmpty())
        return AddSource(pendingSource_, musicSource_);
    musicSource_ = pendingSource_;
    return true;
}

bool TMusicLoader::ChooseMusicSource(int tag, const TSourceChooser& chooser) {
    if (playlist_.Busy() || tag < 1 || tag > 4) return false;
    TSourceRequest request;
    const QString first = FirstSource(musicSource_);
    if (IsExistingFolder(first) || LookUpFile(QFileInfo(first).absoluteFilePath()))
        request.start = first;
    request.folder = tag <= 2;
    if (request.folder)
        request.title = QString::fromUtf8(kFolderDialogTitle);
    else
        request.filters = PlaylistFileFilters();
    const QString chosen = chooser(request);
    if (chosen.isEmpty()) return false;
    loadMode_ = TLoadMode(request.folder ? tag : tag - 2);
    pendingSource_ = chosen;
    RaiseLoadRequest();
    return true;
}

bool TMusicLoader::ChooseRecentSource(const QString& source) {
    if (playlist_.Busy() || source.isEmpty()) return false;
    loadMode_ = TLoadMode::AllSources;
    pendingSource_ = source;
    RaiseLoadRequest();
    return true;
}

bool TMusicLoader::OpenMusicTarget(const QString& path) {
    const QString target = ResolveShellLink(path);
    if (target.size() <= 3) return false;
    const bool folder = IsExistingFolder(target);
    if (!folder && !LookUpFile(QFileInfo(target).absoluteFilePath())) return false;
    if (folder) {
        loadMode_ = TLoadMode::PendingOnly;
        pendingSource_ = target;
        RaiseLoadRequest();
    } else if (IsPlaylistFile(target)) {
        musicSource_.clear();
        loadMode_ = TLoadMode::PendingOnly;
        pendingSource_ = target;
        RaiseLoadRequest();
    } else {
        const QString file = QFileInfo(target).absoluteFilePath();
        musicSource_ = QFileInfo(file).path();
        loadMode_ = TLoadMode::PendingOnly;
        pendingSource_ = musicSource_;
        host_.SwitchPlaybackOn();
        LoadMusic(file);
    }
    host_.ShowPlaylistWindow();
    return true;
}

bool TMusicLoader::OpenMusicFiles(const QStringList& paths) {
    if (Loading()) return false;
    QStringList files;
    for (const QString& path : paths)
        if (LookUpFile(QFileInfo(path).absoluteFilePath()))
            files << QFileInfo(path).absoluteFilePath();
    if (files.isEmpty()) return false;
    host_.CloseCurrentFile();
    AddFiles(files, true);
    playlist_.SelectPending(0);
    if (!randomChoice_) host_.HoldNextAdvance();
    host_.SwitchPlaybackOn();
    host_.ShowPlaylistWindow();
    return true;
}

bool TMusicLoader::AddFiles(const QStringList& paths, bool clearFirst) {
    if (playlist_.Busy()) return false;
    if (clearFirst) playlist_.Clear();
    for (const QString& path : paths)
        playlist_.Append(FileEntry(path));
    playlist_.ShufflePlayOrder(random_);
    host_.PlaylistChanged();
    return true;
}

} // namespace dorvane
