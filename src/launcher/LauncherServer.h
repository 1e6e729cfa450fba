#pragma once
// The launcher's local server: other programs (and a newer launcher) send one request
// line and read one answer line. Lines over 256 bytes or unknown are dropped, and a
// client that sends nothing for a second is cut off.
#include <QByteArray>
#include <QLocalServer>
#include <QString>
#include <functional>

namespace mvx::spirit {

class LauncherServer final : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<QByteArray(const QByteArray &line)>;
    explicit LauncherServer(Handler handler, QObject *parent = nullptr);

    // Listens at the name, replacing a socket a dead launcher left behind; call only
    // while holding the launcher's lock.
    bool listen(const QString &name);
    [[nodiscard]] QString fullName() const { return m_server.fullServerName(); }

private:
    void accept();

    Handler m_handler;
    QLocalServer m_server;
};

// Sends one line to a server and waits for its answer; "" when there is none in time.
[[nodiscard]] QByteArray AskServer(const QString &name, const QByteArray &line, int timeoutMs);

} // namespace mvx::spirit
