#include "DemoServer.h"
#include "app/Forms.h"
#include "login/GameWindow.h"
#include "login/LoginBgFrm.h"
#include "login/LoginFrm.h"
#include "login/PictureButton.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Program.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"
#include "tests/support/LoopWait.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <optional>
#include <unistd.h>

using namespace platform;

namespace {

const int LoadTimeoutMs = 15000;

QByteArray linksPage()
{
    return "<html><body>"
           "<a id='exit' href='app://exitgame'>exit</a> "
           "<a id='min' href='app://minimize'>min</a> "
           "<a id='load' href='app://loadgame|http://127.0.0.1:1/game/?a=1|extra'>load</a> "
           "<a id='query' href='/t/links.html?next=app://minimize'>query</a> "
           "<a id='bad' href='app://loadgame|javascript:alert(1)'>bad</a> "
           "<iframe id='f' src='/t/frame.html'></iframe>"
           "<script>function go(u) { location.href = u; }</script>"
           "</body></html>";
}

QByteArray framePage()
{
    return "<html><body><a id='exit' href='app://exitgame'>exit</a>"
           "<script>function go(u) { location.href = u; }</script></body></html>";
}

} // namespace

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void commands_data();
    void commands();
    void foreignFrameCannotCommand_data();
    void foreignFrameCannotCommand();
    void refusedCommandWhileLoadingStillShowsTheLogin();
    void lateEventsAfterUnloadLoadNothing_data();
    void lateEventsAfterUnloadLoadNothing();
    void noIconFileWithoutPrivateFolder();
    void dialogsStaySilent();
    void noContextMenu();
    void frameCompletingFirstDoesNotShowWindows();
    void emptyPageWarnsAndEnds_data();
    void emptyPageWarnsAndEnds();
    void draggingBackdropCarriesLoginWindow();
    void minimiseButtonHidesBoth();
    void showAgainBringsTheLoginBack_data();
    void showAgainBringsTheLoginBack();
    void loginLoadsAfreshRightAfterUnload();

private:
    LoginFrm *openLogin(const QString &path);
    void runInPage(const QString &script);
    QString url(const QString &path) const { return m_server.baseUrl() + path; }

    QTemporaryDir m_home;
    DemoServer m_server;
    QStringList m_opened;
    std::unique_ptr<ScopedReplacement<GameWindow::OpenService>> m_gameWindow;
};

void LoginTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_server.start());
    m_server.setFile("/t/links.html", linksPage(), "text/html");
    m_server.setFile("/t/frame.html", framePage(), "text/html");
    m_gameWindow = std::make_unique<ScopedReplacement<GameWindow::OpenService>>(
        GameWindow::OpenProvider(), [this](const QString &address) { m_opened.append(address); });
}

void LoginTest::cleanup()
{
    if (LoginBgFrm *backdrop = Forms<LoginBgFrm>::IfLoaded()) {
        backdrop->Form_Unload();
    }
    QTRY_VERIFY(!Forms<LoginBgFrm>::IfLoaded() && !Forms<LoginFrm>::IfLoaded());
    m_opened.clear();
}

// Loads the login window on a page and waits for the pair to show; null if it never does.
LoginFrm *LoginTest::openLogin(const QString &path)
{
    LoginFrm::SetLoginPage(url(path));
    LoginFrm *login = &Forms<LoginFrm>::Get();
    const auto shown = [] {
        LoginBgFrm *backdrop = Forms<LoginBgFrm>::IfLoaded();
        LoginFrm *window = Forms<LoginFrm>::IfLoaded();
        return backdrop && backdrop->isVisible() && window && window->isVisible();
    };
    return waitInLoop(shown, LoadTimeoutMs) ? login : nullptr;
}

void LoginTest::runInPage(const QString &script)
{
    Forms<LoginFrm>::Get().WebBrowser1->View()->page()->runJavaScript(script);
}

void LoginTest::commands_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("effect");
    QTest::addColumn<QStringList>("opened");

    const QString frame = "document.getElementById('f').contentWindow.";
    QTest::newRow("exit link") << "document.getElementById('exit').click()"
                               << "closed" << QStringList{};
    QTest::newRow("exit by script") << "go('app://exitgame')"
                                    << "closed" << QStringList{};
    QTest::newRow("exit link in frame") << frame + "document.getElementById('exit').click()"
                                        << "closed" << QStringList{};
    QTest::newRow("exit by script in frame") << frame + "go('app://exitgame')"
                                             << "closed" << QStringList{};
    QTest::newRow("minimise link") << "document.getElementById('min').click()"
                                   << "minimised" << QStringList{};
    QTest::newRow("command inside a query") << "document.getElementById('query').click()"
                                            << "minimised" << QStringList{};
    QTest::newRow("load game, further bar dropped")
        << "document.getElementById('load').click()"
        << "closed" << QStringList{"http://127.0.0.1:1/game/?a=1"};
    QTest::newRow("load game from frame") << frame + "go('app://loadgame|https://game.example/')"
                                          << "closed" << QStringList{"https://game.example/"};
    QTest::newRow("bad address ignored") << "document.getElementById('bad').click()"
                                         << "unchanged" << QStringList{};
    QTest::newRow("no address ignored") << "go('app://loadgame')"
                                        << "unchanged" << QStringList{};
}

void LoginTest::commands()
{
    QFETCH(QString, script);
    QFETCH(QString, effect);
    QFETCH(QStringList, opened);

    LoginFrm *login = openLogin("/t/links.html");
    QVERIFY(login);
    const QString pageBefore = login->WebBrowser1->LocationURL();
    runInPage(script);

    if (effect == "closed") {
        QTRY_VERIFY_WITH_TIMEOUT(!Forms<LoginBgFrm>::IfLoaded(), LoadTimeoutMs);
        QVERIFY(!Forms<LoginFrm>::IfLoaded());
    } else if (effect == "minimised") {
        QTRY_VERIFY_WITH_TIMEOUT(Forms<LoginBgFrm>::Get().isMinimized(), LoadTimeoutMs);
        QVERIFY(!login->isVisible());
        // The page did not leave for the command.
        QTest::qWait(300);
        QVERIFY(login->WebBrowser1->LocationURL().startsWith(url("/t/links.html")));
    } else {
        QTest::qWait(800);
        QVERIFY(Forms<LoginBgFrm>::IfLoaded() && login->isVisible());
        QCOMPARE(login->WebBrowser1->LocationURL(), pageBefore);
    }
    QCOMPARE(m_opened, opened);
}

void LoginTest::foreignFrameCannotCommand_data()
{
    QTest::addColumn<QString>("framePage");
    QTest::addColumn<bool>("clickInFrame");

    const QString later = "<html><body><script>setTimeout(function () { location.href = '%1'; },"
                          " 50);</script></body></html>";
    QTest::newRow("app: address") << later.arg("app://exitgame") << false;
    QTest::newRow("exit inside an http address")
        << later.arg("/t/foreign-frame.html?next=app://exitgame") << false;
    QTest::newRow("minimise inside an http address")
        << later.arg("/t/foreign-frame.html?next=app://minimize") << false;
    QTest::newRow("load game inside an http address")
        << later.arg("/t/foreign-frame.html?next=app://loadgame|http://127.0.0.1:1/evil/") << false;
    QTest::newRow("top window sent to a command by a click in the frame")
        << "<html><body style='margin:0'><a target='_top' href='{login}/t/links.html?"
           "next=app://exitgame' style='display:block;width:300px;height:100px'>top</a>"
           "</body></html>"
        << true;
}

void LoginTest::foreignFrameCannotCommand()
{
    QFETCH(QString, framePage);
    QFETCH(bool, clickInFrame);
    // localhost and 127.0.0.1 are different origins to the browser.
    const QString foreign =
        QString("http://localhost:%1/t/foreign-frame.html").arg(m_server.port());
    m_server.setFile("/t/foreign-frame.html", framePage.replace("{login}", url("")).toUtf8(),
                     "text/html");
    m_server.setFile("/t/foreign.html",
                     QString("<html><body style='margin:0'><iframe src='%1' style='border:0;"
                             "width:400px;height:200px'></iframe></body></html>")
                         .arg(foreign)
                         .toUtf8(),
                     "text/html");
    LoginFrm *login = openLogin("/t/foreign.html");
    QVERIFY(login);
    if (clickInFrame) {
        QTest::qWait(500);
        QTest::mouseClick(login->WebBrowser1->View()->focusProxy(), Qt::LeftButton, {},
                          QPoint(50, 30));
    }
    QTest::qWait(1500);
    QVERIFY(Forms<LoginBgFrm>::IfLoaded());
    QVERIFY(!Forms<LoginBgFrm>::Get().isMinimized());
    QVERIFY(Forms<LoginFrm>::Get().isVisible());
    QCOMPARE(m_opened, QStringList{});
}

void LoginTest::refusedCommandWhileLoadingStillShowsTheLogin()
{
    // The page's own script goes for a load-game command without a usable address while the
    // page is still loading; refusing it must not keep the page from completing.
    m_server.setFile("/t/early-command.html",
                     "<html><body><script>location.href = "
                     "'/t/links.html?next=app://loadgame|javascript:alert(1)';</script>"
                     "<img src='/fault/slow?bytes=3000&ms=1000&pieces=3'></body></html>",
                     "text/html");
    QVERIFY(openLogin("/t/early-command.html"));
    QCOMPARE(m_opened, QStringList{});
}

void LoginTest::lateEventsAfterUnloadLoadNothing_data()
{
    QTest::addColumn<QString>("event");
    QTest::newRow("exit command") << "app://exitgame";
    QTest::newRow("minimise command") << "app://minimize";
    QTest::newRow("load game command") << "app://loadgame|http://127.0.0.1:1/game/";
    QTest::newRow("page completion") << "complete";
    QTest::newRow("minimise button") << "minimise button";
    QTest::newRow("close button") << "close button";
}

void LoginTest::lateEventsAfterUnloadLoadNothing()
{
    QFETCH(QString, event);
    LoginFrm *login = openLogin("/t/links.html");
    QVERIFY(login);
    Forms<LoginBgFrm>::Get().Form_Unload();

    // Still waiting to be deleted, the login window hears one more thing.
    if (event.startsWith("app:")) {
        bool cancel = false;
        emit login->WebBrowser1->BeforeNavigate(event, cancel);
    } else if (event == "complete") {
        emit login->WebBrowser1->DocumentComplete(url("/t/links.html"), true);
    } else if (event == "minimise button") {
        login->MiniBtn_Click();
    } else {
        login->CloseBtn_Click();
    }
    QTest::qWait(300);
    QVERIFY(!Forms<LoginBgFrm>::IfLoaded());
    QVERIFY(!Forms<LoginFrm>::IfLoaded());
    QCOMPARE(m_opened, QStringList{});
}

void LoginTest::noIconFileWithoutPrivateFolder()
{
    // Both places for the private folder are symbolic links, so there is none.
    QTemporaryDir scratch;
    QDir root(scratch.path());
    QVERIFY(root.mkpath("run") && root.mkpath("tmp") && root.mkpath("elsewhere") &&
            root.mkpath("work"));
    QVERIFY(QFile::link(root.filePath("elsewhere"), root.filePath("run/vantor")));
    QVERIFY(QFile::link(root.filePath("elsewhere"),
                        root.filePath(QString("tmp/vantor-%1").arg(::geteuid()))));
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const std::optional<QByteArray> tmp =
        qEnvironmentVariableIsSet("TMPDIR") ? std::optional(qgetenv("TMPDIR")) : std::nullopt;
    const QString workingDir = QDir::currentPath();
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", runtime);
        tmp ? qputenv("TMPDIR", *tmp) : qunsetenv("TMPDIR");
        QDir::setCurrent(workingDir);
    });
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root.filePath("run")));
    qputenv("TMPDIR", QFile::encodeName(root.filePath("tmp")));
    QVERIFY(QDir::setCurrent(root.filePath("work")));

    QVERIFY(openLogin("/t/links.html"));
    QCOMPARE(QDir(root.filePath("work")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
    QCOMPARE(QDir(root.filePath("elsewhere")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

void LoginTest::dialogsStaySilent()
{
    m_server.setFile("/t/alert.html",
                     "<html><head><title>before</title></head><body><script>"
                     "alert('x'); confirm('y'); prompt('z');"
                     "document.title = 'after dialogs';</script></body></html>",
                     "text/html");
    LoginFrm *login = openLogin("/t/alert.html");
    QVERIFY(login);
    QTRY_COMPARE_WITH_TIMEOUT(login->WebBrowser1->View()->title(), QString("after dialogs"),
                              LoadTimeoutMs);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        QVERIFY2(!(widget->isVisible() && widget->inherits("QDialog")), "a dialog appeared");
    }
}

void LoginTest::noContextMenu()
{
    LoginFrm *login = openLogin("/t/links.html");
    QVERIFY(login);
    QWebEngineView *view = login->WebBrowser1->View();
    QWidget *surface = view->focusProxy();
    QVERIFY(surface);
    QVERIFY(!view->lastContextMenuRequest());
    // A fresh page may drop the first clicks; it has seen one once the engine asks for a menu,
    // and a menu it would show is up by then.
    const auto rightClickReachesThePage = [&] {
        QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(300, 200));
        return view->lastContextMenuRequest() != nullptr;
    };
    QTRY_VERIFY_WITH_TIMEOUT(rightClickReachesThePage(), LoadTimeoutMs);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void LoginTest::frameCompletingFirstDoesNotShowWindows()
{
    m_server.setFile("/t/slowtop.html",
                     "<html><body><iframe src='/t/frame.html'></iframe>"
                     "<img src='/fault/slow?bytes=3000&ms=1500&pieces=3'></body></html>",
                     "text/html");
    LoginFrm::SetLoginPage(url("/t/slowtop.html"));
    LoginFrm *login = &Forms<LoginFrm>::Get();
    QSignalSpy completions(login->WebBrowser1, &WebBrowser::DocumentComplete);
    QTRY_VERIFY_WITH_TIMEOUT(!completions.isEmpty(), LoadTimeoutMs);
    QCOMPARE(completions.first().at(1).toBool(), false); // the frame
    QTest::qWait(200);
    QVERIFY(!Forms<LoginBgFrm>::Get().isVisible());
    QVERIFY(!login->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(login->isVisible() && Forms<LoginBgFrm>::Get().isVisible(),
                             LoadTimeoutMs);
}

void LoginTest::emptyPageWarnsAndEnds_data()
{
    QTest::addColumn<bool>("gameOpen");
    QTest::addColumn<int>("ends");
    QTest::newRow("at start-up") << false << 1;
    QTest::newRow("switching account in a game") << true << 0;
}

void LoginTest::emptyPageWarnsAndEnds()
{
    QFETCH(bool, gameOpen);
    QFETCH(int, ends);
    m_server.setFile("/t/empty.html", "", "text/html");
    ScopedReplacement<GameWindow::IsOpenService> game(GameWindow::IsOpenProvider(),
                                                      [gameOpen] { return gameOpen; });
    QStringList boxes;
    int ended = 0;
    ScopedReplacement<MessageBoxService> box(
        MessageBoxProvider(), [&boxes](const QString &text, const QString &title, unsigned) {
            boxes.append(title + ":" + text);
            return id::Ok;
        });
    ScopedReplacement<EndProgramService> end(EndProgramProvider(), [&ended](int) { ++ended; });

    LoginFrm::SetLoginPage(url("/t/empty.html"));
    Forms<LoginFrm>::Get();
    QTRY_COMPARE_WITH_TIMEOUT(boxes, QStringList{"提示:未能连接到服务器，请检查网络连接是否正常！"},
                              LoadTimeoutMs);
    QCOMPARE(ended, ends);
    QTRY_COMPARE(Forms<LoginFrm>::IfLoaded() == nullptr, gameOpen);
}

void LoginTest::draggingBackdropCarriesLoginWindow()
{
    LoginFrm *login = openLogin("/t/links.html");
    QVERIFY(login);
    LoginBgFrm *backdrop = &Forms<LoginBgFrm>::Get();
    QTRY_COMPARE(login->pos(), backdrop->pos());
    const QPoint start = backdrop->pos();
    // A point on the opaque left panel of the backdrop picture.
    const QPoint grip(150, 400);
    QCursor::setPos(backdrop->mapToGlobal(grip));
    QTRY_COMPARE(QCursor::pos(), backdrop->mapToGlobal(grip));

    QTest::mousePress(backdrop, Qt::LeftButton, {}, grip);
    QTest::mouseMove(backdrop, grip + QPoint(-60, -40));
    QTRY_COMPARE(backdrop->pos(), start + QPoint(-60, -40));
    QTest::mouseRelease(backdrop, Qt::LeftButton, {}, backdrop->mapFromGlobal(QCursor::pos()));
    QCOMPARE(login->pos(), backdrop->pos());
}

void LoginTest::minimiseButtonHidesBoth()
{
    LoginFrm *login = openLogin("/t/links.html");
    QVERIFY(login);
    QTest::mouseClick(login->MiniBtn, Qt::LeftButton, {}, QPoint(16, 16));
    QTRY_VERIFY(Forms<LoginBgFrm>::Get().isMinimized());
    QVERIFY(!login->isVisible());

    Forms<LoginBgFrm>::Get().showNormal();
    QTRY_VERIFY(login->isVisible());
    QCOMPARE(login->pos(), Forms<LoginBgFrm>::Get().pos());
}

// The main window's "switch account": a login never loaded or minimised comes to the front.
void LoginTest::showAgainBringsTheLoginBack_data()
{
    QTest::addColumn<bool>("minimised");
    QTest::newRow("not loaded") << false;
    QTest::newRow("minimised") << true;
}

void LoginTest::showAgainBringsTheLoginBack()
{
    QFETCH(bool, minimised);
    if (minimised) {
        QVERIFY(openLogin("/t/links.html"));
        Forms<LoginBgFrm>::Get().showMinimized();
        QTRY_VERIFY(!Forms<LoginFrm>::Get().isVisible());
    }
    LoginFrm::SetLoginPage(url("/t/links.html"));
    LoginFrm::ShowAgain();
    QVERIFY(Forms<LoginFrm>::IfLoaded());
    QVERIFY(openLogin("/t/links.html"));
    QVERIFY(!Forms<LoginBgFrm>::Get().isMinimized());
}

void LoginTest::loginLoadsAfreshRightAfterUnload()
{
    QPointer<LoginFrm> first = openLogin("/t/links.html");
    QVERIFY(first);
    Forms<LoginBgFrm>::Get().Form_Unload();
    QVERIFY(first); // still waiting to be deleted
    LoginFrm *second = &Forms<LoginFrm>::Get();
    QVERIFY(second != first.data());
    QTRY_VERIFY_WITH_TIMEOUT(second->isVisible() && Forms<LoginBgFrm>::Get().isVisible(),
                             LoadTimeoutMs);
    QTRY_VERIFY(!first);
}

int main(int argc, char *argv[])
{
    const EngineHome home;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    LoginTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_login.moc"
