// The running copy's mailbox, a local socket in the user's runtime folder
// (KvoDorvaneApp): a later start or another program asks it to bring its
// windows forward, to end (the old copy of a restart), or hands it a text
// the way a window message with data would.
//
// One message per connection, little-endian: kind, data number, byte count
// (at most 8192), then that many bytes of UTF-16 text. The answer is one
// number: 0 = taken, 1 = not understood and ignored.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace dorvane {

enum class TInstanceRequest : quint32 {
    CopyData = 0x004A,     // data number 1 + a UTF-16 text: opened like a hand-over
    Quit = 0x0012,         // end the way the window's close does
    BringForward = 0x0401, // show, restore and raise the windows
};

inline constexpr int kInstanceHeaderBytes = 12;
inline constexpr int kInstanceTextBytes = 8192;

// A later start's side: sends one message and waits for the answer, for at
// most timeout altogether. Empty when nobody answered in time (no copy runs,
// or it hangs).
std::optional<quint32> SendInstanceRequest(const QString& serverPath, TInstanceRequest kind,
                                           quint32 number, const QString& text,
                                           std::chrono::milliseconds timeout);

class TInstanceServer final : public QObject {
    Q_OBJECT
public:
    explicit TInstanceServer(QObject* parent = nullptr);
    ~TInstanceServer() override;

    // Listens at path, replacing a socket left by a copy that is gone (the
    // caller holds the event, so no live copy listens there but a hung one).
    bool Listen(const QString& path);

signals:
    void TextReceived(const QString& text);
    void QuitRequested();
    void BringForwardRequested();

private:
    void Accept();
    void Read(QLocalSocket* socket);
    quint32 Handle(TInstanceRequest kind, quint32 number, const QByteArray& body);

    QLocalServer* server_ = nullptr;
};

} // namespace dorvane
