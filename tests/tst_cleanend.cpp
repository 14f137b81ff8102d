// The client asked to end by a signal (the session closing, kill, Ctrl+C) ends as its exit
// dialog's "是" ends it: the player's fresh login is on disk and nothing of it is left running.
// VANTOR_END_ROUNDS repeats the SIGTERM case (the heavy run does it ten times).
#include "DemoLoginRoutes.h"
#include "DemoServer.h"
#include "tests/support/TestFiles.h"

#include <QDirIterator>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// The files of a web profile that hold the cookies, wherever under the home they went.
bool cookieOnDisk(const QString &home, const QByteArray &name)
{
    QDirIterator files(home, {"Cookies"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        if (readAll(files.next()).contains(name)) {
            return true;
        }
    }
    return false;
}

} // namespace

class CleanEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void freshLoginSurvivesTheSignal_data();
    void freshLoginSurvivesTheSignal();

private:
    DemoServer m_server;
};

void CleanEndTest::initTestCase()
{
    m_server.setAutoLogin(true);
    QVERIFY(m_server.start());
}

void CleanEndTest::freshLoginSurvivesTheSignal_data()
{
    QTest::addColumn<int>("signalNumber");

    const int rounds = qMax(1, qEnvironmentVariableIntValue("VANTOR_END_ROUNDS"));
    for (int round = 1; round <= rounds; ++round) {
        QTest::addRow("SIGTERM, round %d", round) << int(SIGTERM);
    }
    if (rounds == 1) {
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
}

void CleanEndTest::freshLoginSurvivesTheSignal()
{
    QFETCH(int, signalNumber);

    QTemporaryDir home;
    const QString runtime = home.filePath("runtime");
    QVERIFY(QDir().mkpath(runtime));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_RUNTIME_DIR", runtime);
    environment.insert("VANTOR_SERVER", m_server.baseUrl());
    environment.insert("VANTOR_SHOTS_DIR", home.filePath("shots"));
    environment.insert("VANTOR_SHOTS_LAST", "never");
    environment.insert("VANTOR_SHOTS_TIMEOUT", "100");

    QProcess client;
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QSignalSpy finished(&client, &QProcess::finished);
    client.start(VANTOR_CLIENT_PROGRAM, {});
    // The game page is in and its picture taken: the login's cookie is only in memory yet.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath("shots/4-main.png")), 60000);
    QTest::qWait(1000);
    ::kill(pid_t(client.processId()), signalNumber);

    QVERIFY(finished.wait(30000));
    QCOMPARE(client.exitStatus(), QProcess::NormalExit);
    QCOMPARE(client.exitCode(), 0);
    QVERIFY(cookieOnDisk(home.path(), DemoLoginRoutes::SessionCookie));
    // Nothing of it is left in the runtime folder for the next start to wonder about.
    QCOMPARE(
        QDir(runtime + "/vantor")
            .entryList({"*.lock", "VantorClient", "TesselDDE"}, QDir::AllEntries | QDir::System),
        QStringList{});
}

QTEST_GUILESS_MAIN(CleanEndTest)
#include "tst_cleanend.moc"
