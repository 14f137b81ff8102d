#include "PageDownloads.h"

#include "platform/web/DownloadTarget.h"
#include "platform/web/WebBrowserPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWebEngineDownloadRequest>

namespace platform {
namespace {

const char SavedPrefix[] = "已下载：";
const char FailedPrefix[] = "下载失败：";
// Renames that lose to a file appearing under the same name meanwhile are tried again.
constexpr int PublishAttempts = 5;

// Whatever the engine and the server asked for, a saved file is plain data.
constexpr QFile::Permissions SavedPermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

PagePolicy::Kind kindOf(const QWebEngineDownloadRequest *download)
{
    const auto *page = qobject_cast<const WebBrowserPage *>(download->page());
    return page ? page->Kind() : PagePolicy::Kind::Plain;
}

// What the engine may leave of a download it did not finish.
void removePartial(const QString &partialPath)
{
    QFile::remove(partialPath);
    QFile::remove(partialPath + QLatin1String(".download"));
}

} // namespace

PageDownloads &PageDownloads::Instance()
{
    static PageDownloads *instance = new PageDownloads;
    return *instance;
}

PageDownloads::PageDownloads() : QObject(QCoreApplication::instance())
{
    // The engine would leave a half-written file behind when the client ends mid-download.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &PageDownloads::CancelUnfinished);
}

QString PageDownloads::SavedText(const QString &name)
{
    return QString::fromUtf8(SavedPrefix) + name;
}

QString PageDownloads::FailedText(const QString &name, const QString &reason)
{
    return QString::fromUtf8(FailedPrefix) + name +
           (reason.isEmpty() ? QString() : QString::fromUtf8("（%1）").arg(reason));
}

void PageDownloads::Take(QWebEngineDownloadRequest *download)
{
    if (download->isSavePageDownload() || !PagePolicy::SavesDownloads(kindOf(download))) {
        download->cancel();
        return;
    }
    const QString folder = DownloadTarget::Folder();
    const QString name = DownloadTarget::FreeName(
        folder, DownloadTarget::SafeName(download->suggestedFileName()), PathsBeingWritten());
    if (!QDir().mkpath(folder)) {
        download->cancel();
        emit Reported(FailedText(name, QString::fromUtf8("无法创建下载文件夹")));
        return;
    }
    const QString path = QDir(folder).filePath(name);
    m_writing.append({download, path});
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(DownloadTarget::PartialName(name));
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this,
            [this, download, folder, name] { Finish(download, folder, name); });
    download->accept();
}

void PageDownloads::Finish(QWebEngineDownloadRequest *download, const QString &folder,
                           const QString &name)
{
    const QString partialPath = QDir(folder).filePath(DownloadTarget::PartialName(name));
    m_writing.removeIf([download](const Writing &writing) { return writing.download == download; });
    if (download->state() != QWebEngineDownloadRequest::DownloadCompleted) {
        removePartial(partialPath);
        emit Reported(FailedText(name, download->interruptReasonString()));
        return;
    }
    const QString published = Publish(folder, name);
    if (published.isEmpty()) {
        removePartial(partialPath);
        emit Reported(FailedText(name, QString::fromUtf8("无法保存文件")));
        return;
    }
    emit Reported(SavedText(published));
}

// The whole file takes its name, or the next free one should that have been taken meanwhile;
// an existing file is never replaced. Empty when it could not be named at all.
QString PageDownloads::Publish(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const QString partialPath = dir.filePath(DownloadTarget::PartialName(name));
    QFile::setPermissions(partialPath, SavedPermissions);
    QString target = name;
    for (int attempt = 0; attempt < PublishAttempts; ++attempt) {
        if (QFile::rename(partialPath, dir.filePath(target))) {
            return target;
        }
        target = DownloadTarget::FreeName(folder, name, PathsBeingWritten());
    }
    return {};
}

QSet<QString> PageDownloads::PathsBeingWritten() const
{
    QSet<QString> paths;
    for (const Writing &writing : m_writing) {
        paths.insert(writing.path);
    }
    return paths;
}

void PageDownloads::CancelUnfinished()
{
    const QList<Writing> unfinished = m_writing;
    for (const Writing &writing : unfinished) {
        if (writing.download) {
            writing.download->cancel();
        }
    }
}

} // namespace platform
