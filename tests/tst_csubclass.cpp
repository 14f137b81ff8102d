#include "hooks/CSubclass.h"
#include "platform/os/EventLog.h"
#include "tests/support/MessageRecorder.h"

#include <QTest>
#include <QWidget>

using namespace platform;

namespace {

struct Delivery {
    bool before;
    UINT uMsg;
};

// The owner side of a hook: records deliveries and can answer them.
class Owner : public QObject {
public:
    explicit Owner(CSubclass &hook)
    {
        connect(&hook, &CSubclass::WindowProc, this,
                [this](bool bBefore, bool &bHandled, LRESULT &lReturn, HWND, UINT uMsg, WPARAM,
                       LPARAM, LPARAM &lParamUser) {
                    deliveries.append({bBefore, uMsg});
                    if (bBefore && handleBefore.contains(uMsg)) {
                        bHandled = true;
                        lReturn = handleBefore.value(uMsg);
                    }
                    if (!bBefore) {
                        returnSeenAfter = lReturn;
                        if (replaceAfter) {
                            lReturn = *replaceAfter;
                        }
                    }
                    if (newUserValue) {
                        lParamUser = *newUserValue;
                    }
                    if (onDelivery) {
                        onDelivery();
                    }
                });
    }
    QList<UINT> delivered(bool before) const
    {
        QList<UINT> messages;
        for (const Delivery &d : deliveries) {
            if (d.before == before) {
                messages.append(d.uMsg);
            }
        }
        return messages;
    }

    QList<Delivery> deliveries;
    QHash<UINT, LRESULT> handleBefore;
    LRESULT returnSeenAfter = -1;
    std::optional<LRESULT> replaceAfter;
    std::optional<LPARAM> newUserValue;
    std::function<void()> onDelivery;
};

struct ReportLog {
    QStringList lines;
    ScopedReplacement<EventLogService> capture{EventLogProvider(),
                                               [this](const QString &line) { lines.append(line); }};
};

const UINT UserMessage = 0x0400;

} // namespace

class CSubclassTest : public QObject {
    Q_OBJECT

private slots:
    void subclassRefusals_data();
    void subclassRefusals();
    void tableOverflowAndSlotReuse();
    void allMessagesNarrowedByASingleMessage();
    void handledBeforeSkipsPreviousAndAfter();
    void afterDeliverySeesPreviousResult();
    void unsubclassStopsEventsAndRestoresAtNextMessage();
    void unhookOutOfOrderKeepsLaterHook();
    void destroyedWindowRestoresAndLaterCallsDoNothing();
    void delMsgSkipsArgumentsThatAreNotSmallIntegers();
    void userValueRoundTrip();
    void ownerDestroyedInsideHandler();
    void mouseLeaveAfterTracking();
    void reportsForUnknownWindows();
};

void CSubclassTest::subclassRefusals_data()
{
    QTest::addColumn<QString>("attempt");
    QTest::addColumn<QString>("report");
    QTest::newRow("not a window") << "stale"
                                  << "CSubclass.ssc_Subclass: Invalid window handle";
    QTest::newRow("twice") << "twice"
                           << "CSubclass.ssc_Subclass: Window handle is already subclassed";
    QTest::newRow("no such callback") << "ordinal"
                                      << "CSubclass.ssc_Subclass: Callback method not found";
}

void CSubclassTest::subclassRefusals()
{
    QFETCH(QString, attempt);
    QFETCH(QString, report);
    ReportLog log;
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    Owner owner(hook);
    QVERIFY(hook.ssc_Subclass(hWnd));
    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);

    bool result = true;
    if (attempt == "stale") {
        QWidget *gone = new QWidget;
        const HWND stale = HandleOf(gone);
        delete gone;
        result = hook.ssc_Subclass(stale);
    } else if (attempt == "twice") {
        result = hook.ssc_Subclass(hWnd);
    } else {
        QWidget other;
        result = hook.ssc_Subclass(HandleOf(&other), 0, 2);
    }
    QVERIFY(!result);
    QCOMPARE(log.lines, QStringList{report});
    // The first hook keeps working.
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(owner.delivered(true), QList<UINT>{UserMessage});
}

void CSubclassTest::tableOverflowAndSlotReuse()
{
    ReportLog log;
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    for (UINT i = 0; i < 32; ++i) {
        hook.ssc_AddMsg(hWnd, qint32(UserMessage + i), CSubclass::MSG_BEFORE);
    }
    QVERIFY(log.lines.isEmpty());
    hook.ssc_AddMsg(hWnd, qint32(UserMessage + 32), CSubclass::MSG_BEFORE);
    QCOMPARE(log.lines,
             QStringList{"CSubclass.zAddMsg: Message table overflow. Either increase the value of "
                         "Const MSG_ENTRIES or use ALL_MESSAGES instead of specific message "
                         "values"});
    SendMessage(hWnd, UserMessage + 32, 0, 0);
    QVERIFY(owner.deliveries.isEmpty());

    hook.ssc_DelMsg(hWnd, CSubclass::MSG_BEFORE, {int(UserMessage + 5)});
    hook.ssc_AddMsg(hWnd, qint32(UserMessage + 32), CSubclass::MSG_BEFORE);
    QCOMPARE(log.lines.size(), 1);
    SendMessage(hWnd, UserMessage + 32, 0, 0);
    SendMessage(hWnd, UserMessage + 5, 0, 0);
    QCOMPARE(owner.delivered(true), QList<UINT>{UserMessage + 32});
}

void CSubclassTest::allMessagesNarrowedByASingleMessage()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    hook.ssc_AddMsg(hWnd, CSubclass::ALL_MESSAGES, CSubclass::MSG_BEFORE);
    SendMessage(hWnd, UserMessage, 0, 0);
    SendMessage(hWnd, UserMessage + 1, 0, 0);
    QCOMPARE(owner.delivered(true), (QList<UINT>{UserMessage, UserMessage + 1}));
    QVERIFY(owner.delivered(false).isEmpty());

    hook.ssc_AddMsg(hWnd, qint32(UserMessage + 1), CSubclass::MSG_BEFORE);
    owner.deliveries.clear();
    SendMessage(hWnd, UserMessage, 0, 0);
    SendMessage(hWnd, UserMessage + 1, 0, 0);
    QCOMPARE(owner.delivered(true), QList<UINT>{UserMessage + 1});
}

void CSubclassTest::handledBeforeSkipsPreviousAndAfter()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    MessageRecorder below(hWnd, 7);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE_AND_AFTER);
    owner.handleBefore.insert(UserMessage, 42);

    QCOMPARE(SendMessage(hWnd, UserMessage, 0, 0), LRESULT(42));
    QVERIFY(below.messages().isEmpty());
    QVERIFY(owner.delivered(false).isEmpty());
}

void CSubclassTest::afterDeliverySeesPreviousResult()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    MessageRecorder below(hWnd, 7);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_AFTER);
    owner.replaceAfter = 9;

    QCOMPARE(SendMessage(hWnd, UserMessage, 0, 0), LRESULT(9));
    QCOMPARE(owner.returnSeenAfter, LRESULT(7));
    QCOMPARE(below.messages(), QList<UINT>{UserMessage});
    QCOMPARE(hook.ssc_CallOrigWndProc(hWnd, UserMessage, 0, 0), LRESULT(7));
}

void CSubclassTest::unsubclassStopsEventsAndRestoresAtNextMessage()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    const WNDPROC original = GetWindowProc(hWnd);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    hook.ssc_AddMsg(hWnd, CSubclass::ALL_MESSAGES, CSubclass::MSG_BEFORE_AND_AFTER);

    hook.ssc_UnSubclass(hWnd);
    QVERIFY(GetWindowProc(hWnd) != original); // still passing through
    SendMessage(hWnd, UserMessage, 0, 0);
    QVERIFY(owner.deliveries.isEmpty());
    QCOMPARE(GetWindowProc(hWnd), original);
    QVERIFY(!hook.IsHooked(hWnd));
}

void CSubclassTest::unhookOutOfOrderKeepsLaterHook()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    const WNDPROC original = GetWindowProc(hWnd);
    CSubclass first;
    CSubclass second;
    Owner firstOwner(first);
    Owner secondOwner(second);
    first.ssc_Subclass(hWnd);
    first.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);
    second.ssc_Subclass(hWnd);
    second.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);

    first.ssc_UnSubclass(hWnd);
    SendMessage(hWnd, UserMessage, 0, 0);
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(secondOwner.delivered(true), (QList<UINT>{UserMessage, UserMessage}));
    QVERIFY(firstOwner.deliveries.isEmpty());

    second.ssc_UnSubclass(hWnd);
    for (int i = 0; i < 3 && GetWindowProc(hWnd) != original; ++i) {
        SendMessage(hWnd, UserMessage, 0, 0);
    }
    QCOMPARE(GetWindowProc(hWnd), original);
    QCOMPARE(secondOwner.deliveries.size(), 2);
}

void CSubclassTest::destroyedWindowRestoresAndLaterCallsDoNothing()
{
    ReportLog log;
    auto *window = new QWidget;
    const HWND hWnd = HandleOf(window);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd, 5);
    hook.ssc_AddMsg(hWnd, platform::wm::NcDestroy, CSubclass::MSG_BEFORE);
    delete window;
    QCOMPARE(owner.delivered(true), QList<UINT>{platform::wm::NcDestroy});

    QTest::qWait(150);
    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);
    QCOMPARE(hook.zGet_lParamUser(hWnd), LPARAM(0));
    QCOMPARE(hook.ssc_CallOrigWndProc(hWnd, UserMessage, 0, 0), LRESULT(0));
    QVERIFY(log.lines.isEmpty());
    hook.ssc_UnSubclass(hWnd);
}

void CSubclassTest::delMsgSkipsArgumentsThatAreNotSmallIntegers()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    for (UINT m : {UserMessage, UserMessage + 1, UserMessage + 2, UserMessage + 3}) {
        hook.ssc_AddMsg(hWnd, qint32(m), CSubclass::MSG_BEFORE);
    }
    hook.ssc_DelMsg(hWnd, CSubclass::MSG_BEFORE,
                    {QString("1024"), short(UserMessage + 1), qint64(UserMessage + 2),
                     double(UserMessage + 3), uint(UserMessage + 3)});
    for (UINT m : {UserMessage, UserMessage + 1, UserMessage + 2, UserMessage + 3}) {
        SendMessage(hWnd, m, 0, 0);
    }
    QCOMPARE(owner.delivered(true), (QList<UINT>{UserMessage, UserMessage + 2}));
}

void CSubclassTest::userValueRoundTrip()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd, 11);
    QCOMPARE(hook.zGet_lParamUser(hWnd), LPARAM(11));
    hook.zSet_lParamUser(hWnd, 12);
    QCOMPARE(hook.zGet_lParamUser(hWnd), LPARAM(12));

    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);
    owner.newUserValue = 13;
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(hook.zGet_lParamUser(hWnd), LPARAM(13));
}

void CSubclassTest::ownerDestroyedInsideHandler()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    MessageRecorder below(hWnd, 3);
    const WNDPROC belowHook = GetWindowProc(hWnd);
    auto *hook = new CSubclass;
    Owner owner(*hook);
    hook->ssc_Subclass(hWnd);
    hook->ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE_AND_AFTER);
    owner.onDelivery = [&hook] {
        delete hook;
        hook = nullptr;
    };

    QCOMPARE(SendMessage(hWnd, UserMessage, 0, 0), LRESULT(3));
    QCOMPARE(owner.deliveries.size(), 1);
    QCOMPARE(below.messages().size(), 1);
    SendMessage(hWnd, UserMessage, 0, 0);
    QCOMPARE(owner.deliveries.size(), 1);
    QCOMPARE(GetWindowProc(hWnd), belowHook);
}

void CSubclassTest::mouseLeaveAfterTracking()
{
    QWidget window;
    window.setGeometry(100, 100, 200, 100);
    QWidget elsewhere;
    elsewhere.setGeometry(400, 100, 200, 100);
    window.show();
    elsewhere.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QTest::qWaitForWindowExposed(&elsewhere));
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    Owner owner(hook);
    hook.ssc_Subclass(hWnd);
    hook.ssc_AddMsg(hWnd, platform::wm::MouseLeave, CSubclass::MSG_BEFORE);

    QTest::mouseMove(&window, QPoint(20, 20));
    QTRY_VERIFY(window.underMouse());
    hook.TrackMouseTracking(hWnd);
    QVERIFY(owner.deliveries.isEmpty());
    QTest::mouseMove(&elsewhere, QPoint(20, 20));
    QTRY_COMPARE(owner.delivered(true), QList<UINT>{platform::wm::MouseLeave});
}

void CSubclassTest::reportsForUnknownWindows()
{
    ReportLog log;
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    CSubclass hook;
    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);
    QWidget other;
    hook.ssc_Subclass(HandleOf(&other));
    hook.ssc_AddMsg(hWnd, UserMessage, CSubclass::MSG_BEFORE);
    QCOMPARE(log.lines, (QStringList{"CSubclass.zMap_VFunction: Thunk hasn't been initialized",
                                     "CSubclass.zMap_VFunction: Thunk type for  does not exist"}));
    QCOMPARE(hook.zGet_lParamUser(hWnd), LPARAM(0));
}

QTEST_MAIN(CSubclassTest)
#include "tst_csubclass.moc"
