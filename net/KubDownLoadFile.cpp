#include "KubDownLoadFile.h"

#include "platform/FileAttributes.h"
#include "platform/WebAddress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QSaveFile>
#include <QScopeGuard>

namespace {

// Bounds what the network layer buffers ahead of us, so a huge body never sits in memory.
const qint64 ReplyBufferBytes = 1024 * 1024;
const int TransferTimeoutMs = 30000;

bool isAcceptableResponse(QNetworkReply *reply, qint64 &contentLength)
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
    return ok && contentLength > 0;
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
                                   bool bHidden, bool bRaiseEvent)
{
    m_bStop = false;
    QNetworkReply *reply = Request(strURLFile);
    const bool result = reply && Transfer(reply, strSaveFile, bHidden, bRaiseEvent);
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
    // A server that stops sending must not hold the caller forever.
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    reply->setReadBufferSize(ReplyBufferBytes);
    return reply;
}

bool KubDownLoadFile::Transfer(QNetworkReply *reply, const QString &strSaveFile, bool bHidden,
                               bool bRaiseEvent)
{
    if (!WaitForBodyOrEnd(reply)) {
        return false;
    }
    qint64 contentLength = 0;
    if (!isAcceptableResponse(reply, contentLength)) {
        return false;
    }
    if (bRaiseEvent) {
        emit QueryFileInfo(contentLength);
    }
    QSaveFile file(strSaveFile);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    auto discard = qScopeGuard([&file] { file.cancelWriting(); });
    if (!CopyBody(reply, file, contentLength, bRaiseEvent) || !file.commit()) {
        return false;
    }
    discard.dismiss();
    if (bHidden) {
        platform::SetHiddenAttribute(strSaveFile);
    }
    return true;
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
    wait.exec();
    m_wait = nullptr;
    return !m_bStop;
}

bool KubDownLoadFile::CopyBody(QNetworkReply *reply, QSaveFile &file, qint64 expected,
                               bool bRaiseEvent)
{
    char buffer[ChunkBytes];
    qint64 total = 0;
    while (!m_bStop) {
        if (reply->bytesAvailable() == 0) {
            if (reply->isFinished() || !WaitForBodyOrEnd(reply)) {
                break;
            }
            continue;
        }
        const qint64 read = reply->read(buffer, ChunkBytes);
        if (read <= 0 || file.write(buffer, read) != read) {
            return false;
        }
        total += read;
        if (bRaiseEvent) {
            emit Loading(total);
        }
        QCoreApplication::processEvents();
    }
    return !m_bStop && total == expected && reply->error() == QNetworkReply::NoError;
}
