#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QWebEngineDownloadRequest;

namespace platform {

// The downloads pages start. A game page's is written into the user's download folder under a
// name of its own there, as a partial file that takes its name only once it is whole; any other
// page's is cancelled. The outcome is reported as one line for the tray.
class PageDownloads : public QObject {
    Q_OBJECT

public:
    static PageDownloads &Instance();

    // The shared profile's downloadRequested.
    void Take(QWebEngineDownloadRequest *download);

signals:
    void Reported(const QString &text);

private:
    struct Writing {
        QPointer<QWebEngineDownloadRequest> download; // the profile owns it
        QString path;                                 // the name it takes once whole
    };

    PageDownloads();

    static QString SavedText(const QString &name);
    static QString FailedText(const QString &name, const QString &reason);
    QSet<QString> PathsBeingWritten() const;

    void Finish(QWebEngineDownloadRequest *download, const QString &folder, const QString &name);
    QString Publish(const QString &folder, const QString &name);
    void CancelUnfinished();

    QList<Writing> m_writing;
};

} // namespace platform
