// Where the web profile lives: named outright under the XDG folders, and an earlier profile
// moved there once without losing what it holds. Where a download goes, by name.
#include "platform/web/DownloadTarget.h"
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
    void downloadNamesStayInTheFolder_data();
    void downloadNamesStayInTheFolder();

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
    QCOMPARE(ProfilePaths::Data(), m_home.filePath("data/vantor"));
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

// Names come from servers and pages: whatever they say, the file is a plain one of the folder,
// and what the folder holds (or is being written into it) is never taken.
void ProfilePathsTest::downloadNamesStayInTheFolder_data()
{
    QTest::addColumn<QString>("suggested");
    QTest::addColumn<QStringList>("present"); // in the folder already
    QTest::addColumn<QString>("saved");
    const QStringList none;
    QTest::newRow("plain") << "存档.txt" << none << "存档.txt";
    QTest::newRow("taken") << "存档.txt" << QStringList{"存档.txt"} << "存档 (2).txt";
    QTest::newRow("taken twice") << "存档.txt" << QStringList{"存档.txt", "存档 (2).txt"}
                                 << "存档 (3).txt";
    QTest::newRow("being written") << "存档.txt" << QStringList{"存档.txt.part"} << "存档 (2).txt";
    QTest::newRow("no extension, taken") << "README" << QStringList{"README"} << "README (2)";
    QTest::newRow("a path up") << "../../.local/run.sh" << none << "run.sh";
    QTest::newRow("a Windows path") << "C:\\Users\\a\\save.dat" << none << "save.dat";
    QTest::newRow("hidden") << ".bashrc" << none << "bashrc";
    QTest::newRow("only dots") << ".." << none << "下载";
    QTest::newRow("empty") << "" << none << "下载";
    QTest::newRow("control characters") << "a\nb\tc.txt" << none << "abc.txt";
    QTest::newRow("trailing dots and spaces") << "save. . " << none << "save";
    QTest::newRow("too long") << QString(300, QChar(0x5B58)) + ".txt" << none
                              << QString(65, QChar(0x5B58)) + ".txt";
}

void ProfilePathsTest::downloadNamesStayInTheFolder()
{
    QFETCH(QString, suggested);
    QFETCH(QStringList, present);
    QTemporaryDir folder;
    for (const QString &name : present) {
        writeFile(folder.filePath(name), "kept");
    }
    const QString name =
        DownloadTarget::FreeName(folder.path(), DownloadTarget::SafeName(suggested));
    QTEST(name, "saved");
    QVERIFY(name.toUtf8().size() <= 200);
}

QTEST_GUILESS_MAIN(ProfilePathsTest)
#include "tst_profilepaths.moc"
