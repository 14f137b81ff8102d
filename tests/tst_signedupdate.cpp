#include "DemoServer.h"
#include "DemoSigner.h"
#include "net/KubDownLoadFile.h"
#include "net/VersionCheck.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Shell.h"
#include "platform/os/TempFolder.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TestFiles.h"
#include "updater/UpdateFrm.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

const QString NewVersion = "发现有新版本，是否现在更新！";
const QString Unverified = "无法验证更新信息，请稍后再试。";
const QString Updated = "软件已升至最新版本！";
const QString CheckFailed = "更新文件校验失败，请稍后重试。";
const QString ClientName = "vantor-client";
const QString ManifestRoute = "/gamehome/qvmr/update.txt";

QByteArray clientScript(const char *version)
{
    return QByteArray("#!/bin/sh\necho ") + version + " >> \"$(dirname \"$0\")/started.txt\"\n";
}

QByteArray sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Whether the real minisign tool ran and succeeded.
bool minisign(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStandardPaths::findExecutable("minisign"), arguments);
    tool.closeWriteChannel();
    return tool.waitForFinished(20000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

// What a signature file becomes on its way.
QByteArray damaged(QByteArray minisig, const QString &damage)
{
    if (damage == "truncated") {
        return minisig.left(minisig.size() / 2);
    }
    if (damage == "garbled") {
        return minisig.replace(minisig.indexOf('\n') + 5, 4, "****");
    }
    if (damage == "trusted comment changed") {
        return minisig.replace("timestamp:", "timestamp:9");
    }
    if (damage == "CR LF") {
        return minisig.replace("\n", "\r\n");
    }
    return minisig;
}

} // namespace

class SignedUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void onlyASignedCurrentManifestUpdates_data();
    void onlyASignedCurrentManifestUpdates();
    void strangerAtStartUpOffersNothing();
    void demoServerSignsWhatItServes();

private:
    QString gameFolder() const { return m_scratch.path() + "/game/"; }
    QString keyPath(const QString &name) const { return m_scratch.filePath(name); }
    QByteArray publicKey(const QString &name) const;
    QByteArray sign(const QByteArray &manifest, const QString &key, const QStringList &extra);
    QStringList menuCheck();
    UpdateFrm::Outcome runUpdater(QStringList &texts);

    QTemporaryDir m_runtime;
    QTemporaryDir m_scratch;
    DemoServer m_server;
    KubDownLoadFile m_downloader;
};

void SignedUpdateTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_scratch.filePath("data")));
    QVERIFY2(!QStandardPaths::findExecutable("minisign").isEmpty(),
             "minisign is missing: scripts/setup.sh installs it");
    for (const QString key : {"a", "b"}) {
        QVERIFY(minisign({"-G", "-W", "-f", "-p", keyPath(key + ".pub"), "-s", keyPath(key)}));
    }
    QVERIFY(m_server.start());
    m_server.setFile("/dl/" + ClientName, clientScript("new"), "application/octet-stream");
}

void SignedUpdateTest::init()
{
    QDir(gameFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(gameFolder()));
    for (const char *name : {"update.txt", "update.txt.minisig", "Update.exe"}) {
        QFile::remove(PrivateTempFolder() + name);
    }
    QFile::remove(TrustedManifest::DefaultStateFile());
    writeFile(gameFolder() + ClientName, clientScript("old"));
    QVERIFY(QFile::setPermissions(gameFolder() + ClientName,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QByteArray SignedUpdateTest::publicKey(const QString &name) const
{
    return readAll(keyPath(name + ".pub")).split('\n').value(1);
}

QByteArray SignedUpdateTest::sign(const QByteArray &manifest, const QString &key,
                                  const QStringList &extra)
{
    const QString file = m_scratch.filePath("signed.txt");
    writeFile(file, manifest);
    if (!minisign(QStringList{"-S", "-s", keyPath(key), "-m", file} + extra)) {
        return {};
    }
    return readAll(file + ".minisig");
}

QStringList SignedUpdateTest::menuCheck()
{
    ScriptedBoxes boxes(id::No);
    VersionCheck check(m_downloader, VersionCheck::Caller::Menu, &platform::MessageBox);
    check.SetManifestAddress(m_server.baseUrl() + ManifestRoute);
    check.SetUpdateKey(publicKey("a"));
    check.SetLocalVersion("1.1.0");
    check.Run();
    return boxes.texts;
}

UpdateFrm::Outcome SignedUpdateTest::runUpdater(QStringList &texts)
{
    ScriptedBoxes boxes(id::Ok);
    QStringList opened;
    ScopedReplacement<ShellOpenService> shell(
        ShellOpenProvider(), [&opened](const QString &target, const QStringList &) {
            opened << target;
            return true;
        });
    UpdateFrm frm;
    frm.SetUpdateKey(publicKey("a"));
    const UpdateFrm::Outcome outcome = frm.Start(gameFolder() + "|" + gameFolder() + ClientName);
    texts = boxes.texts + opened;
    return outcome;
}

// The manifest and its signature as a hostile network could serve them: the client offers an
// update only for a manifest signed with the build's key, not older than the newest it accepted,
// and the updater, reading what the client left in the temporary folder, checks it all again and
// each file's hash before it replaces anything. Refused, the client's folder stays as it was.
void SignedUpdateTest::onlyASignedCurrentManifestUpdates_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("minisignOptions");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QStringList>("client");
    QTest::addColumn<QStringList>("updater");
    QTest::addColumn<QByteArray>("started");

    const QString good = "version=1.1.1|{base}/dl/vantor-client|sha256={sha}";
    const QStringList refused{Unverified};
    const QStringList failed{CheckFailed};
    const QByteArray oldStarted("old\n");
    const QStringList none;
    QTest::newRow("signed by minisign") << good << "a" << none << "" << QStringList{NewVersion}
                                        << QStringList{Updated} << QByteArray("new\n");
    QTest::newRow("CR LF line ends in the signature")
        << good << "a" << none << "CR LF" << QStringList{NewVersion} << QStringList{Updated}
        << QByteArray("new\n");
    QTest::newRow("one byte of the manifest changed")
        << good << "a" << none << "manifest" << refused << failed << oldStarted;
    QTest::newRow("another key") << good << "b" << none << "" << refused << failed << oldStarted;
    QTest::newRow("signature of another file")
        << good << "a" << none << "other file" << refused << failed << oldStarted;
    QTest::newRow("signature truncated")
        << good << "a" << none << "truncated" << refused << failed << oldStarted;
    QTest::newRow("signature garbled")
        << good << "a" << none << "garbled" << refused << failed << oldStarted;
    QTest::newRow("no signature") << good << "a" << none << "missing" << refused << failed
                                  << oldStarted;
    QTest::newRow("trusted comment changed")
        << good << "a" << none << "trusted comment changed" << refused << failed << oldStarted;
    QTest::newRow("legacy signature of the bare file")
        << good << "a" << QStringList{"-l"} << "" << refused << failed << oldStarted;
    QTest::newRow("no signing time") << good << "a" << QStringList{"-t", "release 1.1.1"} << ""
                                     << refused << failed << oldStarted;
    QTest::newRow("signed before the newest accepted")
        << good << "a" << QStringList{"-t", "timestamp:1000000000\tfile:update.txt\thashed"}
        << "replay" << refused << failed << oldStarted;
    QTest::newRow("file's hash differs")
        << "version=1.1.1|{base}/dl/vantor-client|sha256=" + QString(64, 'a') << "a" << none << ""
        << QStringList{NewVersion} << failed << oldStarted;
    QTest::newRow("download line without its hash")
        << "version=1.1.1|{base}/dl/vantor-client"
        << "a" << none << "" << QStringList{NewVersion} << failed << oldStarted;
}

void SignedUpdateTest::onlyASignedCurrentManifestUpdates()
{
    QFETCH(QString, line);
    QFETCH(QString, key);
    QFETCH(QStringList, minisignOptions);
    QFETCH(QString, damage);
    QFETCH(QStringList, client);
    QFETCH(QStringList, updater);
    QFETCH(QByteArray, started);

    const QByteArray manifest = QString(line + "\r\n")
                                    .replace("{base}", m_server.baseUrl())
                                    .replace("{sha}", sha256Hex(clientScript("new")))
                                    .toUtf8();
    const QByteArray minisig =
        sign(damage == "other file" ? "version=1.1.0\r\n" : manifest, key, minisignOptions);
    QVERIFY(!minisig.isEmpty());
    m_server.setFile(ManifestRoute, damage == "manifest" ? manifest + " " : manifest, "text/plain");
    m_server.setFile(ManifestRoute + ".minisig", damaged(minisig, damage), "text/plain",
                     damage == "missing" ? 404 : 200);
    if (damage == "replay") {
        writeFile(TrustedManifest::DefaultStateFile(), "1500000000\n");
    }

    QCOMPARE(menuCheck(), client);
    QVERIFY(!QFile::exists(PrivateTempFolder() + "Update.exe"));
    // The updater reads what the client left in the temporary folder.
    QStringList texts;
    const UpdateFrm::Outcome outcome = runUpdater(texts);
    QCOMPARE(texts, updater);
    QTRY_COMPARE(readAll(gameFolder() + "started.txt"), started);
    QCOMPARE(QDir(gameFolder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"started.txt", ClientName}));
    QVERIFY(QFileInfo(gameFolder() + ClientName).isExecutable());
    QCOMPARE(outcome == UpdateFrm::Outcome::Updated, started == "new\n");
}

void SignedUpdateTest::strangerAtStartUpOffersNothing()
{
    m_server.setFile(ManifestRoute, "version=6.6.6|http://127.0.0.1:1/evil.desktop\r\n",
                     "text/plain");
    m_server.setFile(ManifestRoute + ".minisig", "untrusted comment: trust me\n", "text/plain");
    ScriptedBoxes boxes(id::Yes);
    VersionCheck check(m_downloader, VersionCheck::Caller::Startup, &platform::MessageBox);
    check.SetManifestAddress(m_server.baseUrl() + ManifestRoute);
    check.SetUpdateKey(publicKey("a"));
    QCOMPARE(check.Run(), VersionCheck::Outcome::Continue);
    QCOMPARE(boxes.texts, QStringList{});
    QVERIFY(!QFile::exists(PrivateTempFolder() + "Update.exe"));
}

// The demo server's own signatures are minisign's: the tool itself accepts them, for the
// manifest as it is at each request.
void SignedUpdateTest::demoServerSignsWhatItServes()
{
    DemoServer demo;
    QVERIFY(demo.start());
    const QString file = m_scratch.filePath("served.txt");
    for (const QByteArray &manifest : {DemoServer::defaultManifest(), QByteArray("version=2\n")}) {
        demo.setManifest(manifest);
        QVERIFY(m_downloader.DownLoadFile(demo.baseUrl() + ManifestRoute, file, false, false));
        QVERIFY(m_downloader.DownLoadFile(demo.baseUrl() + ManifestRoute + ".minisig",
                                          file + ".minisig", false, false));
        QCOMPARE(readAll(file), manifest);
        QVERIFY(minisign({"-V", "-H", "-P", DemoSigner::DemoPublicKey(), "-m", file}));
    }
}

QTEST_MAIN(SignedUpdateTest)
#include "tst_signedupdate.moc"
