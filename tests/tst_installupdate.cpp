// The per-user install end to end: scripts/install.sh puts 1.1.0 into a fresh home, the demo
// server names a newer build, the player accepts (Return on each question, as a player would),
// the installed client is replaced in place and the one started again is the newer build.
#include "DemoServer.h"
#include "tests/support/TestFiles.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace {

// The installed client with another version compiled in: the same program, one string apart.
QByteArray newerBuild(QByteArray program, const QByteArray &from, const QByteArray &to)
{
    return program.replace('\0' + from + '\0', '\0' + to + '\0');
}

QString versionOf(const QString &program)
{
    QProcess process;
    process.start(program, {"--version"});
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool answers(const QString &socketPath)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    return socket.waitForConnected(200);
}

} // namespace

class InstallUpdateTest : public QObject {
    Q_OBJECT

private slots:
    void installedClientIsReplacedInPlace();
};

void InstallUpdateTest::installedClientIsReplacedInPlace()
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    environment.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
    environment.insert("VANTOR_INSTALL_NO_BUILD", "1");
    QVERIFY(QDir().mkpath(home.filePath("runtime")));
    QVERIFY(QFile::setPermissions(home.filePath("runtime"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QProcess install;
    install.setProcessEnvironment(environment);
    install.start(VANTOR_SOURCE_DIR "/scripts/install.sh", {});
    QVERIFY(install.waitForFinished(120000));
    QCOMPARE(install.exitCode(), 0);
    const QString client = home.filePath("data/vantor/vantor-client");
    QCOMPARE(versionOf(client), QString("vantor-client 1.1.0"));

    DemoServer server;
    QVERIFY(server.start());
    const QByteArray newer = newerBuild(readAll(client), "1.1.0", "1.1.1");
    server.setFile("/dl/vantor-client", newer, "application/octet-stream");
    const QByteArray hash = QCryptographicHash::hash(newer, QCryptographicHash::Sha256).toHex();
    server.setManifest(
        ("version=1.1.1|" + server.baseUrl() + "/dl/vantor-client|sha256=" + hash + "\r\n")
            .toUtf8());
    environment.insert("VANTOR_SERVER", server.baseUrl());

    // The player says yes to the question and OK to the updater's news.
    QTimer player;
    connect(&player, &QTimer::timeout, [] {
        QProcess::execute("xdotool", {"search", "--name", "^提示$", "windowactivate", "--sync",
                                      "%1", "key", "Return"});
    });
    player.start(700);
    QProcess first;
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(client, {});
    QTRY_COMPARE_WITH_TIMEOUT(versionOf(client), QString("vantor-client 1.1.1"), 60000);
    // The new build runs: it answers later starts on its socket.
    QTRY_VERIFY_WITH_TIMEOUT(answers(home.filePath("runtime/vantor/VantorClient")), 30000);
    player.stop();
    QCOMPARE(server.requestCount("/dl/vantor-client"), 1);

    // The restarted client goes the clean way.
    const qint64 pid =
        readAll(home.filePath("runtime/vantor/client.lock")).split('\n')[0].toLongLong();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(home.filePath("runtime/vantor/VantorClient")), 30000);
    QProcess uninstall;
    uninstall.setProcessEnvironment(environment);
    uninstall.start(VANTOR_SOURCE_DIR "/scripts/install.sh", {"--uninstall"});
    QVERIFY(uninstall.waitForFinished(30000));
    QVERIFY(!QFile::exists(client));
}

QTEST_GUILESS_MAIN(InstallUpdateTest)
#include "tst_installupdate.moc"
