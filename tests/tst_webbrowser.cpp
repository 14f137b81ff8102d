#include "DemoServer.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"
#include "tests/support/WebPages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace platform;

namespace {

const int LoadTimeoutMs = 15000;

// Stands in for the desktop's handler of a scheme: whatever reaches it has left the client.
class DesktopHandler : public QObject {
    Q_OBJECT

public:
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened.append(url.toString()); }
};

// A page that is one big link at its top left corner, where a click lands.
QByteArray bigLinkPage(const QString &address)
{
    return QString("<html><body style='margin:0'><a href='%1' style='display:block;"
                   "width:300px;height:100px'>link</a></body></html>")
        .arg(address)
        .toUtf8();
}

} // namespace

class WebBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void standInTitleIsNotReported();
    void newWindowRequestsReportTheirAddress_data();
    void newWindowRequestsReportTheirAddress();
    void frameCompletionsComeWithTheFrameAddress();
    void otherSchemesNeverReachTheDesktop_data();
    void otherSchemesNeverReachTheDesktop();
    void refusedNavigationWhileLoadingKeepsTheCompletion();
    void engineStartsWithoutItsParameterDump();

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
    QTest::addColumn<QString>("click");
    QTest::addColumn<QString>("target");
    QTest::newRow("link with a blank target") << "pop"
                                              << "/game/popup.html";
    QTest::newRow("window.open") << "portal"
                                 << "/portal/";
}

void WebBrowserTest::newWindowRequestsReportTheirAddress()
{
    QFETCH(QString, click);
    QFETCH(QString, target);
    WebBrowser browser;
    browser.resize(400, 300);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QVERIFY(load(browser, "/qvmrwd/test/newwindow.html"));
    QSignalSpy windows(&browser, &WebBrowser::NewWindow);
    QSignalSpy navigations(&browser, &WebBrowser::BeforeNavigate);
    QVERIFY(clickElement(browser, click));

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

void WebBrowserTest::otherSchemesNeverReachTheDesktop_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("inForeignFrame");
    QTest::newRow("mail link") << "mailto:player@example.com" << false;
    QTest::newRow("made-up scheme") << "foo://x" << false;
    QTest::newRow("mail link in a frame of another origin") << "mailto:player@example.com" << true;
    QTest::newRow("made-up scheme in a frame of another origin") << "foo://x" << true;
}

void WebBrowserTest::otherSchemesNeverReachTheDesktop()
{
    QFETCH(QString, address);
    QFETCH(bool, inForeignFrame);
    const QString scheme = QUrl(address).scheme();
    DesktopHandler desktop;
    QDesktopServices::setUrlHandler(scheme, &desktop, "open");
    const auto unset = qScopeGuard([&] { QDesktopServices::unsetUrlHandler(scheme); });
    m_server.setFile("/t/link.html", bigLinkPage(address), "text/html");
    // localhost and 127.0.0.1 are different origins to the browser.
    const QString frame = QString("http://localhost:%1/t/link.html").arg(m_server.port());
    m_server.setFile("/t/framed-link.html",
                     QString("<html><body style='margin:0'><iframe src='%1' style='border:0;"
                             "width:400px;height:200px'></iframe></body></html>")
                         .arg(frame)
                         .toUtf8(),
                     "text/html");

    WebBrowser browser;
    browser.resize(400, 300);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QSignalSpy complete(&browser, &WebBrowser::DocumentComplete);
    QVERIFY(load(browser, inForeignFrame ? "/t/framed-link.html" : "/t/link.html"));
    if (inForeignFrame) {
        QTRY_VERIFY_WITH_TIMEOUT(std::any_of(complete.begin(), complete.end(),
                                             [&](const QList<QVariant> &args) {
                                                 return args.at(0).toString() == frame;
                                             }),
                                 LoadTimeoutMs);
    }
    QTest::mouseClick(browser.View()->focusProxy(), Qt::LeftButton, {}, QPoint(50, 30));
    QTest::qWait(1000);
    QCOMPARE(desktop.opened, QStringList{});
}

void WebBrowserTest::refusedNavigationWhileLoadingKeepsTheCompletion()
{
    // The page asks to leave while it is still loading; the refusal must not cost the page its
    // own completion.
    m_server.setFile("/t/leaves-early.html",
                     "<html><body><script>location.href = '/t/refused.html';</script>"
                     "<img src='/fault/slow?bytes=3000&ms=1000&pieces=3'></body></html>",
                     "text/html");
    WebBrowser browser;
    browser.resize(400, 300);
    browser.show();
    connect(&browser, &WebBrowser::BeforeNavigate,
            [](const QString &url, bool &cancel) { cancel = cancel || url.contains("refused"); });
    QVERIFY(load(browser, "/t/leaves-early.html"));
    QCOMPARE(browser.LocationURL(), url("/t/leaves-early.html"));
}

void WebBrowserTest::engineStartsWithoutItsParameterDump()
{
    // What a player sees on the terminal: this program run again with one short test.
    QProcess again;
    again.setProcessChannelMode(QProcess::MergedChannels);
    again.start(QCoreApplication::applicationFilePath(), {"standInTitleIsNotReported"});
    QVERIFY(again.waitForFinished(60000));
    const QByteArray output = again.readAll();
    QCOMPARE(again.exitCode(), 0);
    QVERIFY2(!output.contains("Init Parameters"), output.constData());
}

int main(int argc, char *argv[])
{
    const EngineHome home;
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    WebBrowserTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webbrowser.moc"
