#include "DemoServer.h"
#include "app/Forms.h"
#include "mainwnd/WebMainFrm.h"
#include "mainwnd/WebUrl.h"
#include "platform/Program.h"
#include "platform/Shell.h"
#include "platform/WebBrowser.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/uTab.h"
#include "tests/support/LoopWait.h"

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

QVariant evaluate(WebUrl *page, const QString &script)
{
    // The answer may come after we stopped waiting (a renderer that died meanwhile).
    auto answer = std::make_shared<std::optional<QVariant>>();
    page->wb->View()->page()->runJavaScript(script,
                                            [answer](const QVariant &value) { *answer = value; });
    return waitInLoop([&] { return answer->has_value(); }, LoadTimeoutMs) ? answer->value()
                                                                          : QVariant();
}

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
    return m_main->PageOf(m_main->WebuTab->Selected());
}

void GamePageTest::tabCaptionIsThePageTitle()
{
    QVERIFY(openGame("/game/?seed=1"));
    const auto tab = m_main->WebuTab->TabItems()->Item(0);
    QTRY_COMPARE_WITH_TIMEOUT(tab->Caption(), QString("Vantor - 得分 0"), LoadTimeoutMs);
}

void GamePageTest::newWindowsGoToTheShell_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    QTest::newRow("link with a blank target") << "leaderboard-link"
                                              << "/game/popup.html";
    QTest::newRow("window.open") << "guide-link"
                                 << "/game/popup.html?guide=1";
}

void GamePageTest::newWindowsGoToTheShell()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    WebUrl *page = openGame("/game/?seed=1");
    QVERIFY(page);
    const int windows = QApplication::topLevelWidgets().size();
    evaluate(page, QString("document.getElementById('%1').click()").arg(link));
    QTRY_COMPARE_WITH_TIMEOUT(m_opened, QStringList{url(target)}, LoadTimeoutMs);
    QCOMPARE(m_main->WebuTab->TabItems()->Count(), 1);
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
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(first, keys).toInt(), 1, LoadTimeoutMs);

    QSignalSpy complete(m_main->PageOf(0)->wb, &WebBrowser::DocumentComplete);
    m_main->SetURL(url("/game/?seed=2"));
    WebUrl *second = m_main->PageOf(1);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(second, "typeof vantorOrbs").toString() == "object",
                             LoadTimeoutMs);
    QProcess::execute("xdotool", {"key", "Left", "Left"});
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(second, keys).toInt(), 2, LoadTimeoutMs);
    QCOMPARE(evaluate(first, keys).toInt(), 1);
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
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(page, "typeof vantorOrbs").toString(), QString("object"),
                              LoadTimeoutMs);

    // Again within the minute: the notice stays, with a link back, and nothing reloads.
    complete.clear();
    ::kill(engine->renderProcessPid(), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(page, "document.body ? document.body.innerHTML : ''")
                                 .toString()
                                 .contains(url("/game/?seed=1").toHtmlEscaped()),
                             LoadTimeoutMs);
    QTest::qWait(2500);
    QVERIFY(page->wb->LocationURL() != url("/game/?seed=1"));
}

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    GamePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gamepage.moc"
