#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QEventLoop;
class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

// Fetches one address over HTTP into a file. The call returns only when the transfer has ended,
// but the event loop keeps running meanwhile (after every chunk), so the user interface stays
// responsive and StopDownLoad can be called from any handler.
//
// The target file is written whole or not at all: the body goes to a temporary file beside it
// that replaces the target only when every byte the server announced has arrived. A refused
// response, a short body, a read or write error and a stop all leave the target as it was.
class KubDownLoadFile : public QObject {
    Q_OBJECT

public:
    // Bytes handed to the file per step; every step is written, counted and reported before the
    // next is read.
    static constexpr qint64 ChunkBytes = 8192;

    explicit KubDownLoadFile(QObject *parent = nullptr);
    ~KubDownLoadFile() override;

    // bHidden marks the file hidden where the platform has such an attribute (Windows); elsewhere
    // it has no effect. With bRaiseEvent false no event at all is raised.
    bool DownLoadFile(const QString &strURLFile, const QString &strSaveFile, bool bHidden,
                      bool bRaiseEvent);

    // Ends a running DownLoadFile after its current chunk; that call then fails.
    void StopDownLoad();

signals:
    void QueryFileInfo(qint64 dwFileTotalLen);
    void Loading(qint64 dwRecivedLen);
    void Complete();

private:
    bool Transfer(QNetworkReply *reply, const QString &strSaveFile, bool bHidden, bool bRaiseEvent);
    bool WaitForBodyOrEnd(QNetworkReply *reply);
    bool CopyBody(QNetworkReply *reply, QSaveFile &file, qint64 expected, bool bRaiseEvent);
    QNetworkReply *Request(const QString &strURLFile);

    QNetworkAccessManager *m_network = nullptr;
    QEventLoop *m_wait = nullptr; // the wait in progress, so a stop can end it at once
    bool m_bStop = false;
};
