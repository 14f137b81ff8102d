#include "DemoFaultRoutes.h"
#include "DemoPayload.h"
#include "DemoServer.h"
#include "controls/iButton.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Resources.h"
#include "platform/os/Shell.h"
#include "platform/os/TempFolder.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/ScriptedBoxes.h"
#include "updater/StagedFiles.h"
#include "updater/UpdateArgument.h"
#include "updater/UpdateFrm.h"
#include "updater/UpdateManifest.h"

#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QLockFile>
#include <QProcess>
#include <QProgressBar>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace platform;
using UpdateManifest::DownloadLine;

namespace {

const QString Updated = "软件已升至最新版本！";
const QString CancelQuestion = "您是否要退出更新！";
const QString Failed = "更新失败，将继续使用当前版本。";
const QString Cancelled = "更新已取消，将继续使用当前版本。";
const QString NotWritable =
    "无法写入客户端所在的文件夹，未作任何更改。请通过系统的软件包管理器更新。";

const QString ClientName = "vantor-client";
const QString SlowRoute = "/fault/slow?bytes=20000&ms=1500&pieces=20";

// The client stand-in: a script that notes which version of it was started.
QByteArray clientScript(const char *version)
{
    return QByteArray("#!/bin/sh\necho ") + version + " >> \"$(dirname \"$0\")/started.txt\"\n";
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The download, cancel and commit mechanics are the same for a signed manifest, which
// tst_signedupdate drives end to end; here the manifests are plain.
struct UnsignedUpdateFrm : UpdateFrm {
    UnsignedUpdateFrm() { SetUpdateKey({}); }
};

// Presses the updater's close button, or closes its window, once the label names a file.
class Canceller : public QObject {
public:
    Canceller(UpdateFrm &frm, const QString &fileNamePart, bool byCloseButton)
        : m_frm(frm), m_part(fileNamePart), m_byButton(byCloseButton)
    {
        if (m_part.isEmpty()) {
            return;
        }
        connect(&m_poll, &QTimer::timeout, this, &Canceller::poll);
        m_poll.start(20);
    }

private:
    void poll()
    {
        const auto *label = m_frm.findChild<QLabel *>("Label1");
        auto *closebtn = m_frm.findChild<iButton *>("closebtn");
        if (!label->text().contains(m_part) || !m_frm.windowHandle() ||
            !m_frm.windowHandle()->isExposed()) {
            return;
        }
        m_poll.stop();
        if (m_byButton) {
            QTest::mouseClick(closebtn, Qt::LeftButton, {}, closebtn->rect().center());
        } else {
            m_frm.close();
        }
    }

    UpdateFrm &m_frm;
    QString m_part;
    bool m_byButton;
    QTimer m_poll;
};

} // namespace

class UpdaterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void argument_data();
    void argument();
    void fileName_data();
    void fileName();
    void downloadLines_data();
    void downloadLines();
    void newClientFileBecomesExecutable();
    void onlyTheClientsOwnProgramsStayPrograms_data();
    void onlyTheClientsOwnProgramsStayPrograms();

    void endsWithoutShowingAnything_data();
    void endsWithoutShowingAnything();
    void update_data();
    void update();
    void replacementKeepsThePermissions();
    void progressFollowsTheDownload();
    void lockBelongsToTheClientFolderAndOnlyTheLivingHoldIt_data();
    void lockBelongsToTheClientFolderAndOnlyTheLivingHoldIt();
    void folderItCannotWriteIsRefusedUntouched();
    void commitIsAllOrNothing_data();
    void commitIsAllOrNothing();
    void plantedLinkAtStagingNameIsReplaced_data();
    void plantedLinkAtStagingNameIsReplaced();
    void openCancelQuestionDoesNotStallTheDownload();

    void clientCarriesTheUpdater();

private:
    QString gameFolder() const { return m_scratch.path() + "/game/"; }
    QString handOff() const { return gameFolder() + "|" + gameFolder() + ClientName; }
    void writeManifest(QString text);
    void writeOldClient();
    QStringList gameFiles() const;

    QTemporaryDir m_runtime;
    QTemporaryDir m_scratch;
    DemoServer m_server;
};

void UpdaterTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    QVERIFY(!PrivateTempFolder().isEmpty());
    QVERIFY(m_server.start());
    m_server.setFile("/dl/" + ClientName, clientScript("new"), "application/octet-stream");
    m_server.setFile("/dl/readme.txt", "新版本说明", "text/plain");
    m_server.setFile("/dl/evil.desktop", "[Desktop Entry]\nType=Application\nExec=sh -c id\n",
                     "application/octet-stream");
}

void UpdaterTest::init()
{
    QDir(gameFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(gameFolder()));
    QFile::remove(PrivateTempFolder() + UpdateFrm::ManifestFileName);
}

void UpdaterTest::writeManifest(QString text)
{
    text.replace("{base}", m_server.baseUrl());
    QVERIFY(writeFile(PrivateTempFolder() + UpdateFrm::ManifestFileName, text.toUtf8()));
}

void UpdaterTest::writeOldClient()
{
    const QString client = gameFolder() + ClientName;
    QVERIFY(writeFile(client, clientScript("old")));
    QVERIFY(QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QStringList UpdaterTest::gameFiles() const
{
    return QDir(gameFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void UpdaterTest::argument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("client");

    QTest::newRow("as the client builds it")
        << "/opt/vantor game|/opt/vantor game/vantor-client" << true << "/opt/vantor game/"
        << "/opt/vantor game/vantor-client";
    QTest::newRow("folder already ends in a separator")
        << "/opt/vantor/|/opt/vantor/vantor-client" << true << "/opt/vantor/"
        << "/opt/vantor/vantor-client";
    QTest::newRow("the root folder") << "/|/vantor-client" << true << "/"
                                     << "/vantor-client";
    QTest::newRow("empty") << "" << false << ""
                           << "";
    QTest::newRow("no bar") << "/opt/vantor" << false << ""
                            << "";
    QTest::newRow("empty folder") << "|/opt/vantor/vantor-client" << false << ""
                                  << "";
    QTest::newRow("relative folder") << "vantor|vantor/vantor-client" << false << ""
                                     << "";
}

void UpdaterTest::argument()
{
    QFETCH(QString, argument);
    QFETCH(bool, usable);
    QFETCH(QString, folder);
    QFETCH(QString, client);

    const std::optional<UpdateArgument> parsed = UpdateArgument::Parse(argument);
    QCOMPARE(parsed.has_value(), usable);
    if (usable) {
        QCOMPARE(parsed->folder, folder);
        QCOMPARE(parsed->clientExecutable, client);
    }
}

void UpdaterTest::fileName_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << "http://h/gamehome/vantor-client"
                           << "vantor-client" << true;
    QTest::newRow("no slash") << "vantor-client"
                              << "vantor-client" << true;
    QTest::newRow("query stays in the name") << "http://h/get?f=1"
                                             << "get?f=1" << true;
    QTest::newRow("chinese") << "http://h/说明.txt"
                             << "说明.txt" << true;
    QTest::newRow("ends in a slash") << "http://h/dir/"
                                     << "" << false;
    QTest::newRow("dot") << "http://h/dir/."
                         << "." << false;
    QTest::newRow("dot dot") << "http://h/dir/.."
                             << ".." << false;
    QTest::newRow("backslash climb") << "http://h/..\\..\\.bashrc"
                                     << "..\\..\\.bashrc" << false;
    QTest::newRow("control character") << "http://h/a\nb"
                                       << "a\nb" << false;
    QTest::newRow("dots in a name are fine") << "http://h/..hidden"
                                             << "..hidden" << true;
    QTest::newRow("right-to-left override") << QString::fromUtf8("http://h/txt.\u202Eexe")
                                            << QString::fromUtf8("txt.\u202Eexe") << false;
    QTest::newRow("line separator")
        << QString::fromUtf8("http://h/a\u2028b") << QString::fromUtf8("a\u2028b") << false;
    QTest::newRow("next line") << QString::fromUtf8("http://h/a\u0085b")
                               << QString::fromUtf8("a\u0085b") << false;
    QTest::newRow("zero-width joiner")
        << QString::fromUtf8("http://h/a\u200Db") << QString::fromUtf8("a\u200Db") << false;
}

void UpdaterTest::fileName()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(UpdateManifest::FileNameOf(address), name);
    QCOMPARE(UpdateManifest::IsSafeFileName(name), safe);
}

void UpdaterTest::downloadLines_data()
{
    QTest::addColumn<QByteArray>("manifest");
    QTest::addColumn<QList<DownloadLine>>("lines");

    QTest::newRow("one line") << QByteArray("[update]\r\nversion=1.1.1|http://h/c\r\n")
                              << QList<DownloadLine>{{"http://h/c", "c"}};
    QTest::newRow("two lines in order, LF ends")
        << QByteArray("version=1.1.1|http://h/a\nVERSION=1.1.1|http://h/b\n")
        << QList<DownloadLine>{{"http://h/a", "a"}, {"http://h/b", "b"}};
    QTest::newRow("blanks around the address")
        << QByteArray("version= 1.1.1 | http://h/c \r") << QList<DownloadLine>{{"http://h/c", "c"}};
    QTest::newRow("extra fields ignored")
        << QByteArray("version=1.1.1|http://h/c|md5") << QList<DownloadLine>{{"http://h/c", "c"}};
    QTest::newRow("no address field") << QByteArray("version=1.1.1\r\n") << QList<DownloadLine>{};
    QTest::newRow("empty address") << QByteArray("version=1.1.1|\r\n") << QList<DownloadLine>{};
    QTest::newRow("lines without version")
        << QByteArray("file|http://h/x\r\n") << QList<DownloadLine>{};
    QTest::newRow("traversal skipped, the rest kept")
        << QByteArray("version=1|http://h/..\r\nversion=1|http://h/a\\..\\b\r\n"
                      "version=1|http://h/ok\r\n")
        << QList<DownloadLine>{{"http://h/ok", "ok"}};
    QTest::newRow("empty file") << QByteArray() << QList<DownloadLine>{};
    const QByteArray hash = QByteArray::fromHex(QByteArray(64, 'a'));
    QTest::newRow("hash field") << QByteArray("version=1|http://h/c|sha256=" + QByteArray(64, 'A'))
                                << QList<DownloadLine>{{"http://h/c", "c", hash}};
    QTest::newRow("hash field one digit short")
        << QByteArray("version=1|http://h/c|sha256=" + QByteArray(63, 'a'))
        << QList<DownloadLine>{{"http://h/c", "c"}};
    QTest::newRow("invalid UTF-8 in a name skipped")
        << QByteArray("version=1|http://h/a\xff\xfe\r\nversion=1|http://h/ok\r\n")
        << QList<DownloadLine>{{"http://h/ok", "ok"}};
}

void UpdaterTest::downloadLines()
{
    QFETCH(QByteArray, manifest);
    QFETCH(QList<DownloadLine>, lines);
    QCOMPARE(UpdateManifest::DownloadLines(manifest), lines);
}

void UpdaterTest::newClientFileBecomesExecutable()
{
    const QString client = gameFolder() + ClientName;
    StagedFiles staged(gameFolder());
    QVERIFY(writeFile(staged.StagingPathFor(ClientName), clientScript("new")));
    QVERIFY(writeFile(staged.StagingPathFor("readme.txt"), "text"));
    QVERIFY(staged.CommitAll(client));
    QVERIFY(QFileInfo(client).isExecutable());
    QVERIFY(!QFileInfo(gameFolder() + "readme.txt").isExecutable());
}

void UpdaterTest::onlyTheClientsOwnProgramsStayPrograms_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("oldIsProgram"); // an executable of that name is there already
    QTest::addColumn<bool>("fromSignedManifest");
    QTest::addColumn<bool>("executable");

    QTest::newRow("new client") << ClientName << false << false << true;
    QTest::newRow("new file, signed") << "evil.desktop" << false << true << false;
    QTest::newRow("a program of the folder, unsigned") << "vantor-link" << true << false << false;
    QTest::newRow("a program of the folder, signed") << "vantor-link" << true << true << true;
}

void UpdaterTest::onlyTheClientsOwnProgramsStayPrograms()
{
    QFETCH(QString, name);
    QFETCH(bool, oldIsProgram);
    QFETCH(bool, fromSignedManifest);
    QFETCH(bool, executable);
    if (oldIsProgram) {
        QVERIFY(writeFile(gameFolder() + name, "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(gameFolder() + name, QFile::ReadOwner | QFile::ExeOwner));
    }
    StagedFiles staged(gameFolder());
    QVERIFY(writeFile(staged.StagingPathFor(name), "#!/bin/sh\nid\n"));
    QVERIFY(staged.CommitAll(gameFolder() + ClientName, fromSignedManifest
                                                            ? StagedFiles::Origin::Signed
                                                            : StagedFiles::Origin::Unsigned));
    QCOMPARE(QFileInfo(gameFolder() + name).isExecutable(), executable);
}

void UpdaterTest::endsWithoutShowingAnything_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("outcome");

    QTest::newRow("no argument") << "" << int(UpdateFrm::Outcome::NotStarted);
    QTest::newRow("no client path") << "/opt/vantor" << int(UpdateFrm::Outcome::NotStarted);
}

void UpdaterTest::endsWithoutShowingAnything()
{
    QFETCH(QString, argument);
    QFETCH(int, outcome);

    writeManifest("version=1.1.1|{base}/dl/vantor-client\r\n");
    QVERIFY(writeFile(gameFolder() + ClientName, clientScript("old")));
    ScriptedBoxes boxes(id::Yes);
    UnsignedUpdateFrm frm;
    bool shown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] { shown = shown || frm.isVisible(); });
    watch.start(1);

    QCOMPARE(int(frm.Start(argument)), outcome);
    QVERIFY(!shown && !frm.isVisible());
    QCOMPARE(boxes.texts, QStringList{});
    QCOMPARE(readAll(gameFolder() + ClientName), clientScript("old"));
    QCOMPARE(gameFiles(), QStringList{ClientName});
}

void UpdaterTest::update_data()
{
    QTest::addColumn<QString>("manifest");
    QTest::addColumn<QString>("clientName");
    QTest::addColumn<QString>("cancelAt");
    QTest::addColumn<bool>("byCloseButton");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QByteArray>("started");
    QTest::addColumn<QStringList>("files");

    const int updated = int(UpdateFrm::Outcome::Updated);
    const int failed = int(UpdateFrm::Outcome::Failed);
    const int cancelled = int(UpdateFrm::Outcome::Cancelled);
    const QString slowName = SlowRoute.mid(SlowRoute.lastIndexOf('/') + 1);
    const QString client = "version=1.1.1|{base}/dl/vantor-client\r\n";
    const QString slow = "version=1.1.1|{base}" + SlowRoute + "\r\n";

    QTest::newRow("new client") << client << ClientName << "" << true << 0 << updated
                                << QStringList{Updated} << QByteArray("new\n")
                                << QStringList{ClientName};
    QTest::newRow("two files, the last opened")
        << "version=1.1.1|{base}/dl/readme.txt\r\n" + client << ClientName << "" << true << 0
        << updated << QStringList{Updated} << QByteArray("new\n")
        << QStringList{"readme.txt", ClientName};
    QTest::newRow("client body cut short") << "version=1.1.1|{base}/fault/truncated\r\n"
                                           << "truncated"
                                           << "" << true << 0 << failed << QStringList{Failed}
                                           << QByteArray("old\n") << QStringList{"truncated"};
    QTest::newRow("second file cut short keeps the first out too")
        << client + "version=1.1.1|{base}/fault/truncated\r\n"
        << ClientName << "" << true << 0 << failed << QStringList{Failed} << QByteArray("old\n")
        << QStringList{ClientName};
    QTest::newRow("not found") << "version=1.1.1|{base}/fault/404\r\n"
                               << "404"
                               << "" << true << 0 << failed << QStringList{Failed}
                               << QByteArray("old\n") << QStringList{"404"};
    QTest::newRow("cancelled by the close button")
        << client + slow << ClientName << "slow" << true << int(id::Yes) << cancelled
        << QStringList{CancelQuestion, Cancelled} << QByteArray("old\n") << QStringList{ClientName};
    QTest::newRow("cancelled by closing the window")
        << client + slow << ClientName << "slow" << false << int(id::Yes) << cancelled
        << QStringList{CancelQuestion, Cancelled} << QByteArray("old\n") << QStringList{ClientName};
    QTest::newRow("cancel declined") << slow + client << ClientName << "slow" << true << int(id::No)
                                     << updated << QStringList{CancelQuestion, Updated}
                                     << QByteArray("new\n") << QStringList{slowName, ClientName};
    QTest::newRow("traversal names refused")
        << "version=1.1.1|{base}/dl/..\r\nversion=1.1.1|{base}/dl/..\\escape\r\n"
           "version=1.1.1|{base}/dl/\r\n"
        << ClientName << "" << true << 0 << failed << QStringList{Failed} << QByteArray("old\n")
        << QStringList{ClientName};
    QTest::newRow("traversal beside a good line")
        << "version=1.1.1|{base}/dl/..\\..\\vantor-client\r\n" + client << ClientName << "" << true
        << 0 << updated << QStringList{Updated} << QByteArray("new\n") << QStringList{ClientName};
    QTest::newRow("no address field")
        << "[update]\r\nversion=1.1.1\r\n"
        << ClientName << "" << true << 0 << failed << QStringList{Failed} << QByteArray("old\n")
        << QStringList{ClientName};
    QTest::newRow("a desktop file is written, never opened")
        << "version=1.1.1|{base}/dl/evil.desktop\r\n"
        << ClientName << "" << true << 0 << updated << QStringList{Updated} << QByteArray("old\n")
        << QStringList{"evil.desktop", ClientName};
}

void UpdaterTest::update()
{
    QFETCH(QString, manifest);
    QFETCH(QString, clientName);
    QFETCH(QString, cancelAt);
    QFETCH(bool, byCloseButton);
    QFETCH(int, answer);
    QFETCH(int, outcome);
    QFETCH(QStringList, boxes);
    QFETCH(QByteArray, started);
    QFETCH(QStringList, files);

    writeManifest(manifest);
    const QString client = gameFolder() + clientName;
    QVERIFY(writeFile(client, clientScript("old")));
    QVERIFY(QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QStringList besideTheGame = QDir(m_scratch.path()).entryList(QDir::AllEntries);

    ScriptedBoxes scripted(answer);
    QStringList opened;
    ScopedReplacement<ShellOpenService> shell(
        ShellOpenProvider(), [&opened](const QString &target, const QStringList &) {
            opened << target;
            return true;
        });
    UnsignedUpdateFrm frm;
    Canceller canceller(frm, cancelAt, byCloseButton);
    QCOMPARE(int(frm.Start(gameFolder() + "|" + client)), outcome);

    QCOMPARE(scripted.texts, boxes);
    // The client itself is started, directly; nothing goes to the desktop's opener.
    QTRY_COMPARE(readAll(gameFolder() + "started.txt"), started);
    QCOMPARE(opened, QStringList{});
    files.append("started.txt");
    files.sort();
    QCOMPARE(gameFiles(), files);
    for (const QString &name : files) {
        QCOMPARE(QFileInfo(gameFolder() + name).isExecutable(), name == clientName);
    }
    QCOMPARE(QDir(m_scratch.path()).entryList(QDir::AllEntries), besideTheGame);
    if (started == "old\n") {
        QCOMPARE(readAll(client), clientScript("old"));
    }
}

void UpdaterTest::replacementKeepsThePermissions()
{
    writeManifest("version=1.1.1|{base}/dl/vantor-client\r\n");
    const QString client = gameFolder() + ClientName;
    QVERIFY(writeFile(client, clientScript("old")));
    const QFile::Permissions odd = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                   QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(client, odd));

    ScriptedBoxes scripted(id::Ok);
    UnsignedUpdateFrm frm;
    QCOMPARE(frm.Start(handOff()), UpdateFrm::Outcome::Updated);
    QCOMPARE(readAll(client), clientScript("new"));
    // Owner, group and others; the "user" bits only repeat the owner's for us.
    const QFile::Permissions kept(0x7077);
    QCOMPARE(QFile::permissions(client) & kept, odd);
    QTRY_COMPARE(readAll(gameFolder() + "started.txt"), QByteArray("new\n"));
}

void UpdaterTest::progressFollowsTheDownload()
{
    writeManifest("version=1.1.1|{base}/fault/payload\r\n");
    writeOldClient();
    // The payload is not a program: it is written, and neither opened nor started.
    QStringList opened;
    ScopedReplacement<ShellOpenService> shell(
        ShellOpenProvider(), [&opened](const QString &target, const QStringList &) {
            opened << target;
            return true;
        });
    ScriptedBoxes scripted(id::Ok);
    UnsignedUpdateFrm frm;
    QCOMPARE(frm.Start(handOff()), UpdateFrm::Outcome::Updated);

    const auto *bar = frm.findChild<QProgressBar *>("ProgressBar1");
    QCOMPARE(bar->maximum(), int(DemoFault::PayloadBytes));
    QCOMPARE(bar->value(), int(DemoFault::PayloadBytes));
    QCOMPARE(frm.findChild<QLabel *>("Label1")->text(), QString("正在下载：payload"));
    QCOMPARE(readAll(gameFolder() + "payload"), DemoPayload::bytes(0, DemoFault::PayloadBytes));
    QCOMPARE(opened, QStringList{});
    QTRY_COMPARE(readAll(gameFolder() + "started.txt"), QByteArray("old\n"));
}

void UpdaterTest::lockBelongsToTheClientFolderAndOnlyTheLivingHoldIt_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<bool>("ownTempFolder");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("started");

    const int running = int(UpdateFrm::Outcome::AlreadyRunning);
    const int updated = int(UpdateFrm::Outcome::Updated);
    QTest::newRow("another updater holds it")
        << QByteArray("held") << false << running << QByteArray("old\n");
    QTest::newRow("another updater with another temporary folder")
        << QByteArray("held") << true << running << QByteArray("old\n");
    QTest::newRow("empty lock left behind")
        << QByteArray("") << false << updated << QByteArray("new\n");
    QTest::newRow("garbled lock left behind")
        << QByteArray("\xff\xfe not a lock\n") << false << updated << QByteArray("new\n");
    QTest::newRow("lock of an updater long gone")
        << QByteArray("999999999\nUpdate.exe\n\n") << false << updated << QByteArray("new\n");
}

void UpdaterTest::lockBelongsToTheClientFolderAndOnlyTheLivingHoldIt()
{
    QFETCH(QByteArray, lock);
    QFETCH(bool, ownTempFolder);
    QFETCH(int, outcome);
    QFETCH(QByteArray, started);

    writeManifest("version=1.1.1|{base}/dl/vantor-client\r\n");
    writeOldClient();
    const QString lockFile = gameFolder() + UpdateFrm::LockFileName;
    QLockFile otherUpdater(lockFile);
    if (lock == "held") {
        QVERIFY(otherUpdater.tryLock(0));
    } else {
        QVERIFY(writeFile(lockFile, lock));
    }
    QTemporaryDir otherRuntime;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const auto restore = qScopeGuard([&] { qputenv("XDG_RUNTIME_DIR", runtime); });
    if (ownTempFolder) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(otherRuntime.path()));
        writeManifest("version=1.1.1|{base}/dl/vantor-client\r\n");
    }

    ScriptedBoxes boxes(id::Ok);
    UnsignedUpdateFrm frm;
    QCOMPARE(int(frm.Start(handOff())), outcome);
    // Whatever happened, the player gets a client back.
    QTRY_COMPARE(readAll(gameFolder() + "started.txt"), started);
    QCOMPARE(boxes.texts,
             outcome == int(UpdateFrm::Outcome::Updated) ? QStringList{Updated} : QStringList{});
}

void UpdaterTest::folderItCannotWriteIsRefusedUntouched()
{
    writeManifest("version=1.1.1|{base}/dl/vantor-client\r\n");
    writeOldClient();
    // The client started again cannot write its own folder: it says so elsewhere, so the test
    // knows it ran before the next one begins.
    const QString startedElsewhere = m_scratch.filePath("started-elsewhere.txt");
    const QByteArray client =
        "#!/bin/sh\necho old >> '" + QFile::encodeName(startedElsewhere) + "'\n";
    QVERIFY(writeFile(gameFolder() + ClientName, client));
    const QStringList before = gameFiles();
    const ReadOnlyFolder readOnly(gameFolder());
    if (!readOnly.IsReadOnly()) {
        QSKIP("no private mount namespace here (needs root)");
    }
    const int served = m_server.requestCount("/dl/" + ClientName);

    ScriptedBoxes boxes(id::Ok);
    UpdateFrm frm;
    QCOMPARE(frm.Start(handOff()), UpdateFrm::Outcome::Failed);
    QCOMPARE(boxes.texts, QStringList{NotWritable});
    QVERIFY(!frm.isVisible());
    QCOMPARE(m_server.requestCount("/dl/" + ClientName), served);
    QCOMPARE(gameFiles(), before);
    QCOMPARE(readAll(gameFolder() + ClientName), client);
    QTRY_COMPARE(readAll(startedElsewhere), QByteArray("old\n"));
}

void UpdaterTest::commitIsAllOrNothing_data()
{
    QTest::addColumn<QStringList>("staged");
    // A folder stands where this one is to go, so it cannot be moved into place.
    QTest::newRow("second move fails") << QStringList{ClientName, "data"};
    QTest::newRow("a new file moved in is taken out again") << QStringList{"new.txt", "data"};
    QTest::newRow("first move fails") << QStringList{"data", ClientName};
}

void UpdaterTest::commitIsAllOrNothing()
{
    QFETCH(QStringList, staged);
    writeOldClient();
    QVERIFY(QDir().mkpath(gameFolder() + "data/inside"));
    const QStringList before = gameFiles();
    {
        StagedFiles files(gameFolder());
        for (const QString &name : staged) {
            QVERIFY(writeFile(files.StagingPathFor(name), "new " + name.toUtf8()));
        }
        QVERIFY(!files.CommitAll(gameFolder() + ClientName));
    }
    QCOMPARE(gameFiles(), before);
    QCOMPARE(readAll(gameFolder() + ClientName), clientScript("old"));
    QVERIFY(QFileInfo(gameFolder() + "data/inside").isDir());
}

void UpdaterTest::plantedLinkAtStagingNameIsReplaced_data()
{
    QTest::addColumn<bool>("victimExists");
    QTest::newRow("link to a file outside") << true;
    QTest::newRow("link to nothing yet outside") << false;
}

void UpdaterTest::plantedLinkAtStagingNameIsReplaced()
{
    QFETCH(bool, victimExists);
    writeManifest("version=1.1.1|{base}/dl/vantor-client\r\n");
    writeOldClient();
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim");
    if (victimExists) {
        QVERIFY(writeFile(victim, "victim"));
    }
    const QString staging = StagedFiles(gameFolder()).StagingPathFor(ClientName);
    QVERIFY(QFile::link(victim, staging));

    ScriptedBoxes boxes(id::Ok);
    UnsignedUpdateFrm frm;
    QCOMPARE(frm.Start(handOff()), UpdateFrm::Outcome::Updated);
    QCOMPARE(QFile::exists(victim), victimExists);
    QCOMPARE(readAll(victim), victimExists ? QByteArray("victim") : QByteArray());
    QVERIFY(!QFileInfo(gameFolder() + ClientName).isSymLink());
    QCOMPARE(readAll(gameFolder() + ClientName), clientScript("new"));
    QTRY_COMPARE(readAll(gameFolder() + "started.txt"), QByteArray("new\n"));
}

void UpdaterTest::openCancelQuestionDoesNotStallTheDownload()
{
    // 8 MiB over 4 s: far more than the downloader lets the network layer hold for it.
    const QString route = "/fault/slow?bytes=8388608&ms=4000&pieces=64";
    writeManifest("version=1.1.1|{base}" + route + "\r\n");
    writeOldClient();
    ScopedReplacement<ShellOpenService> shell(
        ShellOpenProvider(), [](const QString &, const QStringList &) { return true; });
    QStringList texts;
    ScopedReplacement<MessageBoxService> box(
        MessageBoxProvider(), [&texts](const QString &text, const QString &, unsigned) {
            texts.append(text);
            if (text != CancelQuestion) {
                return int(id::Ok);
            }
            // The player thinks it over, in a modal loop, longer than the transfer may stand
            // still.
            QEventLoop modal;
            QTimer::singleShot(2500, &modal, &QEventLoop::quit);
            modal.exec();
            return int(id::No);
        });
    UnsignedUpdateFrm frm;
    frm.SetTransferTimeout(1000);
    Canceller canceller(frm, "slow", true);
    QCOMPARE(frm.Start(handOff()), UpdateFrm::Outcome::Updated);
    QCOMPARE(texts, (QStringList{CancelQuestion, Updated}));
    QCOMPARE(QFileInfo(gameFolder() + route.mid(route.lastIndexOf('/') + 1)).size(), 8388608);
}

void UpdaterTest::clientCarriesTheUpdater()
{
    const QByteArray program = LoadResource("UPDATE", 101);
    QVERIFY(program.startsWith("\x7f"
                               "ELF"));
    const QString path = m_scratch.path() + "/Update.exe";
    QVERIFY(writeFile(path, program));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));

    // Without the client's argument it ends at once, showing nothing.
    QProcess updater;
    updater.start(path, {});
    QVERIFY(updater.waitForFinished(20000));
    QCOMPARE(updater.exitStatus(), QProcess::NormalExit);
    QCOMPARE(updater.exitCode(), 0);
    QFile::remove(path);
}

QTEST_MAIN(UpdaterTest)
#include "tst_updater.moc"
