// The visualiser's window: the 640 x 320 picture of TScopePicture, in a
// small always-on-top window or stretched across the screen, with the
// music's transport in its menu and keys. A 10 ms timer draws a frame
// whenever the engine has a fresh snapshot for it.
#pragma once

#include "musicui/scope_picture.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QMenu;

namespace dorvane {

class SettingsAccess;
class TDisplayHold;
class TMusicEngine;

struct TScopeFormParts {
    TMusicEngine* engine = nullptr;
    SettingsAccess* store = nullptr;          // none: the defaults, nothing written
    std::function<void(int)> chooseSource;    // ChooseMusicSource tags 1..4
    std::function<bool()> programHidden;      // the program's windows are in the tray
    std::function<bool()> screenSaverRunning; // blocks the menu's item
};

class TScopeForm final : public QWidget {
    Q_OBJECT

public:
    explicit TScopeForm(TScopeFormParts parts, QWidget* parent = nullptr);
    ~TScopeForm() override;

    TScopePicture& Picture() { return picture_; }
    int Style() const { return picture_.Style(); }
    // A new style clears the picture and renames the window.
    void SetStyle(int style);
    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool on);
    // The timer's step: a frame when there is a fresh snapshot to show.
    void FrameTick();
    // After the settings were erased: nothing is written back.
    void ForgetSettings() { settingsWritable_ = false; }

    // The screen saver's placement: borderless and centred over it, then
    // back to the border and the position it had.
    void EnterSaverPlacement();
    void LeaveSaverPlacement();

    bool InfoLinesShown() const { return infoLines_; }
    const QString& BannerText() const { return bannerText_; }
    int FramesLastSecond() const { return framesLastSecond_; }

signals:
    void ScreenSaverRequested(); // with the visualiser

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QMenu* MakeMenu();
    void ShowMenu(const QPoint& global);
    void UpdateCaption();
    void SecondTick();
    QStringList InfoLines() const;

    TScopeFormParts parts_;
    TScopePicture picture_;
    QTimer frameTimer_;
    QTimer secondTimer_;
    QElapsedTimer clock_;
    std::int64_t lastFrameAt_ = -1; // clock_'s time of the last frame drawn
    QString bannerText_;
    bool customBanner_ = false; // Ctrl+A's text stands until the track changes
    int lastOrder_ = -1;
    bool fullScreen_ = false;
    bool infoLines_ = false;
    bool helpLine_ = false;
    int frames_ = 0;
    int framesLastSecond_ = 0;
    bool settingsWritable_ = true;
    QPoint dragFrom_;
    bool dragging_ = false;
    QPoint normalPos_;
    QPoint saverPos_;
    bool inSaver_ = false;
    Qt::WindowFlags savedFlags_;
    std::unique_ptr<TDisplayHold> fullScreenHold_;
};

// The text Ctrl+A shows in the banner; kept scrambled in the program.
QString ScopeInformationText();

} // namespace dorvane
