#include "hooks/cFormSubclass.h"
#include "tests/support/MessageRecorder.h"

#include <QTest>
#include <QWidget>

using namespace platform;

namespace {

const UINT UserMessage = 0x0400;

struct Deliveries {
    explicit Deliveries(cFormSubclass &hook)
    {
        QObject::connect(&hook, &cFormSubclass::MsgCome,
                         [this](bool bBefore, bool &bHandled, LRESULT &lReturn, HWND &, UINT &uMsg,
                                WPARAM &wParam, LPARAM &lParam) {
                             (bBefore ? before : after).append(uMsg);
                             if (change) {
                                 change(bHandled, lReturn, uMsg, wParam, lParam);
                             }
                         });
    }
    QList<UINT> before;
    QList<UINT> after;
    std::function<void(bool &, LRESULT &, UINT &, WPARAM &, LPARAM &)> change;
};

} // namespace

class FormSubclassTest : public QObject {
    Q_OBJECT

private slots:
    void everyMessageOnceBeforeNeverAfter();
    void handledMessageSkipsPreviousProcedure();
    void changedParametersReachPreviousProcedure();
    void deleteWindowMsgDoesNothing();
    void destroyingTheObjectRestoresTheWindow();
    void hookingTwiceWrapsTheFirstHook();
    void ownerDestroyedDuringDelivery();
    void windowDestroyedBeforeTheObject();
    void earlierObjectDestroyedFirstKeepsLaterHook();
};

void FormSubclassTest::everyMessageOnceBeforeNeverAfter()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    cFormSubclass hook;
    Deliveries deliveries(hook);
    QVERIFY(hook.AddWindowMsgs(HandleOf(&window)));

    SendMessage(HandleOf(&window), UserMessage, 0, 0);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(deliveries.before, (QList<UINT>{UserMessage, wm::LButtonDown, wm::LButtonUp}));
    QVERIFY(deliveries.after.isEmpty());
}

void FormSubclassTest::handledMessageSkipsPreviousProcedure()
{
    QWidget window;
    MessageRecorder below(HandleOf(&window), 5);
    cFormSubclass hook;
    Deliveries deliveries(hook);
    hook.AddWindowMsgs(HandleOf(&window));
    deliveries.change = [](bool &bHandled, LRESULT &lReturn, UINT &uMsg, WPARAM &, LPARAM &) {
        if (uMsg == UserMessage) {
            bHandled = true;
            lReturn = 77;
        }
    };
    QCOMPARE(SendMessage(HandleOf(&window), UserMessage, 0, 0), LRESULT(77));
    QVERIFY(below.seen().isEmpty());
    QCOMPARE(SendMessage(HandleOf(&window), UserMessage + 1, 0, 0), LRESULT(5));
}

void FormSubclassTest::changedParametersReachPreviousProcedure()
{
    QWidget window;
    MessageRecorder below(HandleOf(&window), 5);
    cFormSubclass hook;
    Deliveries deliveries(hook);
    hook.AddWindowMsgs(HandleOf(&window));
    deliveries.change = [](bool &, LRESULT &, UINT &uMsg, WPARAM &wParam, LPARAM &lParam) {
        uMsg = UserMessage + 9;
        wParam = 99;
        lParam = -1;
    };
    SendMessage(HandleOf(&window), UserMessage, 1, 2);
    QCOMPARE(below.seen(), (QList<Seen>{{UserMessage + 9, 99, -1}}));
}

void FormSubclassTest::deleteWindowMsgDoesNothing()
{
    QWidget window;
    cFormSubclass hook;
    Deliveries deliveries(hook);
    hook.AddWindowMsgs(HandleOf(&window));
    QVERIFY(!hook.DeleteWindowMsg(HandleOf(&window)));
    SendMessage(HandleOf(&window), UserMessage, 0, 0);
    QCOMPARE(deliveries.before, QList<UINT>{UserMessage});
}

void FormSubclassTest::destroyingTheObjectRestoresTheWindow()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    const WNDPROC original = GetWindowProc(hWnd);
    auto hook = std::make_unique<cFormSubclass>();
    Deliveries deliveries(*hook);
    hook->AddWindowMsgs(hWnd);
    hook.reset();
    QCOMPARE(GetWindowProc(hWnd), original);
    SendMessage(hWnd, UserMessage, 0, 0);
    QVERIFY(deliveries.before.isEmpty());
}

void FormSubclassTest::hookingTwiceWrapsTheFirstHook()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    const WNDPROC original = GetWindowProc(hWnd);
    auto hook = std::make_unique<cFormSubclass>();
    Deliveries deliveries(*hook);
    hook->AddWindowMsgs(hWnd);
    hook->AddWindowMsgs(hWnd);
    QCOMPARE(hook->HookedWindowCount(), 2);
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(deliveries.before, (QList<UINT>{UserMessage, UserMessage}));
    hook.reset();
    QCOMPARE(GetWindowProc(hWnd), original);
}

void FormSubclassTest::ownerDestroyedDuringDelivery()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    MessageRecorder below(hWnd, 5);
    const WNDPROC belowHook = GetWindowProc(hWnd);
    auto *hook = new cFormSubclass;
    hook->AddWindowMsgs(hWnd);
    QObject::connect(hook, &cFormSubclass::MsgCome,
                     [&hook](bool, bool &, LRESULT &, HWND &, UINT &, WPARAM &, LPARAM &) {
                         delete hook;
                         hook = nullptr;
                     });
    QCOMPARE(SendMessage(hWnd, UserMessage, 0, 0), LRESULT(5));
    QCOMPARE(below.seen().size(), 1);
    QCOMPARE(GetWindowProc(hWnd), belowHook);
}

void FormSubclassTest::windowDestroyedBeforeTheObject()
{
    cFormSubclass hook;
    Deliveries deliveries(hook);
    auto *window = new QWidget;
    hook.AddWindowMsgs(HandleOf(window));
    delete window;
    QCOMPARE(deliveries.before.last(), wm::NcDestroy);
    // Destroying the object later finds nothing to give back, and must not try.
}

void FormSubclassTest::earlierObjectDestroyedFirstKeepsLaterHook()
{
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const HWND hWnd = HandleOf(&window);
    const WNDPROC original = GetWindowProc(hWnd);
    auto first = std::make_unique<cFormSubclass>();
    auto second = std::make_unique<cFormSubclass>();
    Deliveries firstSeen(*first);
    Deliveries secondSeen(*second);
    first->AddWindowMsgs(hWnd);
    second->AddWindowMsgs(hWnd);

    first.reset();
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(secondSeen.before, QList<UINT>{UserMessage});
    QVERIFY(firstSeen.before.isEmpty());

    second.reset();
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(GetWindowProc(hWnd), original);
}

QTEST_MAIN(FormSubclassTest)
#include "tst_formsubclass.moc"
