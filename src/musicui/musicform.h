// The playlist window: the playlist's rows, the two tool bars of commands
// and transport, the level meter beside the list and the status bar with
// the totals, the progress of the track and its times. It reads its
// settings when it is made and writes them when it goes, and otherwise only
// shows the engine's state and hands the user's commands to the engine,
// its loader and the list edits of src/music.
#pragma once

#include "music/music_loader.h"
#include "music/playlist_edit.h"
#include "music/playlist_view.h"
#include "music/playlist_window_settings.h"
#include "music/playlist_writer.h"
#include "musicui/volume_program.h"
#include "widgets/launch.h"

#include <QMargins>
#include <QMainWindow>
#include <QProgressBar>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QSlider;
class QSpinBox;
class QSplitter;
class QToolBar;
class QToolButton;

namespace dorvane {

class SettingsAccess;
class TInputForm;
class TKvoIndicator;
class TQueryIDForm;
class TMessageService;
class TMusicEngine;
class TPlaylistBox;

// The status bar's progress bar: a left click asks for a seek there.
class TProgressStrip final : public QProgressBar {
    Q_OBJECT

public:
    using QProgressBar::QProgressBar;

signals:
    void Clicked(int x, int width);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

struct TMusicFormParts {
    TMusicEngine* engine = nullptr;
    SettingsAccess* store = nullptr;     // none: the defaults, nothing written
    QRect gameWindow;                    // its frame: the default place is beside it
    QRect workArea;                      // of the screen the window goes on
    QMargins frame;                      // its window manager's frame, as far as known
    TLengthProbe lengthProbe;            // lengths of files that are not MP3
    std::function<QString()> outputName; // the stream path's sound output
    TVolumeProgram volumeProgram;
    TDesktopRequest propertiesRequest = FileManagerProperties(); // "Свойства"
};

class TMusicForm final : public QMainWindow {
    Q_OBJECT

public:
    explicit TMusicForm(TMusicFormParts parts, QWidget* parent = nullptr);
    ~TMusicForm() override;

    // What the engine's host passes on.
    void SwitchesChanged();
    void SelectRow(int row);
    void SetSpeedBoxEnabled(bool enabled);
    void SetVolume(int percent);
    void SetMute(bool on);
    // After the playlist or its source changed.
    void LetCaption();
    void LetListBox();
    void SetTotal();
    void LetMenuMusic();
    // The settings were reset: the window's are not written back.
    void ForgetSettings() { settingsWritable_ = false; }

    // The timers' steps: the status bar (every second), the meter (50 ms).
    void StatusTick();
    void FrameTick();

    // The commands, for the keys, the buttons and the menus alike.
    void DeleteSelected();
    void MoveRow(int from, int to);
    void Sort(int tag); // 0..5 the key, 100/101 the direction
    void EditEntryTitle();
    // The tag query's window, with entries only; the list is not drawn while
    // the query changes its entries and is rebuilt once at its end.
    void QueryTags();
    void ApplyScheme(int number);
    void SetColumnChoice(int choice);
    void ApplyIndicatorPreset(int preset);
    void NextIndicatorPreset();

    // How the commands ask; by default the program's dialogs.
    void SetSaveChooser(TSaveChooser chooser) { saveChooser_ = std::move(chooser); }
    void SetMessages(TMessageService* messages) { messages_ = messages; }

    TPlaylistBox* List() const { return list_; }
    TKvoIndicator* Indicator() const { return indicator_; }
    TProgressStrip* Progress() const { return progress_; }
    QString TotalsText() const;
    QString PanelText(int panel) const; // 1..3
    QToolBar* ChoiceBar() const { return choiceBar_; }
    QToolBar* PlaybackBar() const { return playbackBar_; }
    QAction* PlayAction() const { return play_; }
    QSpinBox* SpeedBox() const { return speed_; }
    TInputForm* TitleEditor() const { return titleEditor_; }
    TQueryIDForm* QueryWindow() const { return queryWindow_; }
    QMenu* ContextMenu() const { return contextMenu_; }
    const TPlaylistWindowSettings& Settings() const { return settings_; }
    int IndicatorPresetNumber() const { return settings_.IndicatorCS; }

signals:
    // "Открыть"/"Добавить" folders and lists: tags of ChooseMusicSource.
    void SourceRequested(int tag);
    void RaiseGameWindowRequested();
    // The visualiser, opened or brought to the front.
    void VisualiserRequested();
    // The screen saver, with the visualiser above it or without.
    void ScreenSaverRequested(bool withVisualiser);
    // A file or folder dropped on the window.
    void TargetDropped(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // musicform.cpp
    void BuildMainArea();
    void BuildStatusBar();
    void ApplySettings();
    void ApplyListLook();
    void CollectSettings();
    void PlaceToolBars();
    void SetIndicatorWidth(int width);
    QString RowHint(int row);
    QString ProgressHint() const;
    void PlayRow(int row);
    void RowActivated(int row, Qt::KeyboardModifiers modifiers);
    void TitleEdited(int row, const QString& path, const QString& text);

    // musicform_menus.cpp
    QAction* Command(const QString& text, const QKeySequence& key, std::function<void()> run);
    void BuildActions();
    void BuildChoiceBar();
    void BuildPlaybackBar();
    void BuildContextMenu();
    QMenu* SourceMenu(const QString& title, bool open);
    QMenu* SortMenu();
    QMenu* SchemeMenu();
    QMenu* ColumnsMenu();
    void ShowContextMenu(QPoint globalPos, int row);
    void ShowIndicatorMenu(QPoint globalPos);
    void ChooseFiles(bool clearFirst);
    void ChooseRecent(const QString& source);
    void ClearRecent();
    void Save();
    void ChooseColour(int which);
    void SetFontPreset(int preset);
    void ChooseFont();
    void FileCommand(int which);
    void StartVolume(bool playbackPage);

    TMusicFormParts parts_;
    TMusicEngine& engine_;
    TPlaylistWindowSettings settings_;
    bool settingsWritable_ = true;
    bool shown_ = false; // the splitter takes the meter's width once it has its own
    TRandom random_;
    int sortType_ = 0;
    int sortDirection_ = 100;
    int itemPopup_ = -1;
    int hintRow_ = -1;
    TSaveChooser saveChooser_;
    TMessageService* messages_ = nullptr;
    std::unique_ptr<TMessageService> ownMessages_;

    QToolBar* choiceBar_ = nullptr;
    QToolBar* playbackBar_ = nullptr;
    QMenu* historyMenu_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* history_ = nullptr;
    QAction* play_ = nullptr;
    QAction* pause_ = nullptr;
    QAction* random_Choice_ = nullptr;
    QAction* oneClick_ = nullptr;
    QAction* mute_ = nullptr;
    QAction* subfolders_ = nullptr;
    QAction* hints_ = nullptr;
    QAction* volumeProgram_ = nullptr;
    QActionGroup* columnChoices_ = nullptr;
    QSlider* volume_ = nullptr;
    QSpinBox* speed_ = nullptr;

    QSplitter* splitter_ = nullptr;
    TPlaylistBox* list_ = nullptr;
    QWidget* indicatorPanel_ = nullptr;
    TKvoIndicator* indicator_ = nullptr;
    QWidget* panel0_ = nullptr;
    QLabel* totals_ = nullptr;
    TProgressStrip* progress_ = nullptr;
    std::array<QLabel*, 3> panels_{};
    TInputForm* titleEditor_ = nullptr;
    TQueryIDForm* queryWindow_ = nullptr;

    QTimer statusTimer_;
    QTimer frameTimer_;
};

} // namespace dorvane
