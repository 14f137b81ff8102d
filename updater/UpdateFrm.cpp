#include "UpdateFrm.h"

#include "StagedFiles.h"
#include "UpdateManifest.h"
#include "controls/BForm.h"
#include "controls/iButton.h"
#include "net/AppConfig.h"
#include "platform/os/FolderAccess.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Resources.h"
#include "platform/os/Shell.h"
#include "platform/os/TempFolder.h"
#include "platform/winsys/WindowHandles.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLockFile>
#include <QPixmap>
#include <QProgressBar>
#include <QRegion>
#include <QScopeGuard>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

const QSize WindowSize(420, 116);
const int CloseBitmapId = 103;
const int LogoBitmapId = 105;
const int AppIconId = 101;
const int CornerRadius = 7;

const char WindowCaption[] = "Vantor客户端更新";
const char DownloadingText[] = "正在下载：";
const char UpdatedText[] = "软件已升至最新版本！";
const char CancelQuestion[] = "您是否要退出更新！";
const char FailedText[] = "更新失败，将继续使用当前版本。";
const char CancelledText[] = "更新已取消，将继续使用当前版本。";
const char UnverifiedText[] = "更新文件校验失败，请稍后重试。";
const char NotWritableText[] =
    "无法写入客户端所在的文件夹，未作任何更改。请通过系统的软件包管理器更新。";

const char ProgressStyle[] =
    "QProgressBar { border: 1px solid #174f8f; border-radius: 3px; background: #eef3f9;"
    " color: #0b2a4a; text-align: center; }"
    "QProgressBar::chunk { border-radius: 2px; background: qlineargradient(x1:0, y1:0, x2:0,"
    " y2:1, stop:0 #62a8ec, stop:1 #2263ab); }";

// The skin's caption band has rounded top corners; the window takes their shape.
QRegion roundedTop(QSize size, int radius)
{
    const int w = size.width();
    QRegion region(QRect(QPoint(0, 0), size));
    region -= QRegion(0, 0, radius, radius);
    region -= QRegion(w - radius, 0, radius, radius);
    region +=
        QRegion(0, 0, 2 * radius, 2 * radius, QRegion::Ellipse) & QRegion(0, 0, radius, radius);
    region += QRegion(w - 2 * radius, 0, 2 * radius, 2 * radius, QRegion::Ellipse) &
              QRegion(w - radius, 0, radius, radius);
    return region;
}

QString fromUtf8(const char *text)
{
    return QString::fromUtf8(text);
}

void tell(const char *text, unsigned icon)
{
    platform::MessageBox(fromUtf8(text), fromUtf8(AppConfig::MessageTitle),
                         platform::mb::Ok | icon);
}

bool everyLineHasItsHash(const QList<UpdateManifest::DownloadLine> &downloads)
{
    return std::all_of(
        downloads.cbegin(), downloads.cend(),
        [](const UpdateManifest::DownloadLine &line) { return !line.sha256.isEmpty(); });
}

} // namespace

UpdateFrm::UpdateFrm(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    BuildWindow();
    connect(&m_DownLoadFile, &KubDownLoadFile::QueryFileInfo, this,
            &UpdateFrm::m_DownLoadFile_QueryFileInfo);
    connect(&m_DownLoadFile, &KubDownLoadFile::Loading, this, &UpdateFrm::m_DownLoadFile_Loading);
}

void UpdateFrm::BuildWindow()
{
    setWindowTitle(fromUtf8(WindowCaption));
    setWindowIcon(platform::LoadIconResource(AppIconId));
    setFixedSize(WindowSize);
    setMask(roundedTop(WindowSize, CornerRadius));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, QColor(0x0b, 0x2a, 0x4a));
    setPalette(colours);

    BForm1 = new BForm(this);
    BForm1->setObjectName("BForm1");
    BForm1->setGeometry(0, 0, width(), BForm1->height());
    BForm1->SetHasLogo(true);
    BForm1->SetCaption(fromUtf8(WindowCaption));
    BForm1->SetfrmHwnd(platform::HandleOf(this));
    BForm1->Printform(this);

    auto *logo = new QLabel(BForm1);
    logo->setPixmap(QPixmap::fromImage(platform::LoadBitmapResource(LogoBitmapId)));
    logo->setGeometry(QRect(QPoint(6, 2), logo->pixmap().size()));
    // The logo belongs to the bar: pressing on it drags the window too.
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    closebtn = new iButton(BForm1);
    closebtn->setObjectName("closebtn");
    closebtn->SetBackPicture(platform::LoadBitmapResource(CloseBitmapId));
    closebtn->move(width() - closebtn->width() - 6, 0);
    closebtn->setFocusPolicy(Qt::NoFocus);
    connect(closebtn, &iButton::Click, this, &UpdateFrm::closebtn_Click);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(24, 50, width() - 48, 20);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(24, 78, width() - 48, 18);
    ProgressBar1->setStyleSheet(fromUtf8(ProgressStyle));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

UpdateFrm::Outcome UpdateFrm::Start(const QString &argument)
{
    const std::optional<UpdateArgument> target = UpdateArgument::Parse(argument);
    if (!target) {
        return Outcome::NotStarted;
    }
    // A folder this user cannot write is refused before anything is read, downloaded or moved;
    // the client ended for the hand-off, so it is started again either way.
    if (!platform::CanReplaceProgram(target->clientExecutable)) {
        tell(NotWritableText, platform::mb::IconWarning);
        platform::StartProgram(target->clientExecutable);
        return Outcome::Failed;
    }
    Outcome refusal = Outcome::Failed;
    if (!ReadManifest(platform::PrivateTempFolder(), refusal)) {
        Finish(refusal, *target);
        return refusal;
    }
    QLockFile lock(target->folder + LockFileName);
    if (!TakeLock(lock)) {
        // Held by a live updater, or not to be had at all (the folder refused it): either way the
        // client, which ended for the hand-off, is started again.
        const bool held = lock.error() == QLockFile::LockFailedError;
        if (!held) {
            tell(NotWritableText, platform::mb::IconWarning);
        }
        platform::StartProgram(target->clientExecutable);
        return held ? Outcome::AlreadyRunning : Outcome::Failed;
    }
    return Form_Load(*target);
}

// The download lines of a manifest that may be acted on; otherwise false, with the outcome that
// says why. Nothing is written before this has been read.
bool UpdateFrm::ReadManifest(const QString &tempFolder, Outcome &refusal)
{
    const TrustedManifest::Reading reading = tempFolder.isEmpty()
                                                 ? TrustedManifest::Reading{}
                                                 : m_trust.Read(tempFolder + ManifestFileName);
    refusal = reading.verdict == TrustedManifest::Verdict::NoManifest ? Outcome::Failed
                                                                      : Outcome::Unverified;
    if (!reading.IsUsable()) {
        return false;
    }
    m_bSigned = reading.verdict == TrustedManifest::Verdict::Accepted;
    m_Downloads = UpdateManifest::DownloadLines(reading.manifest);
    if (m_Downloads.isEmpty()) {
        refusal = Outcome::Failed;
        return false;
    }
    return !m_bSigned || everyLineHasItsHash(m_Downloads);
}

bool UpdateFrm::TakeLock(QLockFile &lock)
{
    // A lock is stale only when its owner is gone: a long download must not make it look
    // abandoned to a second updater. QLockFile recognises an owner that has ended; a lock too
    // damaged to name one would stand for ever.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        return true;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.error() != QLockFile::LockFailedError || lock.getLockInfo(&pid, &host, &application)) {
        return false;
    }
    // Only one of several updaters that find the same damaged lock may take it away.
    QLockFile removal(lock.fileName() + ".rmlock");
    if (!removal.tryLock(0) || lock.getLockInfo(&pid, &host, &application)) {
        return false;
    }
    lock.removeStaleLockFile();
    return lock.tryLock(0);
}

UpdateFrm::Outcome UpdateFrm::Form_Load(const UpdateArgument &target)
{
    show();
    raise();
    activateWindow();
    const Outcome outcome = DownloadAll(target);
    Finish(outcome, target);
    hide();
    return outcome;
}

UpdateFrm::Outcome UpdateFrm::DownloadAll(const UpdateArgument &target)
{
    m_bCancel = false;
    m_bBusy = true;
    const auto idle = qScopeGuard([this] { m_bBusy = false; });
    StagedFiles staged(target.folder);
    for (const UpdateManifest::DownloadLine &download : std::as_const(m_Downloads)) {
        Label1->setText(fromUtf8(DownloadingText) + download.fileName);
        ProgressBar1->setRange(0, 100);
        ProgressBar1->setValue(0);
        m_SavePath = staged.TargetOf(download.fileName);
        const bool complete = m_DownLoadFile.DownLoadFile(
            download.address, staged.StagingPathFor(download.fileName), false, true);
        if (m_bCancel) {
            return Outcome::Cancelled;
        }
        if (!complete) {
            return Outcome::Failed;
        }
        if (!download.sha256.isEmpty() && staged.Sha256Of(download.fileName) != download.sha256) {
            return Outcome::Unverified;
        }
    }
    // The close button cannot reach us between here and the end: nothing below pumps events.
    const auto origin = m_bSigned ? StagedFiles::Origin::Signed : StagedFiles::Origin::Unsigned;
    return staged.CommitAll(target.clientExecutable, origin) ? Outcome::Updated : Outcome::Failed;
}

void UpdateFrm::Finish(Outcome outcome, const UpdateArgument &target)
{
    switch (outcome) {
    case Outcome::Updated:
        tell(UpdatedText, platform::mb::IconInformation);
        break;
    case Outcome::Cancelled:
        tell(CancelledText, platform::mb::IconInformation);
        break;
    case Outcome::Unverified:
        tell(UnverifiedText, platform::mb::IconWarning);
        break;
    default:
        tell(FailedText, platform::mb::IconWarning);
        break;
    }
    // Whatever was downloaded, the one program started is the client's own executable, directly.
    platform::StartProgram(target.clientExecutable);
}

void UpdateFrm::closebtn_Click()
{
    if (!m_bBusy || m_bCancel) {
        return;
    }
    const int answer =
        platform::MessageBox(fromUtf8(CancelQuestion), fromUtf8(AppConfig::MessageTitle),
                             platform::mb::YesNo | platform::mb::IconQuestion);
    if (answer == platform::id::Yes) {
        m_bCancel = true;
        m_DownLoadFile.StopDownLoad();
    }
}

void UpdateFrm::closeEvent(QCloseEvent *event)
{
    // Closing the window while it downloads is the close button's question.
    if (m_bBusy) {
        event->ignore();
        closebtn_Click();
        return;
    }
    event->accept();
}

void UpdateFrm::m_DownLoadFile_QueryFileInfo(qint64 dwFileTotalLen)
{
    m_ProgressScale = dwFileTotalLen / INT_MAX + 1;
    ProgressBar1->setRange(0, int(dwFileTotalLen / m_ProgressScale));
    ProgressBar1->setValue(0);
}

void UpdateFrm::m_DownLoadFile_Loading(qint64 dwRecivedLen)
{
    ProgressBar1->setValue(int(dwRecivedLen / m_ProgressScale));
}
