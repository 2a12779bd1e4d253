// The playlist window: the playlist's rows, the two tool bars of commands
// and transport, the level meter beside the list and the status bar with
// the totals, the progress of the track and its times. It reads its
// settings when it is made and writes them when it goes, and otherwise only
// shows the engine's state and hands the user's commands to the engine,
// its loader and the list edits of src/music.
#pragma once

#include "music/playlist_edit.h"
#include "music/playlist_window_settings.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QSlider;
class QSpinBox;
class QSplitter;
class QToolBar;
class QToolButton;

namespace dorvane {

class SettingsAccess;
class TKvoIndicator;
class TMusicEngine;
class TPlaylistBox;
class TProgressStrip;

class TMusicForm : public QMainWindow {
    Q_OBJECT

public:
    // gameWindow is the game window's frame, the place the window goes
    // beside when it has no stored bounds.
    TMusicForm(TMusicEngine& engine, SettingsAccess& store, const QRect& gameWindow,
               QWidget* parent = nullptr);
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

    // The timers' steps: the status bar (every second), the meter (50 ms).
    void StatusTick();
    void FrameTick();

    TPlaylistBox* List() const { return list_; }
    TKvoIndicator* Indicator() const { return indicator_; }
    QProgressBar* Progress() const;
    QString PanelText(int panel) const;
    QToolBar* ChoiceBar() const { return choiceBar_; }
    QToolBar* PlaybackBar() const { return playbackBar_; }

signals:
    // Commands that belong to other windows: the game window, the
    // visualiser and the screen saver.
    void RaiseGameWindowRequested();
    void VisualiserRequested();
    void ScreenSaverRequested(bool withVisualiser);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildChoiceBar();
    void BuildPlaybackBar();
    void BuildMainArea();
    void BuildStatusBar();
    void ApplySettings();
    void PlaceToolBars();
    void ApplyListLook();
    void ApplyIndicatorPreset(int preset);
    void WriteSettings();

    void ChooseSource(int tag);
    void Save();
    void Sort(TSortKey key, std::optional<bool> descending);
    void DeleteRow(int row);
    void MoveRow(int from, int to);
    void PlayRow(int row);
    void ShowIndicatorMenu(QPoint globalPos);
    QString RowHint(int row);

    TMusicEngine& engine_;
    SettingsAccess& store_;
    TPlaylistWindowSettings settings_;
    TRandom random_;

    QToolBar* choiceBar_ = nullptr;
    QToolBar* playbackBar_ = nullptr;
    QToolButton* historyButton_ = nullptr;
    QMenu* historyMenu_ = nullptr;
    QAction* play_ = nullptr;
    QAction* pause_ = nullptr;
    QAction* random_Action_ = nullptr;
    QAction* oneClick_ = nullptr;
    QAction* mute_ = nullptr;
    QSlider* volume_ = nullptr;
    QSpinBox* speed_ = nullptr;

    QSplitter* splitter_ = nullptr;
    TPlaylistBox* list_ = nullptr;
    TKvoIndicator* indicator_ = nullptr;
    QLabel* totals_ = nullptr;
    TProgressStrip* progress_ = nullptr;
    QLabel* panels_[3] = {};

    TSortKey sortKey_ = TSortKey::Title;
    bool sortDescending_ = false;

    QTimer statusTimer_;
    QTimer frameTimer_;
};

} // namespace dorvane
