// What a game page may do, driven as a player drives it: page dialogs, fullscreen, the pointer,
// the clipboard, devices and notifications, the keys the page leaves to the client.

#include "DemoServer.h"
#include "app/MsgFrm.h"
#include "controls/iButton.h"
#include "mainwnd/KubNotifyIcon.h"
#include "platform/os/Program.h"
#include "platform/web/PagePolicy.h"
#include "platform/web/SiteZoom.h"
#include "platform/winsys/WindowProc.h"
#include "tests/support/EngineHome.h"
#include "tests/support/GamePage.h"
#include "tests/support/Parts.h"
#include "tests/support/ProbePage.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScriptedPageDialogs.h"
#include "tests/support/TabMarks.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WhenShown.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineProfile>

#include <cstdio>
#include <optional>

using namespace platform;
using Kind = PageDialogRequest::Kind;
using Answer = PageDialogRequest::Answer;

namespace {

QString results(WebBrowser &page)
{
    return evaluate(page, "window.results.join('|')").toString();
}

// The probe has loaded and nothing has happened on it yet.
bool probeReady(WebBrowser &page)
{
    return waitInLoop(
        [&] { return evaluate(page, "window.results && window.results.length").toString() == "0"; },
        PageTimeoutMs);
}

int resultCount(WebBrowser &page)
{
    return evaluate(page, "window.results.length").toInt();
}

// The player's click on the page, with the action it is to run.
void clickFor(WebUrl *page, const QString &action)
{
    evaluate(*page->wb, QString("window.next = '%1'").arg(action));
    clickOn(page->wb->View(), page->wb->View()->rect().center());
}

QString balloonText()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QBalloonTip") && widget->isVisible()) {
            QStringList texts;
            // The icon's label has no text.
            for (const QLabel *label : widget->findChildren<QLabel *>()) {
                if (!label->text().isEmpty()) {
                    texts << label->text();
                }
            }
            return texts.join('|');
        }
    }
    return {};
}

void click(QWidget *part)
{
    QTest::mouseClick(part, Qt::LeftButton, {}, part->rect().center());
}

} // namespace

class GamePlatformTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void dialogsAnswerWhatThePlayerChose_data();
    void dialogsAnswerWhatThePlayerChose();
    void dialogsInALoopCanBeStopped_data();
    void dialogsInALoopCanBeStopped();
    void windowStaysUsableUnderAPageDialog_data();
    void windowStaysUsableUnderAPageDialog();
    void fullScreen_data();
    void fullScreen();
    void gamePagesGetWhatGamesUse_data();
    void gamePagesGetWhatGamesUse();
    void anotherOriginIsAskedAgain();
    void pointerLockMovesAndEscReleases();
    void keysTheGameLeaves_data();
    void keysTheGameLeaves();
    void zoomIsPerSiteAndLastsARestart();
    void downloadsAreSavedWhole_data();
    void downloadsAreSavedWhole();

private:
    WebUrl *openProbe(const QString &query = {});
    QString url(const QString &path) const { return m_server.baseUrl() + path; }

    DemoServer m_server;
    QTemporaryDir m_runtime;
    QTemporaryDir m_home; // the player's download folder is in here
    QProcess m_trayer;
    QPointer<WebMainFrm> m_main;
    std::unique_ptr<ScopedReplacement<EndProgramService>> m_end;
};

void GamePlatformTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    // The player's own names for the folders, as the desktop writes them.
    QVERIFY(QDir(m_home.path()).mkpath("config"));
    writeFile(m_home.filePath("config/user-dirs.dirs"),
              "XDG_DOWNLOAD_DIR=\"" + m_home.filePath("下载").toUtf8() + "\"\n");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath("config")));
    m_server.setFile("/files/attachment", "#!/bin/sh\necho gone\n", "application/x-sh", 200,
                     {{"Content-Disposition", "attachment; filename=\"../../.local/run.sh\""}});
    QVERIFY(m_server.start());
    m_server.setFile("/probe/", probePage(), "text/html");
    // Notifications become balloons of the tray icon: a notification area on this display.
    m_trayer.start("trayer",
                   {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                    "--SetPartialStrut", "true", "--height", "32", "--SetDockType", "true"});
    QVERIFY(m_trayer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
}

void GamePlatformTest::cleanupTestCase()
{
    m_trayer.kill();
    m_trayer.waitForFinished();
}

void GamePlatformTest::init()
{
    m_end =
        std::make_unique<ScopedReplacement<EndProgramService>>(EndProgramProvider(), [](int) {});
    PagePolicy::ForgetAnswers();
    QGuiApplication::clipboard()->clear();
    for (const char *site : {"127.0.0.1", "localhost"}) {
        SiteZoom::Shared().Set(site, 1.0);
    }
}

void GamePlatformTest::cleanup()
{
    QVERIFY(closeGame(m_main));
    m_end.reset();
}

WebUrl *GamePlatformTest::openProbe(const QString &query)
{
    WebUrl *page = openGame(m_main, url("/probe/" + query));
    return page && probeReady(*page->wb) ? page : nullptr;
}

void GamePlatformTest::dialogsAnswerWhatThePlayerChose_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("returned");
    const Answer yes{true, "", true, false};
    QTest::newRow("alert") << "alert('存档完成')" << yes << int(Kind::Alert) << "存档完成"
                           << "undefined";
    QTest::newRow("confirm, 确定")
        << "confirm('确定出售这件装备？')" << yes << int(Kind::Confirm) << "确定出售这件装备？"
        << "true";
    QTest::newRow("confirm, 取消")
        << "confirm('确定出售这件装备？')" << Answer{} << int(Kind::Confirm) << "确定出售这件装备？"
        << "false";
    QTest::newRow("prompt, typed")
        << "prompt('队伍名称', '阿星的队伍')" << Answer{true, "星辰", true, false}
        << int(Kind::Prompt) << "队伍名称"
        << "星辰";
    QTest::newRow("prompt, 取消") << "prompt('队伍名称', '阿星的队伍')" << Answer{}
                                  << int(Kind::Prompt) << "队伍名称"
                                  << "null";
}

void GamePlatformTest::dialogsAnswerWhatThePlayerChose()
{
    QFETCH(QString, script);
    QFETCH(Answer, answer);
    WebUrl *page = openProbe();
    QVERIFY(page);
    ScriptedPageDialogs dialogs([&](const auto &) { return answer; });
    QTEST(settled(*page->wb, QString("String(%1)").arg(script)), "returned");
    QCOMPARE(dialogs.asked.size(), 1);
    QTEST(int(dialogs.asked[0].kind), "kind");
    QTEST(dialogs.asked[0].text, "text");
    QCOMPARE(dialogs.asked[0].origin, WebBrowser::OriginOf(m_server.baseUrl()));
}

void GamePlatformTest::dialogsInALoopCanBeStopped_data()
{
    QTest::addColumn<int>("stopAt"); // the dialog whose stop box the player ticks; 0: none
    QTest::addColumn<QList<bool>>("offered");
    QTest::addColumn<QString>("returned");
    QTest::newRow("stopped at the third")
        << 3 << QList<bool>{false, false, true} << "true,true,true,false,false";
    QTest::newRow("never stopped")
        << 0 << QList<bool>{false, false, true, true, true} << "true,true,true,true,true";
}

void GamePlatformTest::dialogsInALoopCanBeStopped()
{
    QFETCH(int, stopAt);
    WebUrl *page = openProbe();
    QVERIFY(page);
    ScriptedPageDialogs dialogs([&](const auto &request) {
        return Answer{true, "", true, request.offerStop && dialogs.asked.size() == stopAt};
    });
    const QString loop = "[1, 2, 3, 4, 5].map(function (i) { return confirm('第' + i + '次'); })";
    QTEST(settled(*page->wb, loop + ".join()"), "returned");
    QList<bool> offered;
    for (const auto &request : dialogs.asked) {
        offered << request.offerStop;
    }
    QTEST(offered, "offered");
    // A new load of the page is a new page: its dialogs show again.
    QVERIFY(loadPage(*page->wb, url("/probe/?again")));
    dialogs.asked.clear();
    QCOMPARE(settled(*page->wb, "confirm('again')"), QString("true"));
    QCOMPARE(dialogs.asked.size(), 1);
}

void GamePlatformTest::windowStaysUsableUnderAPageDialog_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("returned"); // what the page's confirm gave; "" when it went
    QTest::newRow("F10 hides and brings back") << "F10"
                                               << "true";
    QTest::newRow("the tray hides and brings back") << "tray"
                                                    << "true";
    QTest::newRow("another tab hides it, its own brings it back") << "tab"
                                                                  << "true";
    QTest::newRow("the exit question, answered 是") << "exit"
                                                    << "";
    QTest::newRow("the tab closed") << "close tab"
                                    << "";
}

// The real dialog, over a real game page that waits in confirm(); the player acts meanwhile.
void GamePlatformTest::windowStaysUsableUnderAPageDialog()
{
    QFETCH(QString, way);
    QFETCH(QString, returned);
    WebUrl *first = openProbe();
    QVERIFY(first);
    m_main->SetURL(url("/probe/?second"));
    QPointer<WebUrl> page = m_main->Tabs().SelectedPage();
    QVERIFY(probeReady(*page->wb));
    WhenShown<MsgFrm> exitQuestion([](MsgFrm *question) { click(question->iButton1); });
    QPointer<PageDialog> seen;
    WhenShown<PageDialog> player([&](PageDialog *dialog) {
        seen = dialog;
        if (way == "F10" || way == "tray") {
            const auto toggle = [&] {
                if (way == "F10") {
                    pressKeys({"F10"});
                } else {
                    PostMessage(HandleOf(m_main), KubNotifyIcon::CallbackMessage,
                                KubNotifyIcon::IconId, wm::LButtonUp);
                }
            };
            toggle();
            QTRY_VERIFY(!m_main->isVisible() && !dialog->isVisible());
            toggle();
            QTRY_VERIFY(m_main->isVisible() && dialog->isVisible());
            // In front of the window again, where the player can answer it.
            const QPoint answer = dialog->iButton1->mapToGlobal(dialog->iButton1->rect().center());
            QTRY_COMPARE(QApplication::widgetAt(answer), dialog->iButton1);
            click(dialog->iButton1);
        } else if (way == "tab") {
            m_main->SetURL(url("/probe/"));
            QTRY_VERIFY(!dialog->isVisible());
            m_main->SetURL(url("/probe/?second"));
            QTRY_VERIFY(dialog->isVisible());
            const QPoint answer = dialog->iButton1->mapToGlobal(dialog->iButton1->rect().center());
            QTRY_COMPARE(QApplication::widgetAt(answer), dialog->iButton1);
            click(dialog->iButton1);
        } else if (way == "exit") {
            click(PartOf<iButton>(m_main, "web_close"));
        } else {
            clickLastTabCloseMark(PartOf<uTab>(m_main, "WebuTab"));
        }
    });
    evaluate(*page->wb, "setTimeout(function () { say(confirm('确定出售这件装备？')); }, 0)");
    QTRY_VERIFY(player.shown > 0);
    QTRY_VERIFY(!seen || !seen->isVisible());
    QTRY_COMPARE(PageDialog::Waiting(), 0);
    if (way == "exit") {
        QTRY_VERIFY(!m_main);
    } else if (way == "close tab") {
        QTRY_VERIFY(!page);
        QCOMPARE(evaluate(*first->wb, "1 + 1").toInt(), 2);
    } else {
        QTRY_COMPARE(results(*page->wb), returned);
    }
}

void GamePlatformTest::fullScreen_data()
{
    QTest::addColumn<bool>("maximised");
    QTest::addColumn<QString>("enter"); // "page": requestFullscreen from a click; "F11"
    QTest::addColumn<QString>("leave");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("maximised, page, Esc") << true << "page"
                                          << "Escape" << true;
    QTest::newRow("restored, page, Esc") << false << "page"
                                         << "Escape" << true;
    QTest::newRow("restored, page, exitFullscreen") << false << "page"
                                                    << "exitFullscreen" << true;
    QTest::newRow("maximised, page, F11") << true << "page"
                                          << "F11" << true;
    QTest::newRow("restored, F11, F11") << false << "F11"
                                        << "F11" << true;
    // The window's own fullscreen leaves Esc to the game, as a browser does.
    QTest::newRow("restored, F11, Esc stays with the game") << false << "F11"
                                                            << "Escape" << false;
    QTest::newRow("maximised, F11, another tab") << true << "F11"
                                                 << "tab" << true;
    QTest::newRow("restored, page, F10") << false << "page"
                                         << "F10" << true;
    QTest::newRow("maximised, page, close") << true << "page"
                                            << "alt+F4" << true;
}

void GamePlatformTest::fullScreen()
{
    QFETCH(bool, maximised);
    QFETCH(QString, enter);
    QFETCH(QString, leave);
    QFETCH(bool, leaves);
    WebUrl *page = openProbe();
    QVERIFY(page);
    if (!maximised) {
        click(PartOf<iButton>(m_main, "web_minmax"));
    }
    QTRY_COMPARE(m_main->geometry() == m_main->screen()->availableGeometry(), maximised);
    const QRect before = m_main->geometry();
    const QWidget *strip = PartOf<QWidget>(m_main, "WebuTab");

    enter == "page" ? clickFor(page, "fullscreen") : pressKeys({"F11"});
    QTRY_COMPARE(m_main->geometry(), m_main->screen()->geometry());
    QTRY_COMPARE(QRect(page->wb->mapTo(m_main, QPoint()), page->wb->size())
                     .contains(m_main->rect().adjusted(2, 2, -2, -2)),
                 true);
    QVERIFY(!strip->isVisible());
    QTRY_COMPARE(evaluate(*page->wb, "document.fullscreenElement !== null").toBool(),
                 enter == "page");

    if (leave == "exitFullscreen") {
        clickFor(page, "exitFullscreen");
    } else if (leave == "tab") {
        m_main->SetURL(url("/probe/?other"));
    } else if (leave == "alt+F4") {
        // The question comes over the window as it was; the player stays in the game.
        WhenShown<MsgFrm> question([&](MsgFrm *dialog) {
            QCOMPARE(m_main->isFullScreen(), false);
            click(dialog->iButton2);
        });
        pressKeys({leave});
        QTRY_COMPARE(question.shown, 1);
    } else {
        pressKeys({leave});
    }
    if (leave == "F10") {
        QTRY_VERIFY(!m_main->isVisible());
        pressKeys({"F10"});
        QTRY_VERIFY(m_main->isVisible());
    }
    if (!leaves) {
        QTest::qWait(500);
        QCOMPARE(m_main->geometry(), m_main->screen()->geometry());
        QVERIFY(evaluate(*page->wb, "window.keys.indexOf('Escape') >= 0").toBool());
        pressKeys({"F11"});
    }
    QTRY_COMPARE(m_main->geometry(), before);
    QTRY_VERIFY(strip->isVisible());
    QVERIFY(!m_main->isFullScreen());
    QTRY_COMPARE(evaluate(*page->wb, "document.fullscreenElement === null").toBool(), true);
}

void GamePlatformTest::gamePagesGetWhatGamesUse_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("playerAllows"); // for what is asked
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("returned");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("balloon");
    QTest::newRow("clipboard write") << "clipboard" << false << 1 << "copied" << 0 << "INVITE-42"
                                     << "";
    QTest::newRow("clipboard read") << "paste" << false << 1 << "paste NotAllowedError" << 0 << ""
                                    << "";
    QTest::newRow("notification") << "notify" << false << 1
                                  << "notifications granted|notification shown" << 0 << ""
                                  << "组队邀请|玩家 阿星 邀请你加入队伍";
    QTest::newRow("microphone, allowed once")
        << "microphone" << true << 2 << "microphone 1|microphone 1" << 1 << ""
        << "";
    QTest::newRow("camera, refused once")
        << "camera" << false << 2 << "camera NotAllowedError|camera NotAllowedError" << 1 << ""
        << "";
    QTest::newRow("location") << "location" << true << 1 << "location 1" << 0 << ""
                              << "";
    QTest::newRow("screen capture") << "screen" << true << 1 << "screen NotAllowedError" << 0 << ""
                                    << "";
}

void GamePlatformTest::gamePagesGetWhatGamesUse()
{
    QFETCH(QString, action);
    QFETCH(bool, playerAllows);
    QFETCH(int, times);
    QFETCH(QString, returned);
    QFETCH(QString, balloon);
    WebUrl *page = openProbe();
    QVERIFY(page);
    ScriptedPageDialogs dialogs([&](const auto &) {
        return Answer{playerAllows, "", true, false};
    });
    for (int i = 0; i < times; ++i) {
        const int answered = resultCount(*page->wb);
        clickFor(page, action);
        QTRY_VERIFY_WITH_TIMEOUT(resultCount(*page->wb) > answered, PageTimeoutMs);
    }
    QTRY_COMPARE(results(*page->wb), returned);
    QTEST(int(dialogs.asked.size()), "asked");
    QTEST(QGuiApplication::clipboard()->text(), "clipboard");
    QTRY_COMPARE(balloonText(), balloon);
}

// The answer is the origin's: a page of another origin is asked for itself.
void GamePlatformTest::anotherOriginIsAskedAgain()
{
    WebUrl *page = openProbe();
    QVERIFY(page);
    ScriptedPageDialogs dialogs([](const auto &) { return Answer{true, "", true, false}; });
    clickFor(page, "microphone");
    QTRY_COMPARE(results(*page->wb), QString("microphone 1"));
    // localhost and 127.0.0.1 are different origins to the browser.
    const QString other = QString("http://localhost:%1/probe/").arg(m_server.port());
    QVERIFY(loadPage(*page->wb, other));
    clickFor(page, "microphone");
    QTRY_COMPARE(results(*page->wb), QString("microphone 1"));
    QCOMPARE(dialogs.asked.size(), 2);
    QCOMPARE(dialogs.asked[1].origin, WebBrowser::OriginOf(other));
    QCOMPARE(int(dialogs.asked[1].kind), int(Kind::Permission));
}

// Mouse-look: the locked pointer's movement reaches the page; Esc lets it go, as in a browser.
void GamePlatformTest::pointerLockMovesAndEscReleases()
{
    WebUrl *page = openProbe();
    QVERIFY(page);
    clickFor(page, "lock");
    QTRY_COMPARE(results(*page->wb), QString("locked"));
    xdotool({"mousemove_relative", "--sync", "40", "0"});
    xdotool({"mousemove_relative", "--sync", "40", "0"});
    QTRY_VERIFY(evaluate(*page->wb, "window.moved").toInt() >= 40);
    pressKeys({"Escape"});
    QTRY_COMPARE(results(*page->wb), QString("locked|unlocked"));
}

void GamePlatformTest::keysTheGameLeaves_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("reloads");
    QTest::addColumn<double>("zoom");
    QTest::newRow("F5") << "" << QStringList{"F5"} << 1 << 1.0;
    QTest::newRow("Ctrl+R") << "" << QStringList{"ctrl+r"} << 1 << 1.0;
    QTest::newRow("F5 taken by the game") << "?keep=F5" << QStringList{"F5"} << 0 << 1.0;
    QTest::newRow("Ctrl+=") << "" << QStringList{"ctrl+equal"} << 0 << 1.1;
    QTest::newRow("Ctrl+= twice, Ctrl+-")
        << "" << QStringList{"ctrl+equal", "ctrl+equal", "ctrl+minus"} << 0 << 1.1;
    QTest::newRow("Ctrl+- twice") << "" << QStringList{"ctrl+minus", "ctrl+minus"} << 0 << 0.8;
    QTest::newRow("Ctrl+=, Ctrl+0") << "" << QStringList{"ctrl+equal", "ctrl+0"} << 0 << 1.0;
    QTest::newRow("Ctrl+wheel, Ctrl+0") << "" << QStringList{"wheel", "ctrl+0"} << 0 << 1.0;
    QTest::newRow("Ctrl+wheel") << "" << QStringList{"wheel"} << 0 << 1.1;
}

void GamePlatformTest::keysTheGameLeaves()
{
    QFETCH(QString, query);
    QFETCH(QStringList, keys);
    QFETCH(int, reloads);
    QFETCH(double, zoom);
    WebUrl *page = openProbe(query);
    QVERIFY(page);
    QSignalSpy loads(page->wb->View(), &QWebEngineView::loadStarted);
    for (const QString &key : keys) {
        if (key == "wheel") {
            movePointerTo(page->wb->View()->mapToGlobal(QPoint(100, 100)));
            xdotool({"keydown", "ctrl", "click", "4", "keyup", "ctrl"});
        } else {
            pressKeys({key});
        }
        QTest::qWait(300);
    }
    // The engine keeps its factor in single precision.
    QTRY_COMPARE(qRound(page->wb->ZoomFactor() * 100), qRound(zoom * 100));
    QTRY_COMPARE(int(loads.size()), reloads);
    QTest::qWait(300);
    QCOMPARE(int(loads.size()), reloads);
    // Kept for the site.
    QTRY_COMPARE(SiteZoom::Shared().For("127.0.0.1"), zoom);
}

// Another site keeps its own zoom; a new run of the client finds each site's again.
void GamePlatformTest::zoomIsPerSiteAndLastsARestart()
{
    WebUrl *page = openProbe();
    QVERIFY(page);
    pressKeys({"ctrl+equal", "ctrl+equal"});
    QTRY_COMPARE(page->wb->ZoomFactor(), 1.2);
    const QString other = QString("http://localhost:%1/probe/").arg(m_server.port());
    m_main->SetURL(other);
    WebUrl *second = m_main->Tabs().SelectedPage();
    QVERIFY(second != page);
    QVERIFY(probeReady(*second->wb));
    QCOMPARE(second->wb->ZoomFactor(), 1.0);

    // The next run has a web profile of its own; only the zoom file goes along.
    QTemporaryDir home;
    const QString file = "/vantor/site-zoom.txt";
    QVERIFY(QDir().mkpath(home.filePath("data/vantor")));
    QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME")) + file,
                        home.filePath("data") + file));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(QCoreApplication::applicationFilePath(), {"--zoom-of", url("/probe/"), other});
    QVERIFY(run.waitForFinished(3 * PageTimeoutMs));
    QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()), QString("1.2\n1\n"));
}

// A game page's download lands whole in the player's download folder under a plain name that
// takes nothing from what is there; the login page's is refused.
void GamePlatformTest::downloadsAreSavedWhole_data()
{
    QTest::addColumn<bool>("gamePage");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("existing"); // a file of the player's there before
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("contents");
    QTest::addColumn<QString>("balloon");
    QTest::newRow("export save") << true << "exportSave"
                                 << "" << QStringList{"存档.txt"} << QStringList{"level=7"}
                                 << "已下载：存档.txt";
    QTest::newRow("a file of that name is kept")
        << true << "exportSave"
        << "存档.txt" << QStringList{"存档 (2).txt", "存档.txt"}
        << QStringList{"level=7", "the player's"} << "已下载：存档 (2).txt";
    QTest::newRow("the server's path is cut to a name")
        << true << "attachment"
        << "" << QStringList{"run.sh"} << QStringList{"#!/bin/sh\necho gone\n"} << "已下载：run.sh";
    QTest::newRow("login page refused") << false << "exportSave"
                                        << "" << QStringList{} << QStringList{} << "";
}

void GamePlatformTest::downloadsAreSavedWhole()
{
    QFETCH(bool, gamePage);
    QFETCH(QString, action);
    QFETCH(QString, existing);
    QFETCH(QStringList, files);
    QFETCH(QStringList, contents);
    QDir folder(m_home.filePath("下载"));
    QVERIFY(folder.removeRecursively() && folder.mkpath("."));
    if (!existing.isEmpty()) {
        writeFile(folder.filePath(existing), "the player's");
    }
    WebUrl *page = openProbe();
    QVERIFY(page);
    page->wb->SetPageKind(gamePage ? PagePolicy::Kind::Game : PagePolicy::Kind::Plain);
    QSignalSpy asked(WebBrowser::SharedProfile(), &QWebEngineProfile::downloadRequested);
    clickFor(page, action);
    QVERIFY(asked.wait(PageTimeoutMs));
    QTRY_COMPARE(folder.entryList(QDir::Files | QDir::Hidden), files);
    QTEST(balloonText().section('|', 1), "balloon");
    for (int i = 0; i < files.size(); ++i) {
        QCOMPARE(QString::fromUtf8(readAll(folder.filePath(files[i]))), contents[i]);
        QVERIFY(!QFileInfo(folder.filePath(files[i])).isExecutable());
    }
}

// The restart's run: the zoom each address opens at in a game page.
int zoomRun(const QStringList &addresses)
{
    for (const QString &address : addresses) {
        WebUrl page;
        QSignalSpy complete(&page, &WebUrl::PageComplete);
        page.OpenURL(address);
        if (!complete.wait(PageTimeoutMs)) {
            return 1;
        }
        std::printf("%g\n", page.wb->ZoomFactor());
    }
    std::fflush(stdout);
    return 0;
}

int main(int argc, char *argv[])
{
    // The restart's run keeps the home the test gave it.
    const bool restart = argc > 2 && QByteArray(argv[1]) == "--zoom-of";
    std::optional<EngineHome> home;
    if (!restart) {
        home.emplace();
    }
    // Voice chat without a microphone: the engine's stand-in devices.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --use-fake-device-for-media-stream");
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    if (restart) {
        return zoomRun(QApplication::arguments().mid(2));
    }
    GamePlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gameplatform.moc"
