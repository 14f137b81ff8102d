#include "DemoServer.h"
#include "platform/web/CacheMain.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"
#include "tests/support/WebPages.h"

#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <cstdio>
#include <optional>

using namespace platform;

namespace {

const QString StoragePage = "/qvmrwd/test/storage.html";
const QString CachedScript = "/static/cached.js";

bool logIn(WebBrowser &browser, const QString &base)
{
    return loadPage(browser, base + "/qvmrwd/") &&
           settled(browser,
                   "fetch('/qvmrwd/login', {method: 'POST', headers: {'Content-Type':"
                   " 'application/x-www-form-urlencoded'},"
                   " body: 'account=player&password=secret'}).then(r => r.status)") == "200";
}

// One run of the program for the restart test: "login" logs in and saves, "check" reports what
// the login page and the storage still know.
int childRun(const QString &phase, const QString &base)
{
    auto *browser = new WebBrowser;
    int status = 1;
    if (phase == "login") {
        status = logIn(*browser, base) && loadPage(*browser, base + StoragePage) &&
                         settled(*browser, "saveAll('关卡7')") == "saved"
                     ? 0
                     : 1;
    } else if (loadPage(*browser, base + "/qvmrwd/")) {
        std::printf("user=%s\n",
                    qPrintable(settled(*browser, "document.getElementById('welcome-user')"
                                                 ".textContent || '-'")));
        if (loadPage(*browser, base + StoragePage)) {
            std::printf("save=%s\n", qPrintable(settled(*browser, "readAll()")));
        }
        status = 0;
    }
    std::fflush(stdout);
    delete browser;
    return status;
}

} // namespace

class WebProfileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cacheClearKeepsWhatTheMaskNames_data();
    void cacheClearKeepsWhatTheMaskNames();
    void loginAndStorageLastARestart();

private:
    QString url(const QString &path) const { return m_server.baseUrl() + path; }
    DemoServer m_server;
};

void WebProfileTest::initTestCase()
{
    QVERIFY(m_server.start());
}

void WebProfileTest::cacheClearKeepsWhatTheMaskNames_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<quint32>("keepMask");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("fetchedAgain");
    QTest::addColumn<bool>("stillLoggedIn");

    QTest::newRow("the menu's clear") << "*.*" << 0x300000u << true << true << true;
    QTest::newRow("keep nothing") << "*.*" << 0u << true << true << false;
    QTest::newRow("cookies only") << "cookie:" << 0u << true << false << false;
    QTest::newRow("keep the files") << "*.*" << 0x300001u << true << false << true;
    QTest::newRow("a pattern it cannot follow") << "http://x/*" << 0u << false << false << true;
}

void WebProfileTest::cacheClearKeepsWhatTheMaskNames()
{
    QFETCH(QString, pattern);
    QFETCH(quint32, keepMask);
    QFETCH(bool, cleared);
    QFETCH(bool, fetchedAgain);
    QFETCH(bool, stillLoggedIn);
    WebBrowser browser;
    QVERIFY(logIn(browser, m_server.baseUrl()));
    QVERIFY(loadPage(browser, url(StoragePage + "?before")));
    const int fetched = m_server.requestCount(CachedScript);

    QCOMPARE(CacheMain::DeleteCacheEntries(pattern, keepMask), cleared);
    // QTest::qWait(300);
    //  Another address with the same script: only the cache decides whether it is fetched.
    QVERIFY(loadPage(browser, url(StoragePage + "?after")));
    QCOMPARE(m_server.requestCount(CachedScript) > fetched, fetchedAgain);
    QCOMPARE(m_server.lastCookies(StoragePage).contains("vantor_session="), stillLoggedIn);
}

void WebProfileTest::loginAndStorageLastARestart()
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    const auto run = [&](const QString &phase) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationFilePath(),
                      {"--run", phase, m_server.baseUrl()});
        program.waitForFinished(3 * PageTimeoutMs);
        return QString::fromUtf8(program.readAllStandardOutput());
    };
    run("login");
    const QString after = run("check");
    QVERIFY2(after.contains("user=player\n"), qPrintable(after));
    QVERIFY2(after.contains("save=关卡7|关卡7\n"), qPrintable(after));
}

int main(int argc, char *argv[])
{
    const bool child = argc == 4 && QByteArray(argv[1]) == "--run";
    // The two runs of the restart test share the home their parent gives them.
    std::optional<EngineHome> home;
    if (!child) {
        home.emplace();
    }
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    if (child) {
        return childRun(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    WebProfileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webprofile.moc"
