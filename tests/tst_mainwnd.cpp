#include "DemoServer.h"
#include "app/Forms.h"
#include "app/MsgFrm.h"
#include "controls/iButton.h"
#include "mainwnd/AppMenu.h"
#include "mainwnd/GameTabs.h"
#include "mainwnd/MainLayout.h"
#include "mainwnd/WebMainFrm.h"
#include "mainwnd/cSetStyle.h"
#include "net/AppConfig.h"
#include "net/VersionCheck.h"
#include "platform/os/DdeLink.h"
#include "platform/os/Program.h"
#include "platform/winsys/WindowProc.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/ITabForm.h"
#include "tabstrip/uTab.h"
#include "tests/support/AsNobody.h"
#include "tests/support/Flips.h"
#include "tests/support/KeyGrab.h"
#include "tests/support/PageForm.h"
#include "tests/support/Parts.h"
#include "tests/support/RealInput.h"
#include "tests/support/ScriptedBoxes.h"
#include "tests/support/TabMarks.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <X11/keysym.h>
#include <sys/stat.h>

using namespace platform;

namespace {

// Answers every exit dialog that opens, and counts them.
class ExitDialogs : public QObject {
public:
    explicit ExitDialogs(bool answerYes, std::function<void()> whileOpen = {})
        : m_answerYes(answerYes), m_whileOpen(std::move(whileOpen))
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<MsgFrm *>(watched);
        if (dialog && event->type() == QEvent::Show) {
            ++shown;
            QTimer::singleShot(0, dialog, [this, dialog] { answer(dialog); });
        }
        return false;
    }
    int shown = 0;

private:
    void answer(MsgFrm *dialog)
    {
        if (m_whileOpen) {
            m_whileOpen();
        }
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        iButton *button = m_answerYes ? dialog->iButton1 : dialog->iButton2;
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    bool m_answerYes;
    std::function<void()> m_whileOpen;
};

struct Run {
    int status = -1;
    QString error;
};

// Runs a program without blocking the event loop, which may have to answer it.
Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, arguments);
    if (!finished.wait(20000)) {
        return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError()).trimmed()};
}

// Connects to the socket as user nobody; the errno of the connect, 0 when it connected.
int connectAsNobody(const QByteArray &path)
{
    return exitStatusOf(startAsNobody([&path] {
        const sockaddr_un address = unixAddress(path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        return ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0
                   ? 0
                   : errno;
    }));
}

// The shape turned over, left to right or top to bottom, inside a window of that size.
QRegion mirrored(const QRegion &shape, const QSize &size, Qt::Orientation axis)
{
    QRegion turned;
    for (const QRect &r : shape) {
        turned += axis == Qt::Horizontal
                      ? QRect(size.width() - 1 - r.right(), r.top(), r.width(), r.height())
                      : QRect(r.left(), size.height() - 1 - r.bottom(), r.width(), r.height());
    }
    return turned;
}

const QString GameA = "http://game.test/play";
const QString GameB = "http://game.test/other";

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void setUrlOpensOrSelects_data();
    void setUrlOpensOrSelects();
    void everyCloseAsksOnce_data();
    void everyCloseAsksOnce();
    void stripHasTheMainWindowsStyle();
    void resizeWhileMinimisedIsLaidOutOnReturn();
    void loadMaximisesAndRestoreCentres();
    void shapeIsTheWindowWithFourLikeCorners_data();
    void shapeIsTheWindowWithFourLikeCorners();
    void minmaxTwiceReturnsToTheRectangle();
    void appMenuHoldsItsItemsInOrder();
    void refreshGoesToTheSelectedTab();
    void cacheClearingSaysWhatHappened_data();
    void cacheClearingSaysWhatHappened();
    void updateKeepsWindowWhileChecking_data();
    void updateKeepsWindowWhileChecking();
    void hideRestoreShowsAHiddenWindow();
    void hotKeyFromAnotherApplication_data();
    void hotKeyFromAnotherApplication();
    void heldHotKeyTogglesOnce_data();
    void heldHotKeyTogglesOnce();
    void f10InTheWindowWithoutTheHotKey();
    void hotKeyIsFreeOnceTheClientEnds();
    void linkCommands_data();
    void linkCommands();
    void linkWithoutClient();
    void otherUserCannotReachLink();

private:
    WebMainFrm *open(const QStringList &addresses);
    void requestClose(const QString &path);

    std::unique_ptr<ScopedReplacement<GameTabs::PageFormService>> m_pages;
    std::unique_ptr<ScopedReplacement<EndProgramService>> m_end;
    QPointer<WebMainFrm> m_main;
    QList<QPointer<QWidget>> m_forms;
    int m_ended = 0;
    QTemporaryDir m_runtime;
    DemoServer m_server;
};

void MainWindowTest::initTestCase()
{
    // The link's socket and the icon file live in the private folder: one of this run's own.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    QVERIFY(m_server.start());
}

void MainWindowTest::init()
{
    m_pages = std::make_unique<ScopedReplacement<GameTabs::PageFormService>>(
        GameTabs::PageFormProvider(), [this](const QString &) {
            auto *page = new PageForm;
            m_forms << page;
            return page;
        });
    m_end = std::make_unique<ScopedReplacement<EndProgramService>>(EndProgramProvider(),
                                                                   [this](int) { ++m_ended; });
    m_ended = 0;
    m_forms.clear();
}

void MainWindowTest::cleanup()
{
    if (m_main) {
        m_main->m_bExit = true;
        m_main->close();
    }
    QTRY_VERIFY(!m_main);
    m_end.reset();
    m_pages.reset();
}

WebMainFrm *MainWindowTest::open(const QStringList &addresses)
{
    m_main = &Forms<WebMainFrm>::Get();
    for (const QString &address : addresses) {
        m_main->SetURL(address);
    }
    m_main->show();
    if (!QTest::qWaitForWindowExposed(m_main)) {
        return nullptr;
    }
    return m_main;
}

void MainWindowTest::requestClose(const QString &path)
{
    if (path == "close button") {
        QTest::mouseClick(PartOf<iButton>(m_main, "web_close"), Qt::LeftButton, {},
                          PartOf<iButton>(m_main, "web_close")->rect().center());
    } else if (path == "system close") {
        SendMessage(HandleOf(m_main), wm::SysCommand, SC_CLOSE, 0);
    } else if (path == "window manager") {
        m_main->close();
    } else if (path == "menu exit") {
        PartOf<QAction>(m_main, "exit")->trigger();
    } else if (path == "last tab's mark") {
        clickLastTabCloseMark(PartOf<uTab>(m_main, "WebuTab"));
    }
}

void MainWindowTest::setUrlOpensOrSelects_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("selected");

    const QString a = "http://game.test/play";
    const QString b = "http://game.test/other";
    const QString upper = "http://game.test/PLAY";
    QTest::newRow("same address twice") << QStringList{a, a} << 1 << 0;
    QTest::newRow("another address") << QStringList{a, b} << 2 << 1;
    QTest::newRow("back to the first") << QStringList{a, b, a} << 2 << 0;
    QTest::newRow("differs only in case") << QStringList{a, upper} << 2 << 1;
    QTest::newRow("case, then the first") << QStringList{a, upper, a} << 2 << 0;
}

void MainWindowTest::setUrlOpensOrSelects()
{
    QFETCH(QStringList, addresses);
    QFETCH(int, tabs);
    QFETCH(int, selected);
    QVERIFY(open(addresses));
    QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->TabItems()->Count(), tabs);
    QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->Selected(), selected);
    QCOMPARE(m_forms.size(), tabs);
    QVERIFY(PartOf<QWidget>(m_main, "Picture1")->isHidden());
}

void MainWindowTest::everyCloseAsksOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("askAgainWhileOpen");

    for (const char *path :
         {"close button", "system close", "window manager", "last tab's mark", "menu exit"}) {
        QTest::addRow("%s, no", path) << path << false << false;
        QTest::addRow("%s, yes", path) << path << true << false;
    }
    QTest::newRow("second request while asking") << "close button" << false << true;
    QTest::newRow("last tab's mark while asking") << "last tab's mark" << true << true;
}

void MainWindowTest::everyCloseAsksOnce()
{
    QFETCH(QString, path);
    QFETCH(bool, answerYes);
    QFETCH(bool, askAgainWhileOpen);
    QVERIFY(open({"http://game.test/play"}));
    ExitDialogs dialogs(answerYes, [&] {
        if (askAgainWhileOpen) {
            requestClose("system close");
            requestClose("window manager");
        }
    });

    requestClose(path);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTRY_COMPARE(m_ended, answerYes ? 1 : 0);
    QCOMPARE(dialogs.shown, 1);
    if (answerYes) {
        QTRY_VERIFY(!m_main);
        QVERIFY(!m_forms.first());
    } else {
        QVERIFY(m_main && m_main->isVisible());
        QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->TabItems()->Count(), 1);
    }
}

// The real window's strip, not only its layout: the skin of the caption bar, whole captions.
void MainWindowTest::stripHasTheMainWindowsStyle()
{
    QVERIFY(open({GameA}));
    uTab *strip = PartOf<uTab>(m_main, "WebuTab");
    QCOMPARE(strip->height(), 32);
    QCOMPARE(strip->TabStyle(), 1);
    QCOMPARE(strip->TabLeftSize(), 10);
    QCOMPARE(strip->TabItems()->Item(0)->Width(), 200);
}

void MainWindowTest::resizeWhileMinimisedIsLaidOutOnReturn()
{
    QVERIFY(open({GameA}));
    m_main->showMinimized();
    QTRY_VERIFY(m_main->isMinimized());
    m_main->resize(800, 500);
    m_main->showNormal();
    QTRY_VERIFY(!m_main->isMinimized());
    const QSize size = m_main->size();
    QTRY_COMPARE(PartOf<iButton>(m_main, "web_close")->geometry(),
                 MainLayout::ToPixels(*MainLayout::Place(size * 15).web_close));
    QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->width(),
             MainLayout::ToPixels(*MainLayout::Place(size * 15).WebuTab).width());
}

void MainWindowTest::loadMaximisesAndRestoreCentres()
{
    QVERIFY(open({"http://game.test/play"}));
    const QRect screen = m_main->screen()->availableGeometry();
    QTRY_COMPARE(m_main->geometry(), screen);
    QVERIFY(PartOf<iButton>(m_main, "web_minmax")->Value());

    QTest::mouseClick(PartOf<iButton>(m_main, "web_minmax"), Qt::LeftButton, {},
                      PartOf<iButton>(m_main, "web_minmax")->rect().center());
    QVERIFY(!PartOf<iButton>(m_main, "web_minmax")->Value());
    const QSize design(1036, 639);
    const QRect full = m_main->screen()->geometry();
    QTRY_COMPARE(m_main->geometry(), QRect(QPoint((full.width() - design.width()) / 2,
                                                  (full.height() - design.height()) / 2),
                                           design));
}

void MainWindowTest::shapeIsTheWindowWithFourLikeCorners_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("size");
    QTest::newRow("main window, its own size") << "main" << QSize(1036, 639);
    QTest::newRow("main window, even sides") << "main" << QSize(900, 600);
    QTest::newRow("main window, small") << "main" << QSize(700, 451);
    QTest::newRow("exit dialog") << "dialog" << QSize(242, 140);
}

// A shape a pixel larger than the window squares the bottom-right corner and, on a composited
// screen, leaves a trail behind a moved window.
void MainWindowTest::shapeIsTheWindowWithFourLikeCorners()
{
    QFETCH(QString, window);
    QFETCH(QSize, size);
    bool answer = false;
    MsgFrm dialog(answer);
    QWidget *shaped = &dialog;
    if (window == "main") {
        QVERIFY(open({GameA}));
        m_main->setGeometry(QRect(QPoint(40, 30), size));
        shaped = m_main;
    } else {
        dialog.show();
    }
    QTRY_COMPARE(shaped->size(), size);
    const QRegion shape = shaped->mask();
    QCOMPARE(shape.boundingRect(), QRect(QPoint(0, 0), size));
    QVERIFY(!shape.contains(QPoint(0, 0)));
    QCOMPARE(mirrored(shape, size, Qt::Horizontal), shape);
    QCOMPARE(mirrored(shape, size, Qt::Vertical), shape);
}

void MainWindowTest::minmaxTwiceReturnsToTheRectangle()
{
    QVERIFY(open({GameA}));
    const QRect maximised = m_main->screen()->availableGeometry();
    QTRY_COMPARE(m_main->geometry(), maximised);
    iButton *button = PartOf<iButton>(m_main, "web_minmax");
    const auto click = [button] {
        // The button counts a release as a click only where the window really is by now.
        const QPoint center = button->rect().center();
        QTRY_COMPARE(QApplication::widgetAt(button->mapToGlobal(center)), button);
        QTest::mouseClick(button, Qt::LeftButton, {}, center);
    };
    click();
    click();
    QTRY_COMPARE(m_main->geometry(), maximised);
    click();
    const QRect placed(120, 80, 700, 450);
    m_main->setGeometry(placed);
    QTRY_COMPARE(m_main->geometry(), placed);
    click();
    click();
    QTRY_COMPARE(m_main->geometry(), placed);
}

void MainWindowTest::appMenuHoldsItsItemsInOrder()
{
    QVERIFY(open({GameA}));
    QStringList captions;
    for (const QAction *action : PartOf<QMenu>(m_main, "appmenu")->actions()) {
        captions << (action->isSeparator() ? "-" : action->text());
    }
    QCOMPARE(captions, QStringList({"刷新(F5)", "隐藏/恢复(F10)", "清除缓存", "-", "更新",
                                    "版本号:1.1.0", "退出"}));

    QCursor::setPos(400, 300);
    QTRY_COMPARE(QCursor::pos(), QPoint(400, 300));
    QTest::mouseClick(PartOf<iButton>(m_main, "web_tool"), Qt::LeftButton, {},
                      PartOf<iButton>(m_main, "web_tool")->rect().center());
    QTRY_VERIFY(PartOf<QMenu>(m_main, "appmenu")->isVisible());
    QCOMPARE(PartOf<QMenu>(m_main, "appmenu")->pos(), QPoint(400, 300));
    PartOf<QMenu>(m_main, "appmenu")->hide();
}

void MainWindowTest::refreshGoesToTheSelectedTab()
{
    QVERIFY(open({GameA, GameB}));
    PartOf<QAction>(m_main, "refresh")->trigger();
    QCOMPARE(static_cast<PageForm *>(m_forms[0].data())->refreshes, 0);
    QCOMPARE(static_cast<PageForm *>(m_forms[1].data())->refreshes, 1);
}

void MainWindowTest::cacheClearingSaysWhatHappened_data()
{
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("text");
    QTest::addColumn<unsigned>("flags");
    QTest::newRow("cleared") << true << "缓存已清理完毕！" << (mb::Ok | mb::IconInformation);
    QTest::newRow("not cleared") << false << "缓存未能清理，请稍后再试。"
                                 << (mb::Ok | mb::IconWarning);
}

void MainWindowTest::cacheClearingSaysWhatHappened()
{
    QFETCH(bool, cleared);
    QFETCH(QString, text);
    QFETCH(unsigned, flags);
    ScriptedBoxes boxes(id::Ok);
    QStringList calls;
    ScopedReplacement cleaner(AppMenu::CacheCleanerProvider(),
                              [&](const QString &pattern, quint32 keepMask) {
                                  calls << pattern + " " + QString::number(keepMask, 16);
                                  return cleared;
                              });
    QVERIFY(open({GameA}));
    PartOf<QAction>(m_main, "clearcache")->trigger();
    QCOMPARE(calls, QStringList{"*.* 300000"});
    QCOMPARE(boxes.texts, QStringList{text});
    QCOMPARE(boxes.titles, QStringList{"缓存清理"});
    QCOMPARE(boxes.flags, QList<unsigned>{flags});
}

// The check pumps the event loop while the manifest trickles in; what the player does meanwhile
// must neither start a second check nor take the window or its downloader from under this one.
void MainWindowTest::updateKeepsWindowWhileChecking_data()
{
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<bool>("closes");
    QTest::newRow("update again") << "update" << false;
    QTest::newRow("exit from the menu") << "exit" << true;
    QTest::newRow("window closed") << "close" << true;
}

void MainWindowTest::updateKeepsWindowWhileChecking()
{
    QFETCH(QString, meanwhile);
    QFETCH(bool, closes);
    ScriptedBoxes boxes(id::No);
    ExitDialogs dialogs(true);
    int checks = 0;
    ScopedReplacement checkSetup(AppMenu::UpdateCheckProvider(), [&](VersionCheck &check) {
        check.SetManifestAddress(m_server.baseUrl() + "/fault/slow?ms=1500");
        // A plain body that names no version: the check ends without a word.
        check.SetUpdateKey({});
        if (++checks > 1) {
            return;
        }
        QTimer::singleShot(300, m_main, [this, meanwhile] {
            if (meanwhile == "update") {
                PartOf<QAction>(m_main, "update")->trigger();
            } else if (meanwhile == "exit") {
                PartOf<QAction>(m_main, "exit")->trigger();
            } else {
                m_main->m_bExit = true;
                m_main->close();
            }
        });
    });
    QVERIFY(open({GameA}));
    PartOf<QAction>(m_main, "update")->trigger();
    QCOMPARE(checks, 1);
    QCOMPARE(boxes.texts, QStringList());
    if (closes) {
        QTRY_VERIFY(!m_main);
        QCOMPARE(m_ended, 1);
    } else {
        QVERIFY(PartOf<QAction>(m_main, "update")->isEnabled());
    }
}

// The tray menu's "隐藏/恢复" brings back a window that F10 or the tray hid.
void MainWindowTest::hideRestoreShowsAHiddenWindow()
{
    QVERIFY(open({GameA}));
    m_main->hide();
    PartOf<QAction>(m_main, "hiderestore")->trigger();
    QTRY_VERIFY(m_main->isVisible());
    PartOf<QAction>(m_main, "hiderestore")->trigger();
    QTRY_VERIFY(!m_main->isVisible());
}

void MainWindowTest::hotKeyFromAnotherApplication_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("flips");
    // Every row ends with a plain F10, so its own toggle is seen once everything before is.
    QTest::newRow("F10") << QStringList{"F10"} << 2;
    QTest::newRow("F10 with NumLock on") << QStringList{"Num_Lock", "F10", "Num_Lock"} << 2;
    QTest::newRow("F10 with CapsLock on") << QStringList{"Caps_Lock", "F10", "Caps_Lock"} << 2;
    QTest::newRow("Shift+F10") << QStringList{"shift+F10"} << 1;
    QTest::newRow("Ctrl+F10") << QStringList{"ctrl+F10"} << 1;
    QTest::newRow("Alt+F10") << QStringList{"alt+F10"} << 1;
}

void MainWindowTest::hotKeyFromAnotherApplication()
{
    QFETCH(QStringList, keys);
    QFETCH(int, flips);
    QVERIFY(open({GameA}));
    QProcess other;
    other.setStandardOutputFile(QProcess::nullDevice());
    other.start("xev", {"-name", "vantor-other"});
    xdotool({"search", "--sync", "--name", "vantor-other", "windowactivate", "--sync"});
    QTRY_VERIFY(!m_main->isActiveWindow());

    Flips seen(m_main);
    xdotool(QStringList{"key"} + keys + QStringList{"F10"});
    QTRY_COMPARE(seen.count, flips);
    QCOMPARE(m_main->isVisible(), flips % 2 == 0);
    other.kill();
    other.waitForFinished();
}

void MainWindowTest::heldHotKeyTogglesOnce_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("flips");
    // The server repeats a held key, with a release before every repeated press.
    QTest::newRow("held two seconds")
        << QStringList{"keydown", "F10", "sleep", "2", "keyup", "F10"} << 1;
    QTest::newRow("held, let go, held again")
        << QStringList{"keydown", "F10",     "sleep", "1",     "keyup", "F10",   "sleep",
                       "0.2",     "keydown", "F10",   "sleep", "1",     "keyup", "F10"}
        << 2;
}

void MainWindowTest::heldHotKeyTogglesOnce()
{
    QFETCH(QStringList, keys);
    QFETCH(int, flips);
    QVERIFY(open({GameA}));
    Flips seen(m_main);
    xdotool(keys);
    QTRY_COMPARE(seen.count, flips);
    QTest::qWait(300);
    QCOMPARE(seen.count, flips);
    QCOMPARE(m_main->isVisible(), flips % 2 == 0);
}

// Without the system-wide key (another program holds F10, or Wayland, which has no grabs) F10
// still hides the window while the window has the keyboard.
void MainWindowTest::f10InTheWindowWithoutTheHotKey()
{
    {
        const KeyHeldElsewhere other(XK_F10);
        QVERIFY(other.held());
        QVERIFY(open({GameA}));
    }
    m_main->activateWindow();
    QTRY_VERIFY(m_main->isActiveWindow());
    Flips seen(m_main);
    xdotool({"key", "F10"});
    QTRY_COMPARE(seen.count, 1);
    QVERIFY(!m_main->isVisible());
}

void MainWindowTest::hotKeyIsFreeOnceTheClientEnds()
{
    QVERIFY(open({GameA}));
    QVERIFY(!anotherClientCanGrab(XK_F10));
    m_main->m_bExit = true;
    m_main->close();
    QTRY_VERIFY(!m_main);
    QVERIFY(anotherClientCanGrab(XK_F10));
}

void MainWindowTest::linkCommands_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<bool>("visible");

    QTest::newRow("new address") << GameB << "normal" << 0 << 2 << true;
    QTest::newRow("open address") << GameA << "normal" << 0 << 1 << true;
    QTest::newRow("minimised window") << GameB << "minimised" << 0 << 2 << true;
    QTest::newRow("hidden window") << GameA << "hidden" << 0 << 1 << true;
    QTest::newRow("file address") << "file:///etc/passwd"
                                  << "normal" << 1 << 1 << true;
    QTest::newRow("script address") << "javascript:alert(1)"
                                    << "normal" << 1 << 1 << true;
    QTest::newRow("over 8 KiB") << "http://game.test/" + QString(8200, 'a') << "normal" << 1 << 1
                                << true;
    QTest::newRow("toggle") << "--toggle"
                            << "normal" << 0 << 1 << false;
    QTest::newRow("toggle back") << "--toggle"
                                 << "hidden" << 0 << 1 << true;
    QTest::newRow("new address at the cap") << GameB << "full" << 1 << 30 << true;
    QTest::newRow("open address at the cap") << GameA << "full" << 0 << 30 << true;
}

void MainWindowTest::linkCommands()
{
    QFETCH(QString, argument);
    QFETCH(QString, before);
    QFETCH(int, status);
    QFETCH(int, tabs);
    QFETCH(bool, visible);
    QVERIFY(open({GameA}));
    if (before == "minimised") {
        m_main->showMinimized();
        QTRY_VERIFY(m_main->isMinimized());
    } else if (before == "hidden") {
        m_main->hide();
    }
    for (int i = 1; before == "full" && i < GameTabs::MaxTabs; ++i) {
        m_main->SetURL(GameA + "?" + QString::number(i));
    }

    QCOMPARE(run(VANTOR_LINK_PROGRAM, {argument}).status, status);
    QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->TabItems()->Count(), tabs);
    const int selected = PartOf<uTab>(m_main, "WebuTab")
                             ->TabItems()
                             ->Item(PartOf<uTab>(m_main, "WebuTab")->Selected())
                             ->ItemData()
                             .toString() == argument;
    QCOMPARE(selected, status == 0 && argument != "--toggle");
    QCOMPARE(m_main->isVisible(), visible);
    QTRY_COMPARE(m_main->isMinimized(), false);
}

void MainWindowTest::linkWithoutClient()
{
    const Run result = run(VANTOR_LINK_PROGRAM, {GameA});
    QCOMPARE(result.status, 2);
    QCOMPARE(result.error, "vantor-link: no Vantor client is running");
}

// Even with every folder on the way open to it, another user gets no connection to the link.
void MainWindowTest::otherUserCannotReachLink()
{
    QVERIFY(open({GameA}));
    const QString socket = LinkServerName(AppConfig::LinkTopic);
    QVERIFY(QFile::exists(socket));
    const QByteArray folder = QFile::encodeName(QFileInfo(socket).path());
    const QByteArray runtime = QFile::encodeName(m_runtime.path());
    QCOMPARE(::chmod(runtime, 0711) | ::chmod(folder, 0711), 0);
    QCOMPARE(connectAsNobody(QFile::encodeName(socket)), EACCES);

    QTemporaryDir nobodysTemp;
    ::chmod(QFile::encodeName(nobodysTemp.path()), 0777);
    qputenv("TMPDIR", QFile::encodeName(nobodysTemp.path()));
    const Run result = run("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                                       VANTOR_LINK_PROGRAM, GameB});
    qunsetenv("TMPDIR");
    ::chmod(runtime, 0700);
    QCOMPARE(result.status, 2);
    QCOMPARE(PartOf<uTab>(m_main, "WebuTab")->TabItems()->Count(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwnd.moc"
