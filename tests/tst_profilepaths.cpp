// Where the web profile lives: named outright under the XDG folders, and an earlier profile
// moved there once without losing what it holds.
#include "platform/web/ProfilePaths.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

class ProfilePathsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pathsIgnoreTheApplicationsNames();
    void earlierProfileMovesOverOnce_data();
    void earlierProfileMovesOverOnce();

private:
    QTemporaryDir m_home;
};

void ProfilePathsTest::initTestCase()
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath("cache")));
}

void ProfilePathsTest::pathsIgnoreTheApplicationsNames()
{
    QCoreApplication::setOrganizationName("Some Organisation");
    QCoreApplication::setApplicationName("Renamed");
    QCOMPARE(ProfilePaths::Storage(), m_home.filePath("data/vantor/profile"));
    QCOMPARE(ProfilePaths::Cache(), m_home.filePath("cache/vantor"));
    QCOMPARE(ProfilePaths::EarlierStorage(),
             m_home.filePath("data/Some Organisation/Renamed/QtWebEngine/vantor"));
}

void ProfilePathsTest::earlierProfileMovesOverOnce_data()
{
    QTest::addColumn<bool>("earlier");
    QTest::addColumn<bool>("pinned");
    QTest::addColumn<QByteArray>("cookies");

    QTest::newRow("only the earlier one") << true << false << QByteArray("earlier");
    QTest::newRow("both: the pinned one stays") << true << true << QByteArray("pinned");
    QTest::newRow("only the pinned one") << false << true << QByteArray("pinned");
    QTest::newRow("none yet") << false << false << QByteArray();
}

void ProfilePathsTest::earlierProfileMovesOverOnce()
{
    QFETCH(bool, earlier);
    QFETCH(bool, pinned);
    QFETCH(QByteArray, cookies);

    QTemporaryDir scratch;
    const QString earlierPath = scratch.filePath("old/QtWebEngine/vantor");
    const QString pinnedPath = scratch.filePath("data/vantor/profile");
    for (const auto &[present, path, text] :
         {std::tuple{earlier, earlierPath, "earlier"}, std::tuple{pinned, pinnedPath, "pinned"}}) {
        if (present) {
            QVERIFY(QDir().mkpath(path));
            writeFile(path + "/Cookies", text);
        }
    }
    QCOMPARE(ProfilePaths::MoveOver(earlierPath, pinnedPath), pinnedPath);
    QCOMPARE(readAll(pinnedPath + "/Cookies"), cookies);
    QCOMPARE(QFile::exists(earlierPath), earlier && pinned);
}

QTEST_GUILESS_MAIN(ProfilePathsTest)
#include "tst_profilepaths.moc"
