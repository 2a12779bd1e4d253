#include "shell/instance_channel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

namespace dorvane {

namespace {

using Clock = std::chrono::steady_clock;

// A client that has not sent its whole message by then is dropped: a stuck
// or hostile client must not hold a connection open.
constexpr int kClientMs = 2000;

int Remaining(Clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    return int(std::max<std::int64_t>(0, left.count()));
}

QByteArray Number(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

std::optional<quint32> SendInstanceRequest(const QString& serverPath, TInstanceRequest kind,
                                           quint32 number, const QString& text,
                                           std::chrono::milliseconds timeout) {
    const Clock::time_point until = Clock::now() + timeout;
    QByteArray body(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    body.append(2, '\0'); // the terminator, as a window message's text has it
    if (body.size() > kInstanceTextBytes) return std::nullopt;
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    if (!socket.waitForConnected(Remaining(until))) return std::nullopt;
    socket.write(Number(quint32(kind)) + Number(number) + Number(quint32(body.size())) + body);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(Remaining(until))) return std::nullopt;
    while (socket.bytesAvailable() < 4)
        if (Remaining(until) == 0 || !socket.waitForReadyRead(Remaining(until)))
            return std::nullopt;
    const QByteArray answer = socket.read(4);
    return qFromLittleEndian<quint32>(answer.constData());
}

TInstanceServer::TInstanceServer(QObject* parent) : QObject(parent) {}

TInstanceServer::~TInstanceServer() {
    if (server_) server_->close(); // removes the socket file
}

bool TInstanceServer::Listen(const QString& path) {
    if (!server_) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, &TInstanceServer::Accept);
    }
    if (server_->listen(path)) return true;
    QLocalServer::removeServer(path);
    return server_->listen(path);
}

void TInstanceServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        QTimer::singleShot(kClientMs, socket, [socket] { socket->abort(); });
        Read(socket);
    }
}

void TInstanceServer::Read(QLocalSocket* socket) {
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    if (socket->bytesAvailable() < kInstanceHeaderBytes) return;
    const QByteArray header = socket->peek(kInstanceHeaderBytes);
    const auto kind = qFromLittleEndian<quint32>(header.constData());
    const auto number = qFromLittleEndian<quint32>(header.constData() + 4);
    const auto size = qFromLittleEndian<quint32>(header.constData() + 8);
    if (size > quint32(kInstanceTextBytes)) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kInstanceHeaderBytes + qint64(size)) return;
    socket->read(kInstanceHeaderBytes);
    const QByteArray body = socket->read(size);
    socket->setProperty("answered", true);
    // Answer first: whatever the request starts (a file opening, the close)
    // must not keep the sender waiting.
    socket->write(Number(Handle(TInstanceRequest(kind), number, body)));
    socket->flush();
    socket->disconnectFromServer();
}

quint32 TInstanceServer::Handle(TInstanceRequest kind, quint32 number, const QByteArray& body) {
    switch (kind) {
    case TInstanceRequest::CopyData: {
        if (number != 1) return 1;
        // The text up to its terminator; the byte count only bounds it.
        const auto* chars = reinterpret_cast<const char16_t*>(body.constData());
        qsizetype length = 0;
        const qsizetype most = body.size() / 2;
        while (length < most && chars[length] != 0)
            ++length;
        const QString text = QString::fromUtf16(chars, length);
        QTimer::singleShot(0, this, [this, text] { emit TextReceived(text); });
        return 0;
    }
    case TInstanceRequest::Quit:
        QTimer::singleShot(0, this, [this] { emit QuitRequested(); });
        return 0;
    case TInstanceRequest::BringForward:
        QTimer::singleShot(0, this, [this] { emit BringForwardRequested(); });
        return 0;
    }
    return 1;
}

} // namespace dorvane
