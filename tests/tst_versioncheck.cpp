#include "DemoServer.h"
#include "DemoSigner.h"
#include "app/LoadFrm.h"
#include "app/PublicData.h"
#include "net/KubDownLoadFile.h"
#include "net/VersionCheck.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Shell.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestFiles.h"

#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace platform;

namespace {

const QString UpToDate = "当前版本已是最新，无需更新！";
const QString NewVersion = "发现有新版本，是否现在更新！";
const QString CannotStart = "无法启动更新程序，请稍后再试。";
const QString PackageManager = "请通过系统的软件包管理器更新。";

// A manifest naming a version, padded with bare CRs to exactly `size` bytes.
QByteArray paddedManifest(const QByteArray &versionLine, int size)
{
    return versionLine + QByteArray(size - versionLine.size(), '\r');
}

QString recordedArgument()
{
    QFile file(PublicData::GetTempFolder() + "argument.txt");
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A main window in miniature: it asks before closing unless its exit flag is set.
class FakeOwner : public QWidget {
public:
    bool m_bExit = false;
    int asked = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (!m_bExit) {
            ++asked;
            event->ignore();
        }
    }
};

} // namespace

class VersionCheckTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void manifestVersion_data();
    void manifestVersion();

    void check_data();
    void check();
    void earlierManifestIsReadWhenDownloadFails();
    void emptyKeyTakesTheManifestUnsigned();
    void acceptedUpdateStartsUpdaterWithClientLocation();
    void updaterThatCannotBeWrittenKeepsClientRunning();
    void updaterThatCannotStartKeepsClientRunning();
    void installItCannotWriteIsLeftToThePackageManager_data();
    void installItCannotWriteIsLeftToThePackageManager();
    void menuHandOffClosesOwnerWithoutAsking();
    void startupHandOffEndsBeforeTheSplash();
    void plantedLinksAreReplacedNotFollowed_data();
    void plantedLinksAreReplacedNotFollowed();
    void manifestSizeIsCapped_data();
    void manifestSizeIsCapped();
    void tricklingManifestGivesUpAtTheDeadline();

private:
    VersionCheck::Outcome runCheck(VersionCheck::Caller caller, const QString &localVersion);
    void runFromMenu(FakeOwner &owner);

    QString installFolder() const { return m_install.path() + "/vantor game"; }

    QTemporaryDir m_runtime;
    QTemporaryDir m_install;
    DemoServer m_server;
    KubDownLoadFile m_downloader;
};

void VersionCheckTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_runtime.filePath("data")));
    QVERIFY(QDir().mkpath(installFolder()));
    writeFile(installFolder() + "/vantor-client", "#!/bin/sh\n");
    QVERIFY(m_server.start());
}

void VersionCheckTest::init()
{
    const QString folder = PublicData::GetTempFolder();
    for (const char *name :
         {"update.txt", "update.txt.minisig", "Update.exe", "argument.txt", "qvmr.ico"}) {
        QFile::remove(folder + name);
    }
    m_server.setManifest(DemoServer::defaultManifest());
}

VersionCheck::Outcome VersionCheckTest::runCheck(VersionCheck::Caller caller,
                                                 const QString &localVersion)
{
    VersionCheck check(m_downloader, caller, &platform::MessageBox);
    check.SetManifestAddress(m_server.baseUrl() + "/gamehome/qvmr/update.txt");
    check.SetUpdateKey(DemoSigner::DemoPublicKey());
    check.SetLocalVersion(localVersion);
    check.SetClientExecutable(installFolder() + "/vantor-client");
    return check.Run();
}

void VersionCheckTest::runFromMenu(FakeOwner &owner)
{
    VersionCheck check(m_downloader, VersionCheck::Caller::Menu, &platform::MessageBox);
    check.SetManifestAddress(m_server.baseUrl() + "/gamehome/qvmr/update.txt");
    check.SetUpdateKey(DemoSigner::DemoPublicKey());
    check.RunAndCloseOwner(owner.m_bExit, [&owner] { owner.close(); });
}

void VersionCheckTest::manifestVersion_data()
{
    QTest::addColumn<QByteArray>("manifest");
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("found");

    QTest::newRow("plain") << QByteArray("[update]\r\nversion=1.1.0\r\n") << "1.1.0" << true;
    QTest::newRow("upper case, blanks") << QByteArray("VERSION= 1.1.0 \r\n") << "1.1.0" << true;
    QTest::newRow("colon separator") << QByteArray("Version:1.2.0") << "1.2.0" << true;
    QTest::newRow("tab is not a blank") << QByteArray("version=1.1.0\t") << "1.1.0\t" << true;
    QTest::newRow("comment first")
        << QByteArray("# new version soon\r\nversion=1.1.0\r\n") << "rsion soon" << true;
    QTest::newRow("LF line ends") << QByteArray("[update]\nversion=1.1.0\nfile=x\n") << "1.1.0"
                                  << true;
    QTest::newRow("CR line ends") << QByteArray("[update]\rversion=1.1.0\r") << "1.1.0" << true;
    QTest::newRow("address after bar")
        << QByteArray("version=1.1.0|http://127.0.0.1/client\r\n") << "1.1.0" << true;
    QTest::newRow("blanks around bar")
        << QByteArray("version= 1.1.0 | http://h/c") << "1.1.0" << true;
    QTest::newRow("empty value") << QByteArray("version=\r\n") << "" << true;
    QTest::newRow("no version line") << QByteArray("[update]\r\nfile=a\r\n") << "" << false;
    QTest::newRow("empty file") << QByteArray() << "" << false;
}

void VersionCheckTest::manifestVersion()
{
    QFETCH(QByteArray, manifest);
    QFETCH(QString, version);
    QFETCH(bool, found);
    const std::optional<QString> parsed = VersionCheck::ManifestVersion(manifest);
    QCOMPARE(parsed.has_value(), found);
    if (found) {
        QCOMPARE(*parsed, version);
    }
}

void VersionCheckTest::check_data()
{
    QTest::addColumn<QByteArray>("manifest");
    QTest::addColumn<QString>("localVersion");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QStringList>("boxes");

    const QByteArray current("[update]\r\nversion=1.1.0\r\n");
    QTest::newRow("equal at start-up") << current << "1.1.0" << false << QStringList{};
    QTest::newRow("equal from menu") << current << "1.1.0" << true << QStringList{UpToDate};
    QTest::newRow("upper case and blanks")
        << QByteArray("VERSION= 1.1.0 \r\n") << "1.1.0" << false << QStringList{};
    QTest::newRow("older on server") << current << "1.1.1" << false << QStringList{NewVersion};
    QTest::newRow("newer on server")
        << QByteArray("version=1.2.0\r\n") << "1.1.0" << true << QStringList{NewVersion};
    QTest::newRow("comment mentions version first")
        << QByteArray("; version notes\r\nversion=1.1.0\r\n") << "1.1.0" << false
        << QStringList{NewVersion};
    QTest::newRow("no version line, menu")
        << QByteArray("[update]\r\n") << "1.1.0" << true << QStringList{};
    QTest::newRow("current with address")
        << QByteArray("version=1.1.0|http://127.0.0.1/vantor-client\n") << "1.1.0" << false
        << QStringList{};
}

void VersionCheckTest::check()
{
    QFETCH(QByteArray, manifest);
    QFETCH(QString, localVersion);
    QFETCH(bool, fromMenu);
    QFETCH(QStringList, boxes);

    m_server.setManifest(manifest);
    ScriptedBoxes answers(id::No);
    const auto caller = fromMenu ? VersionCheck::Caller::Menu : VersionCheck::Caller::Startup;
    QCOMPARE(runCheck(caller, localVersion), VersionCheck::Outcome::Continue);

    QCOMPARE(answers.texts, boxes);
    for (int i = 0; i < answers.texts.size(); ++i) {
        QCOMPARE(answers.titles[i], QString("提示"));
        const unsigned expected =
            answers.texts[i] == NewVersion ? (mb::YesNo | mb::IconQuestion) : mb::IconWarning;
        QCOMPARE(answers.flags[i], expected);
    }
    QVERIFY(!QFile::exists(PublicData::GetTempFolder() + "Update.exe"));
}

void VersionCheckTest::earlierManifestIsReadWhenDownloadFails()
{
    // With its signature, which the failed download leaves alone too.
    const QByteArray earlier("version=0.9.0\r\n");
    writeFile(PublicData::GetTempFolder() + "update.txt", earlier);
    writeFile(PublicData::GetTempFolder() + "update.txt.minisig",
              DemoSigner::SignWithDemoKey(earlier, "update.txt"));
    m_server.setFile("/gamehome/qvmr/update.txt", "gone", "text/plain", 404);

    ScriptedBoxes answers(id::No);
    runCheck(VersionCheck::Caller::Startup, "1.1.0");
    m_server.removeFile("/gamehome/qvmr/update.txt");
    QCOMPARE(answers.texts, QStringList{NewVersion});
}

void VersionCheckTest::emptyKeyTakesTheManifestUnsigned()
{
    m_server.setFile("/gamehome/qvmr/update.txt.minisig", "gone", "text/plain", 404);
    m_server.setManifest("version=1.1.1\r\n");
    ScriptedBoxes answers(id::No);
    VersionCheck check(m_downloader, VersionCheck::Caller::Menu, &platform::MessageBox);
    check.SetManifestAddress(m_server.baseUrl() + "/gamehome/qvmr/update.txt");
    check.SetUpdateKey({});
    check.Run();
    m_server.removeFile("/gamehome/qvmr/update.txt.minisig");
    QCOMPARE(answers.texts, QStringList{NewVersion});
}

void VersionCheckTest::acceptedUpdateStartsUpdaterWithClientLocation()
{
    m_server.setManifest("version=1.1.1\r\n");
    ScriptedBoxes answers(id::Yes);
    QCOMPARE(runCheck(VersionCheck::Caller::Startup, "1.1.0"), VersionCheck::Outcome::HandedOff);

    const QFileInfo updater(PublicData::GetTempFolder() + "Update.exe");
    QVERIFY(updater.isExecutable());
    QTRY_COMPARE(recordedArgument(), installFolder() + "|" + installFolder() + "/vantor-client");
    QCOMPARE(answers.texts, QStringList{NewVersion});
}

void VersionCheckTest::updaterThatCannotBeWrittenKeepsClientRunning()
{
    // A folder where the updater should go: it cannot be written, so nothing can be started.
    QVERIFY(QDir().mkpath(PublicData::GetTempFolder() + "Update.exe"));
    m_server.setManifest("version=1.1.1\r\n");
    ScriptedBoxes answers(id::Yes);

    QCOMPARE(runCheck(VersionCheck::Caller::Startup, "1.1.0"), VersionCheck::Outcome::Continue);
    QCOMPARE(answers.texts, (QStringList{NewVersion, CannotStart}));
    QDir(PublicData::GetTempFolder() + "Update.exe").removeRecursively();
}

void VersionCheckTest::updaterThatCannotStartKeepsClientRunning()
{
    QStringList started;
    ScopedReplacement<StartProgramService> refusing(
        StartProgramProvider(), [&started](const QString &program, const QStringList &) {
            started.append(program);
            return false;
        });
    m_server.setManifest("version=1.1.1\r\n");
    ScriptedBoxes answers(id::Yes);

    QCOMPARE(runCheck(VersionCheck::Caller::Startup, "1.1.0"), VersionCheck::Outcome::Continue);
    QCOMPARE(answers.texts, (QStringList{NewVersion, CannotStart}));
    QCOMPARE(started, QStringList{PublicData::GetTempFolder() + "Update.exe"});
}

void VersionCheckTest::installItCannotWriteIsLeftToThePackageManager_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QByteArray>("manifest");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("start-up, newer") << false << QByteArray("version=1.1.1\r\n") << QStringList{};
    QTest::newRow("menu, newer") << true << QByteArray("version=1.1.1\r\n")
                                 << QStringList{PackageManager};
    QTest::newRow("menu, the same")
        << true << QByteArray("version=1.1.0\r\n") << QStringList{UpToDate};
}

void VersionCheckTest::installItCannotWriteIsLeftToThePackageManager()
{
    QFETCH(bool, fromMenu);
    QFETCH(QByteArray, manifest);
    QFETCH(QStringList, boxes);

    const ReadOnlyFolder readOnly(installFolder());
    if (!readOnly.IsReadOnly()) {
        QSKIP("no private mount namespace here (needs root)");
    }
    m_server.setManifest(manifest);
    ScriptedBoxes answers(id::Yes);
    const auto caller = fromMenu ? VersionCheck::Caller::Menu : VersionCheck::Caller::Startup;
    QCOMPARE(runCheck(caller, "1.1.0"), VersionCheck::Outcome::Continue);
    QCOMPARE(answers.texts, boxes);
    QVERIFY(!QFile::exists(PublicData::GetTempFolder() + "Update.exe"));
}

void VersionCheckTest::menuHandOffClosesOwnerWithoutAsking()
{
    m_server.setManifest("version=1.1.1\r\n");
    ScriptedBoxes answers(id::Yes);
    FakeOwner owner;
    owner.show();

    runFromMenu(owner);
    QVERIFY(owner.m_bExit);
    QVERIFY(!owner.isVisible());
    QCOMPARE(owner.asked, 0);

    // Declining leaves the owner alone.
    ScriptedBoxes declined(id::No);
    FakeOwner staying;
    staying.show();
    runFromMenu(staying);
    QVERIFY(!staying.m_bExit);
    QVERIFY(staying.isVisible());
}

void VersionCheckTest::startupHandOffEndsBeforeTheSplash()
{
    m_server.setManifest("version=9.9.9\r\n");
    ScriptedBoxes answers(id::Yes);
    LoadFrm splash;
    splash.SetManifestAddress(m_server.baseUrl() + "/gamehome/qvmr/update.txt");
    splash.SetUpdateKey(DemoSigner::DemoPublicKey());

    QCOMPARE(splash.Start(""), LoadFrm::Outcome::EndProgram);
    QVERIFY(!splash.isVisible());
    QTRY_VERIFY(!recordedArgument().isEmpty());
}

void VersionCheckTest::plantedLinksAreReplacedNotFollowed_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("victimExists");
    QTest::newRow("manifest") << "update.txt" << true;
    QTest::newRow("updater") << "Update.exe" << true;
    QTest::newRow("updater, link to nothing yet") << "Update.exe" << false;
    QTest::newRow("icon") << "qvmr.ico" << true;
}

void VersionCheckTest::plantedLinksAreReplacedNotFollowed()
{
    QFETCH(QString, entry);
    QFETCH(bool, victimExists);
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim");
    if (victimExists) {
        writeFile(victim, "victim");
    }
    const QString path = PublicData::GetTempFolder() + entry;
    QFile::remove(path);
    QVERIFY(QFile::link(victim, path));

    if (entry == "qvmr.ico") {
        QVERIFY(PublicData::SaveResourceToFile(101, "ICON", path));
    } else {
        m_server.setManifest("version=1.1.1\r\n");
        ScriptedBoxes answers(id::Yes);
        QCOMPARE(runCheck(VersionCheck::Caller::Startup, "1.1.0"),
                 VersionCheck::Outcome::HandedOff);
        QTRY_VERIFY(!recordedArgument().isEmpty());
    }
    QCOMPARE(QFile::exists(victim), victimExists);
    if (victimExists) {
        QCOMPARE(readAll(victim), QByteArray("victim"));
        QVERIFY(!QFileInfo(victim).isExecutable());
    }
    QVERIFY(!QFileInfo(path).isSymLink());
    QVERIFY(QFileInfo(path).isFile());
    QFile::remove(path);
}

void VersionCheckTest::manifestSizeIsCapped_data()
{
    QTest::addColumn<QByteArray>("served");
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QStringList>("boxes");

    const QByteArray newer("version=9.9.9\r");
    QTest::newRow("exactly 64 KiB is read")
        << paddedManifest(newer, 65536) << QByteArray() << QStringList{NewVersion};
    QTest::newRow("one byte more is refused")
        << paddedManifest(newer, 65537) << QByteArray() << QStringList{};
    QTest::newRow("refused like a failed download: the earlier one is read")
        << paddedManifest(newer, 65537) << QByteArray("version=1.1.0\r\n") << QStringList{};
    QTest::newRow("an earlier one over the cap is not read either")
        << QByteArray() << paddedManifest(newer, 65537) << QStringList{};
}

void VersionCheckTest::manifestSizeIsCapped()
{
    QFETCH(QByteArray, served);
    QFETCH(QByteArray, earlier);
    QFETCH(QStringList, boxes);
    if (!earlier.isEmpty()) {
        writeFile(PublicData::GetTempFolder() + "update.txt", earlier);
        writeFile(PublicData::GetTempFolder() + "update.txt.minisig",
                  DemoSigner::SignWithDemoKey(earlier, "update.txt"));
    }
    if (served.isEmpty()) {
        m_server.setFile("/gamehome/qvmr/update.txt", "gone", "text/plain", 404);
    } else {
        m_server.setManifest(served);
    }
    ScriptedBoxes answers(id::No);
    QCOMPARE(runCheck(VersionCheck::Caller::Startup, "1.1.0"), VersionCheck::Outcome::Continue);
    m_server.removeFile("/gamehome/qvmr/update.txt");
    QCOMPARE(answers.texts, boxes);
}

void VersionCheckTest::tricklingManifestGivesUpAtTheDeadline()
{
    // An earlier manifest would offer an update; start-up goes on without the check instead.
    writeFile(PublicData::GetTempFolder() + "update.txt", "version=9.9.9\r\n");
    ScriptedBoxes answers(id::No);
    VersionCheck check(m_downloader, VersionCheck::Caller::Startup, &platform::MessageBox);
    check.SetManifestAddress(m_server.baseUrl() + "/fault/slow?bytes=100&ms=20000&pieces=100");
    check.SetDeadline(500);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(check.Run(), VersionCheck::Outcome::Continue);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString("took %1 ms").arg(clock.elapsed())));
    QCOMPARE(answers.texts, QStringList{});
}

QTEST_MAIN(VersionCheckTest)
#include "tst_versioncheck.moc"
