// One client per user: a later start hands over to the running one and ends; what a crashed
// client left never stops a start.
#include "app/SingleClient.h"
#include "platform/os/TempFolder.h"
#include "tests/support/TestFiles.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A socket file nobody listens on any more, as a client that crashed leaves it.
void leaveDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd);
}

bool answers(const QString &topic)
{
    QLocalSocket socket;
    socket.connectToServer(platform::PrivateTempFolder() + topic);
    return QTest::qWaitFor([&] { return socket.state() == QLocalSocket::ConnectedState; }, 2000);
}

} // namespace

class SingleClientTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void laterStartHandsOverAndEnds();
    void leftoversOfACrashedClientNeverStopAStart_data();
    void leftoversOfACrashedClientNeverStopAStart();
    void releaseLetsTheNextStartIn();

private:
    QTemporaryDir m_runtime;
};

void SingleClientTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    QVERIFY(!platform::PrivateTempFolder().isEmpty());
}

void SingleClientTest::laterStartHandsOverAndEnds()
{
    SingleClient first;
    QCOMPARE(first.Take(), SingleClient::Claim::First);
    QSignalSpy shown(&first, &SingleClient::ShowRequested);

    QProcess later;
    QSignalSpy finished(&later, &QProcess::finished);
    later.start(VANTOR_CLIENT_PROGRAM, {});
    QVERIFY(finished.wait(15000));
    QCOMPARE(later.exitStatus(), QProcess::NormalExit);
    QCOMPARE(later.exitCode(), 0);
    QCOMPARE(shown.count(), 1);
}

void SingleClientTest::leftoversOfACrashedClientNeverStopAStart_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<bool>("deadSocket");

    QTest::newRow("socket nobody answers") << QByteArray() << true;
    QTest::newRow("lock of a client long gone")
        << QByteArray("999999999\nvantor-client\n\n") << false;
    QTest::newRow("both") << QByteArray("999999999\nvantor-client\n\n") << true;
    QTest::newRow("garbled lock") << QByteArray("\xff garbled") << true;
}

void SingleClientTest::leftoversOfACrashedClientNeverStopAStart()
{
    QFETCH(QByteArray, lock);
    QFETCH(bool, deadSocket);

    const QString folder = platform::PrivateTempFolder();
    if (!lock.isEmpty()) {
        writeFile(folder + SingleClient::LockFileName, lock);
    }
    if (deadSocket) {
        leaveDeadSocket(folder + SingleClient::Topic);
    }
    SingleClient client;
    QCOMPARE(client.Take(1000), SingleClient::Claim::First);
    QVERIFY(answers(SingleClient::Topic));
}

void SingleClientTest::releaseLetsTheNextStartIn()
{
    {
        SingleClient first;
        QCOMPARE(first.Take(), SingleClient::Claim::First);
    }
    const QString folder = platform::PrivateTempFolder();
    QVERIFY(!QFile::exists(folder + SingleClient::LockFileName));
    QVERIFY(!QFile::exists(folder + SingleClient::Topic));
    SingleClient next;
    QCOMPARE(next.Take(1000), SingleClient::Claim::First);
}

QTEST_MAIN(SingleClientTest)
#include "tst_singleclient.moc"
