// Keeps the desktop's own screen saver from starting while the program's
// screen saver or the full-screen visualiser is shown, or while the
// visualiser draws: org.freedesktop.ScreenSaver's Inhibit and UnInhibit on
// the session bus, called without waiting for the answer. Without a session
// bus or without the service nothing happens and nothing is reported.
#pragma once

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
    void GiveBack();

    int holds_ = 0;
    bool asking_ = false;
    std::optional<std::uint32_t> cookie_;
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
