#include "launcher/LauncherServer.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

namespace mvx::spirit {

namespace {
constexpr int kMaxLine = 256;
constexpr int kSilentMs = 1000;
} // namespace

LauncherServer::LauncherServer(Handler handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &LauncherServer::accept);
}

bool LauncherServer::listen(const QString &name)
{
    QLocalServer::removeServer(name);
    return m_server.listen(name);
}

void LauncherServer::accept()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kSilentMs, socket, [socket] { socket->abort(); socket->deleteLater(); });
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxLine)
                    socket->abort();
                return;
            }
            const QByteArray line = socket->readLine(kMaxLine + 2);
            if (!line.endsWith('\n') || line.size() > kMaxLine + 1) {
                socket->abort();
                return;
            }
            QPointer<QLocalSocket> guard(socket);
            const QByteArray reply = m_handler(line.chopped(1));
            if (!guard)
                return;
            if (!reply.isEmpty()) {
                socket->write(reply + '\n');
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

QByteArray AskServer(const QString &name, const QByteArray &line, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return {};
    socket.write(line + '\n');
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || socket.state() != QLocalSocket::ConnectedState
            || !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
    }
    return socket.canReadLine() ? socket.readLine().trimmed() : QByteArray();
}

} // namespace mvx::spirit
