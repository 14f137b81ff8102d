#include "DemoServer.h"
#include "app/Forms.h"
#include "mainwnd/GameTabs.h"
#include "mainwnd/WebMainFrm.h"
#include "mainwnd/WebUrl.h"
#include "platform/os/Program.h"
#include "platform/os/Shell.h"
#include "platform/web/WebBrowser.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/uTab.h"
#include "tests/support/EngineHome.h"
#include "tests/support/Parts.h"
#include "tests/support/WebPages.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

using namespace platform;

namespace {

const int LoadTimeoutMs = 20000;

} // namespace

class GamePageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void tabCaptionIsThePageTitle();
    void newWindowsGoToTheShell_data();
    void newWindowsGoToTheShell();
    void keyboardGoesToTheSelectedPage();
    void killedRendererReloadsOnce();
    void refreshBeforeAndAfterTheFirstTab();
    void webGLContexts_data();
    void webGLContexts();
    void renderersPerSite_data();
    void renderersPerSite();

private:
    WebUrl *openGame(const QString &path);
    QString url(const QString &path) const { return m_server.baseUrl() + path; }

    DemoServer m_server;
    QPointer<WebMainFrm> m_main;
    QStringList m_opened;
    std::unique_ptr<ScopedReplacement<ShellOpenService>> m_shell;
    std::unique_ptr<ScopedReplacement<EndProgramService>> m_end;
};

void GamePageTest::initTestCase()
{
    QVERIFY(m_server.start());
    // The engine starts as the client starts it: its profile before any view.
    WebBrowser::SharedProfile();
}

void GamePageTest::init()
{
    m_opened.clear();
    m_shell = std::make_unique<ScopedReplacement<ShellOpenService>>(
        ShellOpenProvider(), [this](const QString &target, const QStringList &) {
            m_opened << target;
            return true;
        });
    m_end =
        std::make_unique<ScopedReplacement<EndProgramService>>(EndProgramProvider(), [](int) {});
}

void GamePageTest::cleanup()
{
    if (m_main) {
        m_main->m_bExit = true;
        m_main->close();
    }
    QTRY_VERIFY(!m_main);
    m_end.reset();
    m_shell.reset();
}

// The main window as the login leaves it: the game page handed over, then shown.
WebUrl *GamePageTest::openGame(const QString &path)
{
    m_main = &Forms<WebMainFrm>::Get();
    QSignalSpy complete(m_main, &WebMainFrm::GamePageComplete);
    m_main->SetURL(url(path));
    m_main->show();
    if (!QTest::qWaitForWindowExposed(m_main) || !complete.wait(LoadTimeoutMs)) {
        return nullptr;
    }
    return m_main->Tabs().PageOf(PartOf<uTab>(m_main, "WebuTab")->Selected());
}

void GamePageTest::tabCaptionIsThePageTitle()
{
    QVERIFY(openGame("/game/?seed=1"));
    const auto tab = PartOf<uTab>(m_main, "WebuTab")->TabItems()->Item(0);
    QTRY_COMPARE_WITH_TIMEOUT(tab->Caption(), QString("Vantor - 得分 0"), LoadTimeoutMs);
}

void GamePageTest::newWindowsGoToTheShell_data()
{
    QTest::addColumn<QString>("script"); // run first, as the page's own script
    QTest::addColumn<int>("clicks");     // then the player clicks the element this often
    QTest::addColumn<QString>("element");
    QTest::addColumn<QStringList>("opened");
    const QString guide = "/game/popup.html?guide=1";
    QTest::newRow("click on a link with a blank target")
        << QString() << 1 << "leaderboard-link" << QStringList{"/game/popup.html"};
    QTest::newRow("click that calls window.open")
        << QString() << 1 << "guide-link" << QStringList{guide};
    QTest::newRow("five clicks in a moment")
        << QString() << 5 << "guide-link" << QStringList{guide, guide};
    QTest::newRow("click on a window without an address")
        << "const b = document.createElement('button'); b.id = 'blank'; b.textContent = 'x';"
           "b.onclick = () => window.open(''); document.body.prepend(b)"
        << 1 << "blank" << QStringList{};
    QTest::newRow("link clicked by script")
        << "document.getElementById('leaderboard-link').click()" << 0 << QString() << QStringList{};
    QTest::newRow("window.open from a timer")
        << "setTimeout(() => window.open('/game/popup.html'), 0)" << 0 << QString()
        << QStringList{};
    QTest::newRow("a thousand window.open('')")
        << "for (let i = 0; i < 1000; ++i) window.open('')" << 0 << QString() << QStringList{};
}

// Only the player's clicks open windows, a few a second, in the desktop's browser; no page is
// kept for any new window.
void GamePageTest::newWindowsGoToTheShell()
{
    QFETCH(QString, script);
    QFETCH(int, clicks);
    QFETCH(QString, element);
    QFETCH(QStringList, opened);
    WebUrl *page = openGame("/game/?seed=1");
    QVERIFY(page);
    const int windows = QApplication::topLevelWidgets().size();
    if (!script.isEmpty()) {
        evaluate(*page->wb, script);
    }
    for (int i = 0; i < clicks; ++i) {
        QVERIFY(clickElement(*page->wb, element));
    }
    QStringList expected;
    for (const QString &path : opened) {
        expected << url(path);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_opened.size(), expected.size(), LoadTimeoutMs);
    waitInLoop([] { return false; }, 1000);
    QCOMPARE(m_opened, expected);
    QCOMPARE(page->wb->findChildren<QWebEnginePage *>().size(), 1);
    QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->TabItems()->Count(), 1);
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    QCOMPARE(page->wb->LocationURL(), url("/game/?seed=1"));
}

// Keys typed on the real keyboard reach the game without a click on the page first.
void GamePageTest::keyboardGoesToTheSelectedPage()
{
    WebUrl *first = openGame("/game/?seed=1");
    QVERIFY(first);
    const QString keys = "vantorOrbs.state().aim.keys";
    QProcess::execute("xdotool", {"key", "Right"});
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(*first->wb, keys).toInt(), 1, LoadTimeoutMs);

    QSignalSpy complete(m_main->Tabs().PageOf(0)->wb, &WebBrowser::DocumentComplete);
    m_main->SetURL(url("/game/?seed=2"));
    WebUrl *second = m_main->Tabs().PageOf(1);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(*second->wb, "typeof vantorOrbs").toString() == "object",
                             LoadTimeoutMs);
    QProcess::execute("xdotool", {"key", "Left", "Left"});
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(*second->wb, keys).toInt(), 2, LoadTimeoutMs);
    QCOMPARE(evaluate(*first->wb, keys).toInt(), 1);
}

void GamePageTest::killedRendererReloadsOnce()
{
    WebUrl *page = openGame("/game/?seed=1");
    QVERIFY(page);
    QWebEnginePage *engine = page->wb->View()->page();
    QSignalSpy complete(page->wb, &WebBrowser::DocumentComplete);

    ::kill(engine->renderProcessPid(), SIGKILL);
    const QList<QVariant> reloaded{url("/game/?seed=1"), true};
    QTRY_VERIFY_WITH_TIMEOUT(complete.contains(reloaded), LoadTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(*page->wb, "typeof vantorOrbs").toString(),
                              QString("object"), LoadTimeoutMs);

    // Again within the minute: the notice stays, with a link back, and nothing reloads.
    complete.clear();
    ::kill(engine->renderProcessPid(), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(*page->wb, "document.body ? document.body.innerHTML : ''")
                                 .toString()
                                 .contains(url("/game/?seed=1").toHtmlEscaped()),
                             LoadTimeoutMs);
    QTest::qWait(2500);
    QVERIFY(page->wb->LocationURL() != url("/game/?seed=1"));
}

// Before any tab the start browser shows and is what the menu reloads; from the first tab on,
// the selected tab's page.
void GamePageTest::refreshBeforeAndAfterTheFirstTab()
{
    m_main = &Forms<WebMainFrm>::Get();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    QTRY_VERIFY(m_main->findChild<WebBrowser *>("WebBrowser1"));
    WebBrowser *startBrowser = m_main->findChild<WebBrowser *>("WebBrowser1");
    QWebEngineView *start = startBrowser->View();
    QSignalSpy startLoaded(start, &QWebEngineView::loadFinished);
    startBrowser->Navigate(url("/game/?seed=1"));
    QVERIFY(startLoaded.wait(LoadTimeoutMs));
    QSignalSpy startReloads(start, &QWebEngineView::loadStarted);
    PartOf<QAction>(m_main, "refresh")->trigger();
    QVERIFY(startReloads.wait(LoadTimeoutMs));

    m_main->SetURL(url("/game/?seed=2"));
    QSignalSpy pageLoaded(m_main->Tabs().PageOf(0)->wb->View(), &QWebEngineView::loadFinished);
    QVERIFY(pageLoaded.wait(LoadTimeoutMs));
    QSignalSpy pageReloads(m_main->Tabs().PageOf(0)->wb->View(), &QWebEngineView::loadStarted);
    PartOf<QAction>(m_main, "refresh")->trigger();
    QVERIFY(pageReloads.wait(LoadTimeoutMs));
    QTRY_VERIFY(!m_main->findChild<WebBrowser *>("WebBrowser1"));
}

int main(int argc, char *argv[])
{
    const EngineHome home;
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    GamePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gamepage.moc"

void GamePageTest::webGLContexts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("WebGL 1") << "webgl";
    QTest::newRow("WebGL 2") << "webgl2";
}

void GamePageTest::webGLContexts()
{
    QFETCH(QString, kind);
    WebUrl *page = openGame("/game/?seed=1");
    QVERIFY(page);
    const QString script = "!!document.createElement('canvas').getContext('%1')";
    QCOMPARE(evaluate(*page->wb, script.arg(kind)), QVariant(true));
    // Its frames reach the screen: the engine's own process stays, and so do we.
    QTest::qWait(1500);
    QCOMPARE(evaluate(*page->wb, "1 + 1"), QVariant(2));
}

void GamePageTest::renderersPerSite_data()
{
    QTest::addColumn<QString>("host"); // of the second tab; the first is at the server's own
    QTest::addColumn<bool>("shared");
    QTest::newRow("the same site") << "127.0.0.1" << true;
    QTest::newRow("another site") << "localhost" << false;
}

void GamePageTest::renderersPerSite()
{
    QFETCH(QString, host);
    QFETCH(bool, shared);
    WebUrl *first = openGame("/game/?seed=1");
    QVERIFY(first);
    QUrl address(url("/game/?seed=2"));
    address.setHost(host);
    m_main->SetURL(address.toString());
    WebUrl *second = m_main->Tabs().SelectedPage();
    QVERIFY(second != first);
    QVERIFY(QSignalSpy(second, &WebUrl::PageComplete).wait(LoadTimeoutMs));
    const auto pid = [](WebUrl *page) { return page->wb->View()->page()->renderProcessPid(); };
    QVERIFY(pid(first) > 0 && pid(second) > 0);
    QCOMPARE(pid(first) == pid(second), shared);
}
