#include "DdeLink.h"

#include "TempFolder.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

const char AnsweredProperty[] = "vantor_link_answered";
const int ProbeTimeoutMs = 1000;

// The command of a whole line: without its line end, at most MaxLinkCommandBytes, UTF-8.
std::optional<QString> decodeLine(QByteArray line)
{
    if (!line.endsWith('\n')) {
        return std::nullopt;
    }
    line.chop(1);
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.size() > MaxLinkCommandBytes) {
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(line);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

// Whether the start of a line, its end not yet come, can still make a line of at most
// MaxLinkCommandBytes: a CR already there may be the first half of its CR LF.
bool canStillFit(QByteArray start)
{
    if (start.endsWith('\r')) {
        start.chop(1);
    }
    return start.size() <= MaxLinkCommandBytes;
}

// Whether the process at the other end of a connected local socket runs as this user. The socket
// and its folder keep others out, but a folder once left open to them may have let one in.
bool peerIsThisUser(qintptr descriptor)
{
#if defined(Q_OS_LINUX)
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::geteuid();
#elif defined(Q_OS_UNIX)
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(int(descriptor), &uid, &gid) == 0 && uid == ::geteuid();
#else
    // A named pipe's default access list already admits only this user.
    Q_UNUSED(descriptor);
    return true;
#endif
}

} // namespace

QString LinkServerName(const QString &topic)
{
    const QString folder = PrivateTempFolder();
    return folder.isEmpty() ? QString() : folder + topic;
}

DdeSource::DdeSource(QObject *parent) : QObject(parent) {}

DdeSource::~DdeSource()
{
    Close();
}

bool DdeSource::Listen(const QString &topic)
{
    Close();
    const QString name = LinkServerName(topic);
    if (name.isEmpty()) {
        return false;
    }
    const QFileInfo existing(name);
    if (existing.exists() || existing.isSymLink()) {
        // A source that answers keeps its topic; a socket nobody answers on was left by a crash.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(ProbeTimeoutMs)) {
            probe.abort();
            return false;
        }
        QLocalServer::removeServer(name);
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &DdeSource::Accept);
    if (!m_server->listen(name)) {
        delete m_server;
        m_server = nullptr;
        return false;
    }
    return true;
}

void DdeSource::Close()
{
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
}

bool DdeSource::IsListening() const
{
    return m_server && m_server->isListening();
}

QString DdeSource::ServerName() const
{
    return m_server ? m_server->fullServerName() : QString();
}

// Every connection is read as its bytes come, never waited for: a client that sends slowly or
// not at all costs a socket until its deadline, not the user interface.
void DdeSource::Accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, socket] { Answer(socket, false); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        deadline->start(m_deadlineMs);
        Read(socket);
    }
}

void DdeSource::Read(QLocalSocket *socket)
{
    if (socket->property(AnsweredProperty).toBool()) {
        return;
    }
    if (!socket->canReadLine()) {
        if (!canStillFit(socket->peek(MaxLinkCommandBytes + 2))) {
            Answer(socket, false);
        }
        return;
    }
    const std::optional<QString> command = decodeLine(socket->readLine(MaxLinkCommandBytes + 3));
    if (!command) {
        Answer(socket, false);
        return;
    }
    QPointer<QLocalSocket> alive = socket;
    bool Cancel = false;
    emit LinkExecute(*command, Cancel);
    if (alive) {
        Answer(alive, !Cancel);
    }
}

void DdeSource::Answer(QLocalSocket *socket, bool accepted)
{
    if (socket->property(AnsweredProperty).toBool()) {
        return;
    }
    socket->setProperty(AnsweredProperty, true);
    socket->write(accepted ? "OK\n" : "REFUSED\n");
    socket->disconnectFromServer();
}

LinkAnswer DdeExecute(const QString &serverName, const QString &command, int timeoutMs)
{
    if (command.contains('\n') || command.contains('\r')) {
        return LinkAnswer::Refused; // would arrive as another command than the one given
    }
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (serverName.isEmpty() || !socket.waitForConnected(int(deadline.remainingTime()))) {
        return LinkAnswer::NoSource;
    }
    if (!peerIsThisUser(socket.socketDescriptor())) {
        return LinkAnswer::ForeignSource; // the player's addresses are not for another user
    }
    socket.write(command.toUtf8() + '\n');
    socket.flush();
    while (!socket.canReadLine() && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) {
            break;
        }
    }
    if (!socket.canReadLine()) {
        return LinkAnswer::NoAnswer;
    }
    return socket.readLine().trimmed() == "OK" ? LinkAnswer::Accepted : LinkAnswer::Refused;
}

} // namespace platform
