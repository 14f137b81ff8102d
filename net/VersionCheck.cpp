#include "VersionCheck.h"

#include "KubDownLoadFile.h"
#include "ServerAddress.h"
#include "net/AppConfig.h"
#include "platform/os/FolderAccess.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Resources.h"
#include "platform/os/Shell.h"
#include "platform/os/TempFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

namespace {

const char ManifestPath[] = "/gamehome/qvmr/update.txt";
const char ManifestFileName[] = "update.txt";
const char UpdaterFileName[] = "Update.exe";
const int UpdaterResourceId = 101;

const char UpToDateText[] = "当前版本已是最新，无需更新！";
const char NewVersionText[] = "发现有新版本，是否现在更新！";
const char HandOffFailedText[] = "无法启动更新程序，请稍后再试。";
const char UnverifiedText[] = "无法验证更新信息，请稍后再试。";
const char PackageManagerText[] = "请通过系统的软件包管理器更新。";

QString trimSpaces(QString text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == ' ') {
        ++start;
    }
    qsizetype end = text.size();
    while (end > start && text[end - 1] == ' ') {
        --end;
    }
    return text.mid(start, end - start);
}

} // namespace

VersionCheck::VersionCheck(KubDownLoadFile &downloader, Caller caller,
                           MessageBoxFunction messageBox)
    : m_downloader(downloader), m_caller(caller), m_messageBox(std::move(messageBox)),
      m_localVersion(LocalVersion()), m_manifestAddress(ManifestAddress()),
      m_clientExecutable(QCoreApplication::applicationFilePath())
{
}

QString VersionCheck::LocalVersion()
{
    return QString::fromUtf8(AppConfig::Version);
}

QString VersionCheck::ManifestAddress()
{
    return ServerAddress(AppConfig::UpdateServer) + ManifestPath;
}

QStringList VersionCheck::ManifestLines(const QByteArray &manifest)
{
    static const QRegularExpression lineEnd("\r\n|\r|\n");
    return QString::fromLocal8Bit(manifest).split(lineEnd);
}

std::optional<QString> VersionCheck::ManifestVersion(const QByteArray &manifest)
{
    for (const QString &line : ManifestLines(manifest)) {
        if (line.toLower().contains("version")) {
            return trimSpaces(line.mid(8).section('|', 0, 0));
        }
    }
    return std::nullopt;
}

QString VersionCheck::HandOffArgument(const QString &clientExecutable)
{
    const QFileInfo client(clientExecutable);
    return QDir::toNativeSeparators(client.absolutePath()) + "|" +
           QDir::toNativeSeparators(client.absoluteFilePath());
}

VersionCheck::Outcome VersionCheck::Run()
{
    const QString folder = platform::PrivateTempFolder();
    if (folder.isEmpty()) {
        return Outcome::Continue;
    }
    // An install the player cannot write is the package manager's to update: the updater could
    // only fail there, and at start-up the question would come back on every start.
    const bool replaceable = platform::CanReplaceProgram(m_clientExecutable);
    if (!replaceable && m_caller == Caller::Startup) {
        return Outcome::Continue;
    }
    const QString manifestFile = folder + ManifestFileName;
    if (!FetchManifest(manifestFile) || m_abandoned) {
        return Outcome::Continue;
    }
    const TrustedManifest::Reading manifest = m_trust.Read(manifestFile);
    if (!manifest.IsUsable()) {
        if (manifest.verdict != TrustedManifest::Verdict::NoManifest && m_caller == Caller::Menu) {
            Tell(UnverifiedText, platform::mb::IconWarning);
        }
        return Outcome::Continue;
    }
    m_trust.Remember(manifest);
    const std::optional<QString> serverVersion = ManifestVersion(manifest.manifest);
    if (!serverVersion) {
        return Outcome::Continue;
    }
    if (*serverVersion == m_localVersion) {
        if (m_caller == Caller::Menu) {
            Tell(UpToDateText, platform::mb::IconWarning);
        }
        return Outcome::Continue;
    }
    if (!replaceable) {
        Tell(PackageManagerText, platform::mb::IconInformation);
        return Outcome::Continue;
    }
    const int answer =
        m_messageBox(QString::fromUtf8(NewVersionText), QString::fromUtf8(AppConfig::MessageTitle),
                     platform::mb::YesNo | platform::mb::IconQuestion);
    if (answer != platform::id::Yes) {
        return Outcome::Continue;
    }
    if (!HandOff()) {
        Tell(HandOffFailedText, platform::mb::IconWarning);
        return Outcome::Continue;
    }
    return Outcome::HandedOff;
}

VersionCheck::Outcome VersionCheck::RunAndCloseOwner(bool &bExitFlag,
                                                     const std::function<void()> &closeOwner)
{
    const Outcome outcome = Run();
    if (outcome == Outcome::HandedOff) {
        bExitFlag = true;
        closeOwner();
    }
    return outcome;
}

void VersionCheck::Tell(const char *text, unsigned icon) const
{
    m_messageBox(QString::fromUtf8(text), QString::fromUtf8(AppConfig::MessageTitle),
                 platform::mb::Ok | icon);
}

// False when the deadline ended the fetch: the check is then given up. A failed download leaves
// the manifest of an earlier run in place, with its signature; that pair is read then.
bool VersionCheck::FetchManifest(const QString &manifestFile)
{
    bool late = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [this, &late] {
        late = true;
        m_downloader.StopDownLoad();
    });
    deadline.start(m_deadlineMs);
    const bool fetched =
        m_downloader.DownLoadFile(m_manifestAddress, manifestFile, true, false, ManifestMaxBytes);
    // The signature belongs to the manifest just fetched; an earlier manifest keeps its own.
    if (fetched && !late && m_trust.IsSigningRequired()) {
        m_downloader.DownLoadFile(m_manifestAddress + ".minisig",
                                  TrustedManifest::SignatureFileOf(manifestFile), true, false,
                                  TrustedManifest::SignatureMaxBytes);
    }
    return !late;
}

void VersionCheck::Abandon()
{
    m_abandoned = true;
    m_downloader.StopDownLoad();
}

bool VersionCheck::HandOff()
{
    const QString updater = platform::PrivateTempFolder() + UpdaterFileName;
    // Made executable as it is written, so what runs is exactly what was written.
    return platform::SaveResourceToFile("UPDATE", UpdaterResourceId, updater,
                                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
           platform::StartProgram(updater, {HandOffArgument(m_clientExecutable)});
}
