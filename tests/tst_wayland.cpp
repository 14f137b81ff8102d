// The client as a Wayland client, under a compositor of the suite's own (tests/with-weston.sh):
// the login pair stays one surface, the main window asks the compositor to maximise it, and F10
// works while the window has the keyboard. Each case leaves a screenshot in the working folder.
#include "DemoServer.h"
#include "app/Forms.h"
#include "login/LoginBgFrm.h"
#include "login/LoginFrm.h"
#include "mainwnd/GameTabs.h"
#include "mainwnd/WebMainFrm.h"
#include "platform/os/Program.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"
#include "tests/support/Flips.h"
#include "tests/support/LoopWait.h"
#include "tests/support/PageForm.h"
#include "tests/support/RealInput.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTest>

using namespace platform;

namespace {

// What the compositor shows now: its window on the X display the suite runs in.
void screenshot(const QString &name)
{
    QCOMPARE(QProcess::execute("import", {"-window", "root", name + ".png"}), 0);
}

} // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void loginPairIsOneSurface();
    void mainWindowIsMaximisedByTheCompositor();
    void f10HidesTheWindowThatHasTheKeyboard();

private:
    WebMainFrm *openMain();

    DemoServer m_server;
    QPointer<WebMainFrm> m_main;
    std::unique_ptr<ScopedReplacement<GameTabs::PageFormService>> m_pages;
    std::unique_ptr<ScopedReplacement<EndProgramService>> m_end;
};

void WaylandTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QString("wayland"));
    QVERIFY(m_server.start());
}

void WaylandTest::init()
{
    m_pages = std::make_unique<ScopedReplacement<GameTabs::PageFormService>>(
        GameTabs::PageFormProvider(), [](const QString &) { return new PageForm; });
    m_end =
        std::make_unique<ScopedReplacement<EndProgramService>>(EndProgramProvider(), [](int) {});
}

void WaylandTest::cleanup()
{
    if (LoginBgFrm *backdrop = Forms<LoginBgFrm>::IfLoaded()) {
        backdrop->Form_Unload();
    }
    if (m_main) {
        m_main->m_bExit = true;
        m_main->close();
    }
    QTRY_VERIFY(!m_main && !Forms<LoginBgFrm>::IfLoaded() && !Forms<LoginFrm>::IfLoaded());
    m_end.reset();
    m_pages.reset();
}

WebMainFrm *WaylandTest::openMain()
{
    m_main = &Forms<WebMainFrm>::Get();
    m_main->SetURL(m_server.baseUrl() + "/game/");
    m_main->show();
    return QTest::qWaitForWindowExposed(m_main) ? m_main.data() : nullptr;
}

// Two windows would each be placed by the compositor: the login window is part of the backdrop.
void WaylandTest::loginPairIsOneSurface()
{
    LoginFrm::SetLoginPage(m_server.baseUrl() + "/qvmrwd/");
    LoginFrm &login = Forms<LoginFrm>::Get();
    QVERIFY(waitInLoop([&] { return login.isVisible(); }, 20000));
    LoginBgFrm &backdrop = Forms<LoginBgFrm>::Get();
    QVERIFY(!login.isWindow());
    QCOMPARE(login.window(), &backdrop);
    QCOMPARE(login.geometry().topLeft(), QPoint(0, 0));
    QTest::qWait(1500); // the page draws
    screenshot("wayland-login");
}

void WaylandTest::mainWindowIsMaximisedByTheCompositor()
{
    QVERIFY(openMain());
    // The compositor's panel keeps its strip of the output: a maximised window is shorter.
    QTRY_VERIFY(m_main->isMaximized());
    QTRY_VERIFY(m_main->height() < m_main->screen()->geometry().height());
    QCOMPARE(m_main->width(), m_main->screen()->geometry().width());
    QTest::qWait(1000); // the compositor shows the new size
    screenshot("wayland-main");
    m_main->web_minmax_Click();
    QTRY_VERIFY(!m_main->isMaximized());
    QTRY_VERIFY(m_main->width() < m_main->screen()->geometry().width());
}

// Wayland has no system-wide keys; F10 works as a key of the window while it has the focus.
void WaylandTest::f10HidesTheWindowThatHasTheKeyboard()
{
    QVERIFY(openMain());
    QTRY_VERIFY(m_main->isActiveWindow());
    Flips seen(m_main);
    xdotool({"key", "F10"});
    QTRY_COMPARE(seen.count, 1);
    QVERIFY(!m_main->isVisible());
}

int main(int argc, char *argv[])
{
    const EngineHome home;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    WaylandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
