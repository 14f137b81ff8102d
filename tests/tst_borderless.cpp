#include "mainwnd/cSetStyle.h"
#include "platform/winsys/WindowProc.h"

#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace platform;
using SizingBand::HitCode;

namespace {

const QRect Start(200, 150, 900, 700);

// Real pointer input through the X server, as a player's hand gives it.
void pointer(const QStringList &actions)
{
    QProcess::execute("xdotool", actions);
}

QStringList at(QPoint p)
{
    return {"mousemove", QString::number(p.x()), QString::number(p.y())};
}

// A point of the window's own surface, `inset` pixels in from the edges that the code names.
QPoint inBand(const QRect &w, int code, int inset = 2)
{
    const int left = w.x() + inset, right = w.x() + w.width() - inset;
    const int top = w.y() + inset, bottom = w.y() + w.height() - inset;
    const int midX = w.center().x(), midY = w.center().y();
    const QPoint points[] = {{midX, top},    {right, top},   {right, midY}, {right, bottom},
                             {midX, bottom}, {left, bottom}, {left, midY},  {left, top}};
    return code < 0 ? w.center() : points[code];
}

class Borderless : public QWidget {
public:
    Borderless()
    {
        child = new QWidget(this);
        child->setGeometry(100, 100, 200, 100);
        setGeometry(Start);
        style.SetobjForm(this);
        style.SetWindowStyle(HandleOf(this));
        show();
    }
    QWidget *child;
    cSetStyle style;
};

} // namespace

class BorderlessTest : public QObject {
    Q_OBJECT

private slots:
    void bandIsFivePixelsEachSide_data();
    void bandIsFivePixelsEachSide();
    void bandShowsItsZone_data();
    void bandShowsItsZone();
    void dragMovesTheWindowOnceAtTheRelease_data();
    void dragMovesTheWindowOnceAtTheRelease();
    void lostReleaseEndsTheDragInPlace_data();
    void lostReleaseEndsTheDragInPlace();
    void maximiseAndRestoreTwice();
    void workAreaChangeRefitsTheMaximisedWindow();
};

void BorderlessTest::bandIsFivePixelsEachSide_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<int>("code");
    const QRect w(100, 100, 1000, 700); // edges 100, 100, 1100 and 800
    QTest::newRow("left, 5 in") << w << QPoint(105, 450) << 6;
    QTest::newRow("left, 6 in") << w << QPoint(106, 450) << -1;
    QTest::newRow("left, 5 out") << w << QPoint(95, 450) << 6;
    QTest::newRow("left, 6 out") << w << QPoint(94, 450) << -1;
    QTest::newRow("right, 5 in") << w << QPoint(1095, 450) << 2;
    QTest::newRow("right, 6 in") << w << QPoint(1094, 450) << -1;
    QTest::newRow("right, 5 out") << w << QPoint(1105, 450) << 2;
    QTest::newRow("top, 5 in") << w << QPoint(600, 105) << 0;
    QTest::newRow("top, 6 in") << w << QPoint(600, 106) << -1;
    QTest::newRow("bottom, 5 in") << w << QPoint(600, 795) << 4;
    QTest::newRow("bottom, 6 in") << w << QPoint(600, 794) << -1;
    QTest::newRow("bottom, 5 out") << w << QPoint(600, 805) << 4;
    QTest::newRow("bottom, 6 out") << w << QPoint(600, 806) << -1;
    QTest::newRow("corner's last pixel") << w << QPoint(105, 795) << 5;
    QTest::newRow("next to the corner, below") << w << QPoint(106, 795) << 4;
    QTest::newRow("next to the corner, left") << w << QPoint(105, 794) << 6;
    // Windows narrower than two bands: the corners come first.
    QTest::newRow("tiny, middle") << QRect(0, 0, 8, 8) << QPoint(4, 4) << 5;
    QTest::newRow("tiny, top right") << QRect(0, 0, 8, 8) << QPoint(8, 0) << 1;
    QTest::newRow("12 wide, top middle") << QRect(0, 0, 12, 40) << QPoint(6, 0) << 0;
    QTest::newRow("11 wide, top middle") << QRect(0, 0, 11, 40) << QPoint(6, 0) << 1;
}

void BorderlessTest::bandIsFivePixelsEachSide()
{
    QFETCH(QRect, window);
    QFETCH(QPoint, pointer);
    QFETCH(int, code);
    QCOMPARE(int(SizingBand::HitTest(SizingBand::Edges::FromRect(window), pointer)), code);
}

void BorderlessTest::bandShowsItsZone_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shape");
    const int shapes[] = {Qt::SizeVerCursor,   Qt::SizeBDiagCursor, Qt::SizeHorCursor,
                          Qt::SizeFDiagCursor, Qt::SizeVerCursor,   Qt::SizeBDiagCursor,
                          Qt::SizeHorCursor,   Qt::SizeFDiagCursor};
    for (int code = 0; code < 8; ++code) {
        QTest::addRow("zone %d", code) << code << shapes[code];
    }
    QTest::newRow("inside") << -1 << int(Qt::ArrowCursor);
}

void BorderlessTest::bandShowsItsZone()
{
    QFETCH(int, code);
    QFETCH(int, shape);
    Borderless form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy zones(&form.style, &cSetStyle::MouseSize);
    pointer(at(inBand(form.geometry(), code) + QPoint(0, code < 0 ? 40 : 0)));
    QTRY_VERIFY(!zones.isEmpty());
    QCOMPARE(zones.last().first().toInt(), code);
    QCOMPARE(int(form.cursor().shape()), shape);
    // Children keep their own arrow whatever the band shows.
    QCOMPARE(form.child->cursor().shape(), Qt::ArrowCursor);
}

void BorderlessTest::dragMovesTheWindowOnceAtTheRelease_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QPoint>("moveBy");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("top") << 0 << QPoint(0, -50) << QRect(200, 100, 900, 750);
    QTest::newRow("top right") << 1 << QPoint(20, -20) << QRect(200, 130, 920, 720);
    QTest::newRow("right") << 2 << QPoint(50, 0) << QRect(200, 150, 950, 700);
    QTest::newRow("bottom right") << 3 << QPoint(20, 20) << QRect(200, 150, 920, 720);
    QTest::newRow("bottom") << 4 << QPoint(0, 30) << QRect(200, 150, 900, 730);
    QTest::newRow("bottom left") << 5 << QPoint(-20, 20) << QRect(180, 150, 920, 720);
    QTest::newRow("left") << 6 << QPoint(-50, 0) << QRect(150, 150, 950, 700);
    QTest::newRow("top left") << 7 << QPoint(-20, -20) << QRect(180, 130, 920, 720);
    // Every edge and corner stops at 801 x 601, however far the pointer goes.
    QTest::newRow("top, past the minimum") << 0 << QPoint(0, 300) << QRect(200, 249, 900, 601);
    QTest::newRow("top right, past") << 1 << QPoint(-300, 300) << QRect(200, 249, 801, 601);
    QTest::newRow("right, past") << 2 << QPoint(-300, 0) << QRect(200, 150, 801, 700);
    QTest::newRow("bottom right, past") << 3 << QPoint(-300, -300) << QRect(200, 150, 801, 601);
    QTest::newRow("bottom, past") << 4 << QPoint(0, -300) << QRect(200, 150, 900, 601);
    QTest::newRow("bottom left, past") << 5 << QPoint(300, -300) << QRect(299, 150, 801, 601);
    QTest::newRow("left, past") << 6 << QPoint(300, 0) << QRect(299, 150, 801, 700);
    QTest::newRow("top left, past") << 7 << QPoint(300, 300) << QRect(299, 249, 801, 601);
    QTest::newRow("press and release in place") << 3 << QPoint(0, 0) << Start;
}

void BorderlessTest::dragMovesTheWindowOnceAtTheRelease()
{
    QFETCH(int, code);
    QFETCH(QPoint, moveBy);
    QFETCH(QRect, expected);
    Borderless form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint press = inBand(form.geometry(), code);
    pointer(at(press) << "mousedown"
                      << "1");
    QTRY_VERIFY(form.style.IsDragging());
    pointer(at(press + moveBy / 2) + at(press + moveBy));
    QTRY_COMPARE(form.style.DragFrame().Rect(), expected);
    QCOMPARE(form.geometry(), Start);

    pointer({"mouseup", "1"});
    QTRY_VERIFY(!form.style.IsDragging());
    QTRY_COMPARE(form.geometry(), expected);
    QVERIFY(!form.style.DragFrame().IsShown());
}

void BorderlessTest::lostReleaseEndsTheDragInPlace_data()
{
    QTest::addColumn<UINT>("message");
    QTest::addColumn<WPARAM>("wParam");
    QTest::newRow("a move without the button") << wm::MouseMove << WPARAM(0);
    QTest::newRow("the capture went elsewhere") << wm::CaptureChanged << WPARAM(0);
    QTest::newRow("another window took the focus") << wm::Activate << WA_INACTIVE;
}

void BorderlessTest::lostReleaseEndsTheDragInPlace()
{
    QFETCH(UINT, message);
    QFETCH(WPARAM, wParam);
    Borderless form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint press = inBand(form.geometry(), SizingBand::HitRight);
    pointer(at(press) << "mousedown"
                      << "1");
    QTRY_VERIFY(form.style.IsDragging());
    pointer(at(press + QPoint(60, 0)));
    QTRY_COMPARE(form.style.DragFrame().Rect().width(), 960);

    SendMessage(HandleOf(&form), message, wParam, 0);
    QVERIFY(!form.style.IsDragging());
    QVERIFY(!form.style.DragFrame().IsShown());
    pointer({"mouseup", "1"});
    QTest::qWait(100);
    QCOMPARE(form.geometry(), Start);
}

void BorderlessTest::maximiseAndRestoreTwice()
{
    Borderless form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect free = form.screen()->availableGeometry();
    for (int round = 0; round < 2; ++round) {
        QVERIFY(form.style.CallWindowStateChange());
        QTRY_COMPARE(form.geometry(), free);
        // While maximised the band is not there: no zone, no shape, no drag.
        QSignalSpy zones(&form.style, &cSetStyle::MouseSize);
        pointer(at(inBand(free, SizingBand::HitBottomRight)) << "mousedown"
                                                             << "1");
        QTest::qWait(100);
        pointer({"mouseup", "1"});
        QVERIFY(zones.isEmpty());
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!form.style.IsDragging());
        QVERIFY(!form.style.CallWindowStateChange());
        QTRY_COMPARE(form.geometry(), Start);
    }
}

// A panel docked at the top takes its strip of the screen; the maximised window makes room.
void BorderlessTest::workAreaChangeRefitsTheMaximisedWindow()
{
    Borderless form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.style.CallWindowStateChange());
    QTRY_COMPARE(form.geometry(), form.screen()->geometry());
    QProcess panel;
    panel.start("trayer", {"--edge", "top", "--height", "30", "--SetDockType", "true",
                           "--SetPartialStrut", "true", "--expand", "false"});
    QVERIFY(panel.waitForStarted());
    QTRY_COMPARE(form.screen()->availableGeometry().top(), 30);
    QTRY_COMPARE(form.geometry(), form.screen()->availableGeometry());
    panel.kill();
    panel.waitForFinished();
}

QTEST_MAIN(BorderlessTest)
#include "tst_borderless.moc"
