#include "app/Forms.h"
#include "app/PublicData.h"
#include "mainwnd/GameTabs.h"
#include "mainwnd/KubNotifyIcon.h"
#include "mainwnd/WebMainFrm.h"
#include "platform/os/Program.h"
#include "platform/winsys/WindowProc.h"
#include "tests/support/Flips.h"
#include "tests/support/PageForm.h"
#include "tests/support/Parts.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

bool balloonShown()
{
    for (const QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QBalloonTip") && widget->isVisible()) {
            return true;
        }
    }
    return false;
}

} // namespace

// The tray icon in a real notification area: a tray host (trayer) runs on this suite's display,
// the icon embeds into it and is clicked there like a player would.
class TrayTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void clicksOnTheIcon_data();
    void clicksOnTheIcon();
    void missingIconFileStillGivesAnIcon();
    void tipIsCutBetweenCharacters_data();
    void tipIsCutBetweenCharacters();
    void bubbleComesAndGoesIconStays();

private:
    WebMainFrm *open();

    QTemporaryDir m_runtime;
    QProcess m_trayer;
    QPointer<WebMainFrm> m_main;
    std::unique_ptr<ScopedReplacement<GameTabs::PageFormService>> m_pages;
    std::unique_ptr<ScopedReplacement<EndProgramService>> m_end;
};

void TrayTest::initTestCase()
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    m_trayer.start("trayer",
                   {"--edge", "bottom", "--align", "right", "--widthtype", "request",
                    "--SetPartialStrut", "true", "--height", "32", "--SetDockType", "true"});
    QVERIFY(m_trayer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
    m_pages = std::make_unique<ScopedReplacement<GameTabs::PageFormService>>(
        GameTabs::PageFormProvider(), [](const QString &) { return new PageForm; });
    m_end =
        std::make_unique<ScopedReplacement<EndProgramService>>(EndProgramProvider(), [](int) {});
}

void TrayTest::cleanupTestCase()
{
    m_end.reset();
    m_pages.reset();
    m_trayer.kill();
    m_trayer.waitForFinished();
}

void TrayTest::cleanup()
{
    if (m_main) {
        m_main->m_bExit = true;
        m_main->close();
    }
    QTRY_VERIFY(!m_main);
}

WebMainFrm *TrayTest::open()
{
    m_main = &Forms<WebMainFrm>::Get();
    m_main->SetURL("http://game.test/play");
    m_main->show();
    return QTest::qWaitForWindowExposed(m_main) ? m_main.data() : nullptr;
}

void TrayTest::clicksOnTheIcon_data()
{
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("flips");
    QTest::addColumn<bool>("menu");

    QTest::newRow("left click") << QStringList{"1"} << 0 << 1 << false;
    // Two clicks, however quick: hidden and shown again.
    QTest::newRow("real double click") << QStringList{"--repeat 2 --delay 60 1"} << 0 << 2 << false;
    QTest::newRow("right click") << QStringList{"3"} << 0 << 0 << true;
    // A left click follows, so the middle one is seen to have done nothing once that toggles.
    QTest::newRow("middle click") << QStringList{"2", "1"} << 0 << 1 << false;
    QTest::newRow("pointer move") << QStringList() << int(wm::MouseMove) << 0 << false;
    QTest::newRow("left press") << QStringList() << int(wm::LButtonDown) << 0 << false;
    QTest::newRow("right press") << QStringList() << int(wm::RButtonDown) << 0 << false;
    QTest::newRow("double click") << QStringList() << int(wm::LButtonDblClk) << 0 << false;
}

void TrayTest::clicksOnTheIcon()
{
    QFETCH(QStringList, buttons);
    QFETCH(int, sent);
    QFETCH(int, flips);
    QFETCH(bool, menu);
    QVERIFY(open());
    QSystemTrayIcon *icon = NotifyIconOf(HandleOf(m_main), KubNotifyIcon::IconId);
    QVERIFY(icon);
    QTRY_VERIFY(!icon->geometry().isEmpty());
    const QPoint center = icon->geometry().center();

    Flips seen(m_main);
    if (sent) {
        SendMessage(HandleOf(m_main), KubNotifyIcon::CallbackMessage, KubNotifyIcon::IconId, sent);
    }
    for (const QString &button : buttons) {
        QCOMPARE(QProcess::execute("xdotool", QStringList{"mousemove", QString::number(center.x()),
                                                          QString::number(center.y()), "click"} +
                                                  button.split(' ')),
                 0);
    }
    QTRY_COMPARE(PartOf<QMenu>(m_main, "appmenu")->isVisible(), menu);
    QTRY_COMPARE(seen.count, flips);
    PartOf<QMenu>(m_main, "appmenu")->hide();
}

// Without the icon file the login leaves, the tray still gets the program's own icon: a tray
// entry without a picture is not shown, and a hidden window could only come back by F10.
void TrayTest::missingIconFileStillGivesAnIcon()
{
    QVERIFY(!QFile::exists(PublicData::GetTempFolder() + PublicData::IconFileName));
    QVERIFY(open());
    QSystemTrayIcon *icon = NotifyIconOf(HandleOf(m_main), KubNotifyIcon::IconId);
    QVERIFY(icon && icon->isVisible());
    QVERIFY(!icon->icon().isNull());
    QCOMPARE(icon->toolTip(), "Vantor客户端");
}

void TrayTest::tipIsCutBetweenCharacters_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("shown");
    const QString wide(50, QChar(0x5BA2)); // 3 bytes each: 150 bytes
    QTest::newRow("short") << "Vantor客户端"
                           << "Vantor客户端";
    QTest::newRow("127 bytes") << QString(127, 'a') << QString(127, 'a');
    QTest::newRow("128 bytes") << QString(128, 'a') << QString(127, 'a');
    QTest::newRow("Chinese over the field") << wide << wide.left(42);
    QTest::newRow("character across the end")
        << QString(125, 'a') + QString::fromUtf8("客户") << QString(125, 'a');
    QTest::newRow("surrogate pair across the end")
        << QString(124, 'a') + QString::fromUtf8("😀") << QString(124, 'a');
}

void TrayTest::tipIsCutBetweenCharacters()
{
    QFETCH(QString, tip);
    QFETCH(QString, shown);
    QWidget window;
    KubNotifyIcon tray;
    tray.AddNotifyIcon(HandleOf(&window), QApplication::style()->standardIcon(QStyle::SP_FileIcon),
                       tip);
    QCOMPARE(NotifyIconOf(HandleOf(&window), KubNotifyIcon::IconId)->toolTip(), shown);
}

void TrayTest::bubbleComesAndGoesIconStays()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    {
        KubNotifyIcon tray;
        tray.ShowBubble("title", "not yet", NIIF_INFO);
        QVERIFY(!balloonShown());
        tray.AddNotifyIcon(hWnd, QApplication::style()->standardIcon(QStyle::SP_FileIcon), "tip");
        tray.ShowBubble("title", "text", NIIF_INFO);
        QTRY_VERIFY(balloonShown());
        tray.HideBubble();
        QTRY_VERIFY(!balloonShown());
        QVERIFY(NotifyIconOf(hWnd, KubNotifyIcon::IconId)->isVisible());
    }
    QVERIFY(!NotifyIconOf(hWnd, KubNotifyIcon::IconId));
}

QTEST_MAIN(TrayTest)
#include "tst_tray.moc"
