#pragma once

#include "UpdateArgument.h"
#include "UpdateManifest.h"
#include "net/KubDownLoadFile.h"
#include "net/TrustedManifest.h"

#include <QString>
#include <QWidget>

class BForm;
class QLabel;
class QLockFile;
class QProgressBar;
class iButton;

// The updater's one window. Start runs the whole update: it reads the manifest the client left
// in the private temporary folder, downloads every file it names into the client's folder with
// the progress on show, and then starts the client again: the new one, or, when anything went
// wrong or the player cancelled, the old one, which is then still in place.
//
// Nothing in the temporary folder is trusted: with an update key built in, the manifest is
// verified again (TrustedManifest) before anything in the client's folder is touched, every
// download line must carry the file's SHA-256, and each file is checked against it before the
// all-or-nothing commit. The only program ever started is the client's own executable, directly;
// other downloaded files are written, never opened.
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
        Unverified, // the manifest or a downloaded file failed its check: nothing replaced
    };

    static constexpr char ManifestFileName[] = "update.txt";
    static constexpr char LockFileName[] = "Update.lock";

    explicit UpdateFrm(QWidget *parent = nullptr);

    Outcome Start(const QString &argument);

    void SetTransferTimeout(int milliseconds) { m_DownLoadFile.SetTransferTimeout(milliseconds); }
    // The key the manifest must be signed with (the build's unless set; empty: unsigned) and the
    // file that keeps the newest signing time accepted.
    void SetUpdateKey(const QByteArray &publicKeyLine) { m_trust.SetPublicKey(publicKeyLine); }
    void SetTrustStateFile(const QString &path) { m_trust.SetStateFile(path); }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void closebtn_Click();
    void m_DownLoadFile_QueryFileInfo(qint64 dwFileTotalLen);
    void m_DownLoadFile_Loading(qint64 dwRecivedLen);

private:
    void BuildWindow();
    static bool TakeLock(QLockFile &lock);
    bool ReadManifest(const QString &tempFolder, Outcome &refusal);
    Outcome Form_Load(const UpdateArgument &target);
    Outcome DownloadAll(const UpdateArgument &target);
    void Finish(Outcome outcome, const UpdateArgument &target);

    BForm *BForm1 = nullptr;
    iButton *closebtn = nullptr;
    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    bool m_bCancel = false;
    bool m_bBusy = false; // downloading; only then is there anything to cancel
    QString m_SavePath;   // written, never opened: only the client is started at the end
    KubDownLoadFile m_DownLoadFile;
    TrustedManifest m_trust;
    QList<UpdateManifest::DownloadLine> m_Downloads;
    bool m_bSigned = false;     // the manifest's signature was verified
    qint64 m_ProgressScale = 1; // bytes per progress step, so long files fit the bar's range
};
