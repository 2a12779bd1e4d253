// Keeps the desktop's own screen saver from starting while the program's
// screen saver or the full-screen visualiser is shown, or while the
// visualiser draws. The desktop is asked through org.freedesktop.ScreenSaver
// (Inhibit / UnInhibit with a cookie); where that service is missing, as in
// sandboxes and on some Wayland desktops, through the desktop portal's
// org.freedesktop.portal.Inhibit (the idle flag; released by closing the
// request it answers with). Every call goes out without waiting for its
// answer. Without a session bus or without either service nothing happens
// and nothing is reported.
#pragma once

#include <QDBusObjectPath>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace dorvane {

class TDisplayInhibitor final : public QObject {
    Q_OBJECT

public:
    // The one of the program (made on first use, owned by the application).
    static TDisplayInhibitor& Instance();

    // Counted: the first hold asks for the inhibition, the last release
    // gives it back.
    void Hold();
    void Release();
    // A hold that lapses by itself when no further call comes within ms.
    void HoldFor(int ms);

    bool Held() const { return holds_ > 0; }

private:
    explicit TDisplayInhibitor(QObject* parent);
    void Ask();
    void AskPortal();
    // An answer has come (or the last try failed): a release meanwhile
    // gives the inhibition straight back.
    void Answered();
    void GiveBack();

    int holds_ = 0;
    bool asking_ = false;
    std::optional<std::uint32_t> cookie_;    // org.freedesktop.ScreenSaver's
    std::optional<QDBusObjectPath> request_; // the portal's
    QTimer lapse_;
};

// Holds the inhibitor for its lifetime.
class TDisplayHold {
public:
    TDisplayHold() { TDisplayInhibitor::Instance().Hold(); }
    ~TDisplayHold() { TDisplayInhibitor::Instance().Release(); }
    TDisplayHold(const TDisplayHold&) = delete;
    TDisplayHold& operator=(const TDisplayHold&) = delete;
};

} // namespace dorvane
