#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// The link by which another program hands a running client a command (the DDE execute of a
// link topic). The source listens on a local socket named after the topic in the user's private
// temporary folder, which only the same user can reach. A request is one UTF-8 line; the answer
// is one line, "OK" or "REFUSED".
namespace platform {

inline constexpr qsizetype MaxLinkCommandBytes = 8192;
inline constexpr int LinkReadDeadlineMs = 5000;

// The socket's path for a topic; empty when there is no private folder.
QString LinkServerName(const QString &topic);

class DdeSource : public QObject {
    Q_OBJECT

public:
    explicit DdeSource(QObject *parent = nullptr);
    ~DdeSource() override;

    // Starts answering on the topic. A socket left by a source that crashed is replaced; one a
    // live source answers on is never taken over (false then, as without a private folder).
    // Connections from another user's programs are closed unread.
    bool Listen(const QString &topic);
    void Close();
    bool IsListening() const;
    QString ServerName() const;

    // How long a client may take to send its whole line; tests shorten it.
    void SetReadDeadline(int milliseconds) { m_deadlineMs = milliseconds; }

signals:
    // A command arrived. Cancel starts false (accepted); a handler refuses it by setting Cancel.
    // Connect directly: the answer is sent when the signal returns. Lines that are too long, not
    // UTF-8 or not finished within the deadline never get here; they are refused.
    void LinkExecute(const QString &CmdStr, bool &Cancel);

private:
    void Accept();
    void Read(QLocalSocket *socket);
    void Answer(QLocalSocket *socket, bool accepted);

    QLocalServer *m_server = nullptr;
    int m_deadlineMs = LinkReadDeadlineMs;
};

enum class LinkAnswer {
    Accepted,
    Refused,
    NoSource,      // nobody listens on the topic
    NoAnswer,      // a source took the command but did not answer in time
    ForeignSource, // another user listens on the topic; nothing was sent
};

// The client's side: sends one command and waits for the answer. Blocks; for programs without a
// user interface (vantor-link). serverName is a topic's socket (LinkServerName).
LinkAnswer DdeExecute(const QString &serverName, const QString &command, int timeoutMs = 10000);

} // namespace platform
