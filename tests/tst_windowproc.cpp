#include "platform/winsys/WindowProc.h"
#include "tests/support/MessageRecorder.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <functional>

using namespace platform;

namespace {

class CountingWidget : public QWidget {
public:
    int presses = 0;
    int releases = 0;
    int closes = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void mouseReleaseEvent(QMouseEvent *) override { ++releases; }
    void closeEvent(QCloseEvent *) override { ++closes; }
};

std::unique_ptr<CountingWidget> shownWidget(QPoint at = {100, 100})
{
    auto widget = std::make_unique<CountingWidget>();
    widget->setGeometry(QRect(at, QSize(200, 120)));
    widget->show();
    if (!QTest::qWaitForWindowExposed(widget.get())) {
        qWarning("window not exposed");
    }
    return widget;
}

} // namespace

class WindowProcTest : public QObject {
    Q_OBJECT

private slots:
    void eventsBecomeMessages_data();
    void eventsBecomeMessages();
    void chainRunsNewestFirstAndRestores();
    void procedureThatDoesNotCallOnHidesTheEvent();
    void sentCloseCommandClosesTheWindow();
    void sentCaptionPressDragsTheWindow();
    void postedMessageArrivesLaterAndNotAfterDestruction();
    void destructionSendsNcDestroyThroughTheChain();
    void trackedLeaveArrivesOnce();
    void workAreaChangeReachesHookedTopLevels();
};

void WindowProcTest::eventsBecomeMessages_data()
{
    QTest::addColumn<std::function<void(QWidget *)>>("action");
    QTest::addColumn<Seen>("expected");

    QTest::newRow("left press") << std::function<void(QWidget *)>([](QWidget *w) {
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(10, 20));
    }) << Seen{wm::LButtonDown, MK_LBUTTON, 0x0014000A};
    QTest::newRow("left release") << std::function<void(QWidget *)>([](QWidget *w) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(30, 40));
    }) << Seen{wm::LButtonUp, 0, MakeLParam(30, 40)};
    QTest::newRow("right press with shift") << std::function<void(QWidget *)>([](QWidget *w) {
        QTest::mousePress(w, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 6));
    }) << Seen{wm::RButtonDown, MK_RBUTTON | MK_SHIFT, MakeLParam(5, 6)};
    QTest::newRow("left double click") << std::function<void(QWidget *)>([](QWidget *w) {
        QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(7, 8));
    }) << Seen{wm::LButtonDblClk, MK_LBUTTON, MakeLParam(7, 8)};
    QTest::newRow("F10 down") << std::function<void(QWidget *)>([](QWidget *w) {
        QTest::keyPress(w, Qt::Key_F10);
    }) << Seen{wm::KeyDown, 0x79, 1};
    QTest::newRow("A up") << std::function<void(QWidget *)>([](QWidget *w) {
        QTest::keyClick(w, Qt::Key_A);
    }) << Seen{wm::KeyUp, 0x41, LPARAM(0xC0000001u)};
    QTest::newRow("resize") << std::function<void(QWidget *)>([](QWidget *w) {
        w->resize(321, 123);
    }) << Seen{wm::Size, SIZE_RESTORED, MakeLParam(321, 123)};
}

void WindowProcTest::eventsBecomeMessages()
{
    QFETCH(std::function<void(QWidget *)>, action);
    QFETCH(Seen, expected);

    const auto widget = shownWidget();
    widget->setFocus();
    MessageRecorder recorder(HandleOf(widget.get()));
    action(widget.get());
    QTRY_VERIFY2(recorder.seen().contains(expected),
                 qPrintable(QString("message 0x%1 not seen").arg(expected.uMsg, 0, 16)));
}

void WindowProcTest::chainRunsNewestFirstAndRestores()
{
    const auto widget = shownWidget();
    const HWND hWnd = HandleOf(widget.get());
    QVERIFY(HasOriginalWindowProc(hWnd));
    const auto order = std::make_shared<QStringList>();
    const WNDPROC original = GetWindowProc(hWnd);
    MessageRecorder first(hWnd, {}, order, "first");
    MessageRecorder second(hWnd, {}, order, "second");
    QCOMPARE(first.previous(), original);

    SendMessage(hWnd, 0x0400, 1, 2);
    QCOMPARE(*order, (QStringList{"second", "first"}));

    SetWindowProc(hWnd, second.previous());
    SetWindowProc(hWnd, first.previous());
    QVERIFY(HasOriginalWindowProc(hWnd));
    QTest::mouseClick(widget.get(), Qt::LeftButton);
    QCOMPARE(widget->presses, 1);
    QCOMPARE(order->size(), 2);
}

void WindowProcTest::procedureThatDoesNotCallOnHidesTheEvent()
{
    const auto widget = shownWidget();
    const HWND hWnd = HandleOf(widget.get());
    WNDPROC previous;
    previous =
        SetWindowProc(hWnd, MakeWindowProc([&previous](HWND h, UINT m, WPARAM w, LPARAM l) {
                          return m == wm::LButtonDown ? 0 : CallWindowProc(previous, h, m, w, l);
                      }));

    QTest::mouseClick(widget.get(), Qt::LeftButton);
    QCOMPARE(widget->presses, 0);
    QCOMPARE(widget->releases, 1);
}

void WindowProcTest::sentCloseCommandClosesTheWindow()
{
    const auto widget = shownWidget();
    MessageRecorder recorder(HandleOf(widget.get()));
    SendMessage(HandleOf(widget.get()), wm::SysCommand, SC_CLOSE, 0);
    QVERIFY(!widget->isVisible());
    QCOMPARE(widget->closes, 1);
    // The close request itself went down the chain too, where a procedure could have refused it.
    QVERIFY(recorder.saw(wm::Close));
}

void WindowProcTest::sentCaptionPressDragsTheWindow()
{
    const auto widget = shownWidget({200, 150});
    const QPoint start = widget->pos();
    QCursor::setPos(widget->mapToGlobal(QPoint(5, 5)));
    QTRY_COMPARE(QCursor::pos(), widget->mapToGlobal(QPoint(5, 5)));

    SendMessage(HandleOf(widget.get()), wm::NcLButtonDown, HTCAPTION, 0);
    QTest::mouseMove(widget.get(), QPoint(45, 25));
    QTRY_COMPARE(widget->pos(), start + QPoint(40, 20));
    QTest::mouseRelease(widget.get(), Qt::LeftButton, {}, widget->mapFromGlobal(QCursor::pos()));
    const QPoint released = widget->pos();
    QTest::mouseMove(widget.get(), QPoint(90, 90));
    QCOMPARE(widget->pos(), released);
}

void WindowProcTest::postedMessageArrivesLaterAndNotAfterDestruction()
{
    auto widget = shownWidget();
    const HWND hWnd = HandleOf(widget.get());
    MessageRecorder recorder(hWnd);
    QVERIFY(PostMessage(hWnd, 0x0401, 3, 4));
    QVERIFY(!recorder.saw(0x0401));
    QTRY_VERIFY(recorder.saw(0x0401));

    QVERIFY(PostMessage(hWnd, 0x0402, 0, 0));
    widget.reset();
    QTest::qWait(20);
    QVERIFY(!recorder.saw(0x0402));
    QVERIFY(!PostMessage(hWnd, 0x0403, 0, 0));
}

void WindowProcTest::destructionSendsNcDestroyThroughTheChain()
{
    auto widget = shownWidget();
    const HWND hWnd = HandleOf(widget.get());
    MessageRecorder recorder(hWnd);
    widget.reset();
    QVERIFY(recorder.saw(wm::NcDestroy));
    QVERIFY(!IsWindow(hWnd));
    QCOMPARE(SendMessage(hWnd, 0x0400, 0, 0), LRESULT(0));
    QCOMPARE(GetWindowProc(hWnd), WNDPROC());
}

void WindowProcTest::trackedLeaveArrivesOnce()
{
    const auto widget = shownWidget({100, 100});
    const auto other = shownWidget({400, 100});
    const HWND hWnd = HandleOf(widget.get());
    MessageRecorder recorder(hWnd);
    const auto leaves = [&recorder] {
        return std::count_if(recorder.seen().begin(), recorder.seen().end(),
                             [](const Seen &s) { return s.uMsg == wm::MouseLeave; });
    };

    QTest::mouseMove(widget.get(), QPoint(50, 50));
    QTRY_VERIFY(widget->underMouse());
    QTest::mouseMove(other.get(), QPoint(50, 50));
    QTRY_VERIFY(!widget->underMouse());
    QCOMPARE(leaves(), 0); // nobody asked

    QTest::mouseMove(widget.get(), QPoint(60, 60));
    QTRY_VERIFY(widget->underMouse());
    TrackMouseLeave(hWnd);
    QTest::mouseMove(other.get(), QPoint(60, 60));
    QTRY_COMPARE(leaves(), 1);

    QTest::mouseMove(widget.get(), QPoint(70, 70));
    QTRY_VERIFY(widget->underMouse());
    QTest::mouseMove(other.get(), QPoint(70, 70));
    QTRY_VERIFY(!widget->underMouse());
    QCOMPARE(leaves(), 1); // one request, one notification
}

void WindowProcTest::workAreaChangeReachesHookedTopLevels()
{
    const auto hooked = shownWidget();
    const auto plain = shownWidget({400, 100});
    QWidget *child = new QWidget(hooked.get());
    MessageRecorder topLevel(HandleOf(hooked.get()));
    MessageRecorder inner(HandleOf(child));

    BroadcastWorkAreaChange();
    QVERIFY(topLevel.seen().contains(Seen{wm::SettingChange, SPI_SETWORKAREA, 0}));
    QVERIFY(!inner.saw(wm::SettingChange));
    QVERIFY(HasOriginalWindowProc(HandleOf(plain.get())));
}

QTEST_MAIN(WindowProcTest)
#include "tst_windowproc.moc"
