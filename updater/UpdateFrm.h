#pragma once

#include "UpdateArgument.h"
#include "net/KubDownLoadFile.h"

#include <QString>
#include <QWidget>

class BForm;
class QLabel;
class QLockFile;
class QProgressBar;
class iButton;

// The updater's one window. Start runs the whole update: it reads the manifest the client left
// in the private temporary folder, downloads every file it names into the client's folder with
// the progress on show, and then either starts the new file or, when anything went wrong or the
// player cancelled, says so and starts the old client again, which is then still in place.
//
// One updater at a time per client folder: the lock file lives in that folder, whatever
// temporary folder each updater was given. A lock that names no live updater (left empty or
// garbled by a crash, or its owner gone) is taken over. An updater that gives up because
// another one runs still starts the client, which ended for the hand-off.
class UpdateFrm : public QWidget {
    Q_OBJECT

public:
    enum class Outcome {
        NotStarted,     // no usable argument: ended without showing anything
        AlreadyRunning, // another updater holds the lock: the client started, nothing shown
        Updated,
        Cancelled,
        Failed,
    };

    static constexpr char ManifestFileName[] = "update.txt";
    static constexpr char LockFileName[] = "Update.lock";

    explicit UpdateFrm(QWidget *parent = nullptr);

    Outcome Start(const QString &argument);

    void SetTransferTimeout(int milliseconds) { m_DownLoadFile.SetTransferTimeout(milliseconds); }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void closebtn_Click();
    void m_DownLoadFile_QueryFileInfo(qint64 dwFileTotalLen);
    void m_DownLoadFile_Loading(qint64 dwRecivedLen);

private:
    void BuildWindow();
    static bool TakeLock(QLockFile &lock);
    Outcome Form_Load(const UpdateArgument &target, const QString &tempFolder);
    Outcome DownloadAll(const UpdateArgument &target, const QString &tempFolder);
    void Finish(Outcome outcome, const UpdateArgument &target);

    BForm *BForm1 = nullptr;
    iButton *closebtn = nullptr;
    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    bool m_bCancel = false;
    bool m_bBusy = false; // downloading; only then is there anything to cancel
    QString m_SavePath;
    KubDownLoadFile m_DownLoadFile;
    qint64 m_ProgressScale = 1; // bytes per progress step, so long files fit the bar's range
};
