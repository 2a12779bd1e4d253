// The attention behaviour of the program's modal dialogs. When a dialog
// opens, the pointer glides onto one of its controls. While it is the
// active modal dialog, a mouse button released anywhere in the program
// brings it forward; when that was outside the dialog, the dialog is
// flashed (QApplication::alert) and the pointer glides to its closing
// button, where the dialog names one, and the dialog flashes once more when
// the pointer arrives.
//
// The releases are watched by an application event filter, one per dialog
// class as long as a dialog of that class lives. Qt does not deliver clicks
// on a window that a modal dialog blocks; on X11 a native event filter sees
// those button releases and hands them to the same decision.
#pragma once

#include "widgets/kvocursorto.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>

class QDialog;

namespace dorvane {

class TAttention final : public QObject {
public:
    enum class TDecision { Ignore, Raise, Flash };

    // What a released button means for the active modal dialog: nothing
    // unless attention is enabled, the dialog is the active modal one and it
    // was the left or right button; a release on one of the dialog's own
    // controls is its own business; anything else raises the dialog, and
    // flashes it when the pointer is outside the dialog's frame.
    static TDecision Decide(bool enabled, bool dialogIsActiveModal, Qt::MouseButton button,
                            bool onOwnControl, const QRect& dialogFrame, const QPoint& global);

    // dialogClass names the kind of dialog (one filter per kind); glideTo is
    // where the pointer goes when the dialog opens, closeButton where it goes
    // after a click outside (none: the glide's control stays).
    TAttention(QDialog* dialog, const QString& dialogClass, QWidget* glideTo,
               QWidget* closeButton = nullptr);
    ~TAttention() override;

    // Cleared while a dialog of another program (the music player's folder
    // browser) is open over the program; true at start.
    static bool AttentionEnabled();
    static void SetAttentionEnabled(bool on);

    TKvoCursorTo& CursorTo() { return cursorTo_; }
    bool FlashStart() const { return flashStart_; }
    bool SetHook() const { return setHook_; }
    // How the dialog is flashed; QApplication::alert by default.
    void SetAlert(std::function<void(QWidget*)> alert) { alert_ = std::move(alert); }

    // A button released at global (screen coordinates); onOwnControl when it
    // was delivered to one of the dialog's own widgets.
    void Released(Qt::MouseButton button, const QPoint& global, bool onOwnControl);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TNativeReleases;
    struct TSeenRelease {
        quint64 timestamp = 0;
        QPoint global;
        Qt::MouseButton button = Qt::NoButton;
        bool operator==(const TSeenRelease&) const = default;
    };
    void Flash();

    // A widget, not a dialog: the filter still sees events while the
    // dialog is being destroyed, when it is a QDialog no more.
    QPointer<QWidget> dialog_;
    QString class_;
    QPointer<QWidget> closeButton_;
    TKvoCursorTo cursorTo_;
    bool flashStart_ = false;
    bool setHook_ = false;
    bool shown_ = false;
    TSeenRelease lastSeen_;
    std::function<void(QWidget*)> alert_;
};

} // namespace dorvane
