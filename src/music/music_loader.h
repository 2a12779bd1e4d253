// Filling the playlist: the sources (MusicSource, PendingSource, LoadMode,
// the history), LoadMusic, the source dialogs' requests, files dropped on
// the player and files picked one by one.
//
// LoadMusic reads the lists and searches the folders on a worker thread and
// hands the entries back to the UI thread by a queued call; meanwhile the
// playlist is busy, and LongOperationRunning() tells the close query to
// wait. The UI thread never runs an event loop of its own for it. Esc in the
// wait window (src/musicui) calls CancelSearch: the files found so far are
// kept and the load ends with them.
#pragma once

#include "game/random.h"
#include "music/folder_search.h"
#include "music/playlist.h"
#include "music/playlist_entry.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace dorvane {

// LoadMode.
enum class TLoadMode {
    AllSources = 0,  // every item of MusicSource, replacing the playlist
    PendingOnly = 1, // PendingSource, replacing the playlist
    AddPending = 2,  // PendingSource, added to the playlist
};

// What the loader asks of the rest of the player (the engine, the playlist
// window). UI thread.
class TMusicLoaderHost {
public:
    virtual ~TMusicLoaderHost() = default;
    virtual void CloseCurrentFile() = 0;     // the engine's "close"
    virtual void RecentSourcesChanged() = 0; // the history menu
    virtual void PlaylistChanged() = 0;      // caption, list lines, totals
    virtual void HoldNextAdvance() = 0;      // the next start plays CurrentIndex itself
    virtual void SwitchPlaybackOn() = 0;     // the play check
    virtual void ShowPlaylistWindow() = 0;   // created if needed, brought to the front
    virtual void ShowLoadMessage(const QString& text) = 0; // the player's message box
};

// How the items of a load are read.
struct TCollectOptions {
    bool withSubfolders = false; // "MusicAddSub"
    QString soundFolder;         // takes the place of an item that does not exist
};

// The entries one source item gives: an existing file is read as a
// playlist, a folder (or in place of anything else the sound folder) is
// searched for sound files. Any thread; the loader's worker and the tool use
// it. cancel ends the reading of a list or a folder with what it found; cut
// is set when a list held more than kMaxListEntries entries.
std::vector<FList> CollectSourceEntries(const QString& item, const TCollectOptions& options,
                                        const std::atomic<bool>* cancel = nullptr,
                                        bool* cut = nullptr);

// The entry of a file picked in the file dialog (size and time 0 when it is
// not there).
FList FileEntry(const QString& path);

// A source dialog's question (ChooseMusicSource).
struct TSourceRequest {
    bool folder = true;  // a folder dialog, else an open-file dialog
    QString title;       // the folder dialog's
    QStringList filters; // the file dialog's, first one selected
    QString start;       // an existing folder or file, or empty
};
// The chosen path; empty when cancelled.
using TSourceChooser = std::function<QString(const TSourceRequest&)>;

inline constexpr const char* kFolderDialogTitle = "Выбор директории содержащей звуковые файлы";
QStringList PlaylistFileFilters();

class TMusicLoader : public QObject {
    Q_OBJECT

public:
    // random draws the play order; the player's own source, so that music
    // never disturbs the game's draws.
    TMusicLoader(TPlaylist& playlist, TMusicLoaderHost& host, TRandomSource& random,
                 QString soundFolder, QObject* parent = nullptr);
    // Cancels a load in progress and waits for its worker; its entries are
    // dropped.
    ~TMusicLoader() override;

    const QString& MusicSource() const { return musicSource_; }
    void SetMusicSource(const QString& sources) { musicSource_ = sources; }
    const QString& PendingSource() const { return pendingSource_; }
    void SetPendingSource(const QString& source) { pendingSource_ = source; }
    TLoadMode LoadMode() const { return loadMode_; }
    void SetLoadMode(TLoadMode mode) { loadMode_ = mode; }
    const QStringList& RecentSources() const { return recent_; }
    void SetRecentSources(QStringList recent) { recent_ = std::move(recent); }
    bool WithSubfolders() const { return withSubfolders_; }
    void SetWithSubfolders(bool on) { withSubfolders_ = on; }
    bool RandomChoice() const { return randomChoice_; }
    void SetRandomChoice(bool on) { randomChoice_ = on; }

    // Rebuilds or extends the playlist by LoadMode; select names the file to
    // become the pending selection once loaded. Returns at once; the load
    // ends with LoadFinished. Does nothing while a load runs.
    void LoadMusic(const QString& select);
    bool LongOperationRunning() const { return searches_ > 0; }
    // UI thread; Esc in the wait window.
    void CancelSearch();

    // The load request the engine's tick serves.
    bool LoadRequested() const { return loadRequested_; }
    void ClearLoadRequest() { loadRequested_ = false; }
    // Serving a request, before LoadMusic: an adding load puts PendingSource
    // into MusicSource (false, and nothing to load, when it is there
    // already); the others make it the MusicSource.
    bool ApplyPendingSource();

    // Menu tags 1 open folder, 2 add folder, 3 open list, 4 add list. False
    // when the dialog was cancelled (nothing changed) or a load runs.
    bool ChooseMusicSource(int tag, const TSourceChooser& chooser);
    // An item of the history: it becomes the whole source (LoadMode 0).
    // False while a load runs.
    bool ChooseRecentSource(const QString& source);
    // A folder, list or sound file dropped on the player. False when the
    // path names nothing.
    bool OpenMusicTarget(const QString& path);
    // Several sound files named together (a file manager's selection): the
    // playlist becomes those of them that exist, in order, and the first
    // plays. False while a load runs or waits, or when none exists.
    bool OpenMusicFiles(const QStringList& paths);
    // A load runs, or waits for the engine's tick to start it.
    bool Loading() const { return playlist_.Busy() || loadRequested_; }
    // Files picked in the "Файл" dialog: open (clearFirst) or add. False
    // while a load runs.
    bool AddFiles(const QStringList& paths, bool clearFirst);

signals:
    void LoadRequestRaised();
    void SearchStarted();
    void SearchFinished();
    void LoadFinished();
    // From the worker thread, queued to the UI thread.
    void WorkerDone(QPrivateSignal);

private:
    void RaiseLoadRequest();
    void FinishLoad();
    void JoinWorker();

    TPlaylist& playlist_;
    TMusicLoaderHost& host_;
    TRandomSource& random_;
    QString soundFolder_;
    QString musicSource_;
    QString pendingSource_;
    TLoadMode loadMode_ = TLoadMode::AllSources;
    QStringList recent_;
    bool withSubfolders_ = false;
    bool randomChoice_ = true;
    bool loadRequested_ = false;
    int searches_ = 0;
    std::shared_ptr<std::atomic<bool>> cancel_;
    QString selectAfterLoad_;
    // Written by the worker only; read on the UI thread after joining it, so
    // that the join orders the two (a queued call through Qt's own locks
    // would too, but no race detector sees inside an uninstrumented Qt).
    std::vector<FList> found_;
    QStringList cutLists_; // the lists read up to kMaxListEntries
    std::thread worker_;
};

} // namespace dorvane
