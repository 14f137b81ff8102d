#include "DemoServer.h"
#include "platform/WebBrowser.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace platform;

namespace {
const int LoadTimeoutMs = 15000;
}

class WebBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void standInTitleIsNotReported();
    void newWindowRequestsReportTheirAddress_data();
    void newWindowRequestsReportTheirAddress();
    void frameCompletionsComeWithTheFrameAddress();

private:
    bool load(WebBrowser &browser, const QString &path);
    QString url(const QString &path) const { return m_server.baseUrl() + path; }

    DemoServer m_server;
};

void WebBrowserTest::initTestCase()
{
    QVERIFY(m_server.start());
}

bool WebBrowserTest::load(WebBrowser &browser, const QString &path)
{
    QSignalSpy complete(&browser, &WebBrowser::DocumentComplete);
    browser.Navigate(url(path));
    return QTest::qWaitFor(
        [&] {
            return std::any_of(complete.begin(), complete.end(),
                               [](const QList<QVariant> &args) { return args.at(1).toBool(); });
        },
        LoadTimeoutMs);
}

void WebBrowserTest::standInTitleIsNotReported()
{
    WebBrowser browser;
    browser.resize(400, 300);
    browser.show();
    QSignalSpy titles(&browser, &WebBrowser::TitleChange);
    QVERIFY(load(browser, "/qvmrwd/test/title.html"));
    QTRY_COMPARE_WITH_TIMEOUT(titles.size(), 1, LoadTimeoutMs);
    QCOMPARE(titles.first().first().toString(), QString("新标题"));
    // The engine called the page by its address before it had a title; that was not passed on.
    QTest::qWait(200);
    QCOMPARE(titles.size(), 1);
}

void WebBrowserTest::newWindowRequestsReportTheirAddress_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("target");
    QTest::newRow("link with a blank target") << "document.getElementById('pop').click()"
                                              << "/game/popup.html";
    QTest::newRow("window.open") << "openPortal()"
                                 << "/portal/";
}

void WebBrowserTest::newWindowRequestsReportTheirAddress()
{
    QFETCH(QString, script);
    QFETCH(QString, target);
    WebBrowser browser;
    browser.resize(400, 300);
    browser.show();
    QVERIFY(load(browser, "/qvmrwd/test/newwindow.html"));
    QSignalSpy windows(&browser, &WebBrowser::NewWindow);
    QSignalSpy navigations(&browser, &WebBrowser::BeforeNavigate);
    browser.View()->page()->runJavaScript(script);

    QTRY_COMPARE_WITH_TIMEOUT(windows.size(), 1, LoadTimeoutMs);
    QCOMPARE(windows.first().first().toString(), url(target));
    // The page itself stays where it was.
    QCOMPARE(browser.LocationURL(), url("/qvmrwd/test/newwindow.html"));
    QVERIFY(navigations.isEmpty());
}

void WebBrowserTest::frameCompletionsComeWithTheFrameAddress()
{
    WebBrowser browser;
    browser.resize(400, 300);
    browser.show();
    QSignalSpy complete(&browser, &WebBrowser::DocumentComplete);
    QVERIFY(load(browser, "/qvmrwd/"));
    const QString notice = url("/qvmrwd/notice.html");
    QTRY_VERIFY_WITH_TIMEOUT(std::any_of(complete.begin(), complete.end(),
                                         [&](const QList<QVariant> &args) {
                                             return args.at(0).toString() == notice &&
                                                    !args.at(1).toBool();
                                         }),
                             LoadTimeoutMs);
}

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    WebBrowserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webbrowser.moc"
