#include "KubDownLoadFile.h"

#include "platform/os/FileAttributes.h"
#include "platform/os/NoFollowFile.h"
#include "platform/os/WebAddress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>

namespace {

// Bounds what the network layer buffers ahead of us, so a huge body never sits in memory.
const qint64 ReplyBufferBytes = 1024 * 1024;

bool isAcceptableResponse(QNetworkReply *reply, qint64 maxBytes, qint64 &contentLength)
{
    // Whether the body arrives whole is judged after the copy, not here: a short body may already
    // have ended in an error by the time the status is read.
    if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) {
        return false;
    }
    // A chunked or close-delimited body announces no length and cannot be checked for
    // completeness, so it is refused like an empty one.
    if (!reply->hasRawHeader("Content-Length")) {
        return false;
    }
    bool ok = false;
    contentLength = reply->rawHeader("Content-Length").trimmed().toLongLong(&ok);
    return ok && contentLength > 0 && (maxBytes <= 0 || contentLength <= maxBytes);
}

} // namespace

KubDownLoadFile::KubDownLoadFile(QObject *parent) : QObject(parent)
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

KubDownLoadFile::~KubDownLoadFile() = default;

void KubDownLoadFile::StopDownLoad()
{
    m_bStop = true;
    if (m_wait) {
        m_wait->quit();
    }
}

bool KubDownLoadFile::DownLoadFile(const QString &strURLFile, const QString &strSaveFile,
                                   bool bHidden, bool bRaiseEvent, qint64 maxBytes)
{
    m_bStop = false;
    m_loopLevel = QThread::currentThread()->loopLevel();
    QNetworkReply *reply = Request(strURLFile);
    QTimer inactivity;
    if (reply) {
        WatchInactivity(reply, inactivity);
    }
    const bool result = reply && Transfer(reply, strSaveFile, bHidden, bRaiseEvent, maxBytes);
    m_inactivity = nullptr;
    if (reply) {
        if (!reply->isFinished()) {
            reply->abort();
        }
        reply->deleteLater();
    }
    if (bRaiseEvent) {
        emit Complete();
    }
    return result;
}

QNetworkReply *KubDownLoadFile::Request(const QString &strURLFile)
{
    const QUrl url(strURLFile, QUrl::StrictMode);
    if (!platform::IsWebAddress(url)) {
        return nullptr;
    }
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // The announced length must be the length of the bytes we write; a compressed transfer
    // would announce the compressed size.
    request.setRawHeader("Accept-Encoding", "identity");
    QNetworkReply *reply = m_network->get(request);
    reply->setReadBufferSize(ReplyBufferBytes);
    return reply;
}

bool KubDownLoadFile::Transfer(QNetworkReply *reply, const QString &strSaveFile, bool bHidden,
                               bool bRaiseEvent, qint64 maxBytes)
{
    if (!WaitForBodyOrEnd(reply)) {
        return false;
    }
    qint64 contentLength = 0;
    if (!isAcceptableResponse(reply, maxBytes, contentLength)) {
        return false;
    }
    if (bRaiseEvent) {
        emit QueryFileInfo(contentLength);
    }
    platform::NoFollowSaveFile file(strSaveFile);
    if (!file.open()) {
        return false;
    }
    Copy copy{reply, file, bRaiseEvent};
    if (!CopyBody(copy, contentLength) || !file.commit()) {
        return false;
    }
    if (bHidden) {
        platform::SetHiddenAttribute(strSaveFile);
    }
    return true;
}

// A server that stops sending must not hold the caller forever. The time a handler holds the
// event loop (a question box, say) does not count: nothing is read from the network meanwhile
// before the copy has begun, and a player taking his time is not a server gone quiet. Bytes
// taken from the reply count as activity too: they make room for the network layer to read on.
void KubDownLoadFile::WatchInactivity(QNetworkReply *reply, QTimer &inactivity)
{
    m_inactivity = &inactivity;
    inactivity.setSingleShot(true);
    inactivity.setInterval(m_transferTimeoutMs);
    connect(reply, &QNetworkReply::downloadProgress, &inactivity, qOverload<>(&QTimer::start));
    connect(&inactivity, &QTimer::timeout, reply, [this, reply, &inactivity] {
        if (IsLoopHeld()) {
            inactivity.start();
        } else {
            reply->abort();
        }
    });
    inactivity.start();
}

bool KubDownLoadFile::IsLoopHeld() const
{
    return QThread::currentThread()->loopLevel() > m_loopLevel;
}

bool KubDownLoadFile::WaitForBodyOrEnd(QNetworkReply *reply)
{
    if (reply->bytesAvailable() > 0 || reply->isFinished()) {
        return true;
    }
    QEventLoop wait;
    connect(reply, &QNetworkReply::readyRead, &wait, &QEventLoop::quit);
    connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    m_wait = &wait;
    ++m_loopLevel;
    wait.exec();
    --m_loopLevel;
    m_wait = nullptr;
    return !m_bStop;
}

bool KubDownLoadFile::CopyBody(Copy &copy, qint64 expected)
{
    QNetworkReply *reply = copy.reply;
    // A handler that holds the event loop in a loop of its own (a question box, say) must not
    // stall the transfer: what arrives meanwhile goes straight to the file.
    const QMetaObject::Connection held =
        connect(reply, &QNetworkReply::readyRead, this, &KubDownLoadFile::CopyWhileHeld);
    m_copy = &copy;
    const auto done = qScopeGuard([this, held] {
        QObject::disconnect(held);
        m_copy = nullptr;
    });
    while (!m_bStop && !copy.failed) {
        if (reply->bytesAvailable() == 0) {
            if (reply->isFinished() || !WaitForBodyOrEnd(reply)) {
                break;
            }
            continue;
        }
        // What the network layer already holds is taken at memory speed, a chunk at a time;
        // the loop is pumped between such runs, so the caller's window stays live either way.
        for (qint64 run = 0;
             run < PumpBytes && !m_bStop && !copy.failed && reply->bytesAvailable() > 0;
             run += ChunkBytes) {
            CopyChunk(copy);
        }
        QCoreApplication::processEvents();
    }
    return !m_bStop && !copy.failed && copy.total == expected &&
           reply->error() == QNetworkReply::NoError;
}

void KubDownLoadFile::CopyChunk(Copy &copy)
{
    char buffer[ChunkBytes];
    const qint64 read = copy.reply->read(buffer, ChunkBytes);
    if (read <= 0 || !copy.file.write(buffer, read)) {
        copy.failed = true;
        return;
    }
    copy.total += read;
    m_inactivity->start();
    if (copy.raiseEvents) {
        emit Loading(copy.total);
    }
}

// Data that arrives while the copy loop reads, pumps or waits is the loop's to take, one chunk
// and one pump at a time. Data that arrives inside a nested event loop would wait there until
// that loop ends, with the network layer's buffer full and the transfer standing still.
void KubDownLoadFile::CopyWhileHeld()
{
    Copy *copy = m_copy;
    if (!copy || !IsLoopHeld()) {
        return;
    }
    // A Loading handler may hold the loop itself and bring us back here; one drain at a time.
    m_copy = nullptr;
    while (!m_bStop && !copy->failed && copy->reply->bytesAvailable() > 0) {
        CopyChunk(*copy);
    }
    m_copy = copy;
}
