#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QEventLoop;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
namespace platform {
class NoFollowSaveFile;
}

// Fetches one address over HTTP into a file. The call returns only when the transfer has ended,
// but the event loop keeps running meanwhile (after every chunk), so the user interface stays
// responsive and StopDownLoad can be called from any handler.
//
// The target file is written whole or not at all: the body goes to a temporary file beside it
// that replaces the target only when every byte the server announced has arrived. A refused
// response, a short body, a read or write error and a stop all leave the target as it was. A
// symbolic link standing at the target is replaced, never written through.
//
// While a handler holds the event loop in a loop of its own (a question box, say), the body keeps
// flowing into the file and the inactivity timeout waits, so a player who takes long to answer
// does not cost the transfer.
class KubDownLoadFile : public QObject {
    Q_OBJECT

public:
    // Bytes handed to the file per step; every step is written, counted and reported before the
    // next is read.
    static constexpr qint64 ChunkBytes = 8192;
    // At most this much is copied between two turns of the event loop.
    static constexpr qint64 PumpBytes = 256 * 1024;

    explicit KubDownLoadFile(QObject *parent = nullptr);
    ~KubDownLoadFile() override;

    // bHidden marks the file hidden where the platform has such an attribute (Windows); elsewhere
    // it has no effect. With bRaiseEvent false no event at all is raised.
    // A body announced longer than maxBytes (when not 0) is refused like a failed download.
    bool DownLoadFile(const QString &strURLFile, const QString &strSaveFile, bool bHidden,
                      bool bRaiseEvent, qint64 maxBytes = 0);

    // Ends a running DownLoadFile after its current chunk; that call then fails.
    void StopDownLoad();

    // How long a transfer may receive nothing before it fails (30 s unless set).
    void SetTransferTimeout(int milliseconds) { m_transferTimeoutMs = milliseconds; }

signals:
    void QueryFileInfo(qint64 dwFileTotalLen);
    void Loading(qint64 dwRecivedLen);
    void Complete();

private:
    // The copy in progress: what has been written, and whether the file can still be trusted.
    struct Copy {
        QNetworkReply *reply;
        platform::NoFollowSaveFile &file;
        bool raiseEvents;
        qint64 total = 0;
        bool failed = false;
    };

    bool Transfer(QNetworkReply *reply, const QString &strSaveFile, bool bHidden, bool bRaiseEvent,
                  qint64 maxBytes);
    void WatchInactivity(QNetworkReply *reply, QTimer &inactivity);
    bool IsLoopHeld() const;
    bool WaitForBodyOrEnd(QNetworkReply *reply);
    bool CopyBody(Copy &copy, qint64 expected);
    void CopyChunk(Copy &copy);
    void CopyWhileHeld();
    QNetworkReply *Request(const QString &strURLFile);

    QNetworkAccessManager *m_network = nullptr;
    QEventLoop *m_wait = nullptr; // the wait in progress, so a stop can end it at once
    Copy *m_copy = nullptr;       // the copy in progress
    QTimer *m_inactivity = nullptr;
    int m_loopLevel = 0; // the event loop level the call itself reads, pumps and waits at
    bool m_bStop = false;
    int m_transferTimeoutMs = 30000;
};
