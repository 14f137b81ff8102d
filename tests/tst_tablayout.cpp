#include "tabstrip/TabLayout.h"

#include <QTest>

using namespace TabLayout;

namespace {

QList<TabBox> tabsWith(int count, QList<int> locked = {}, QList<int> hidden = {})
{
    QList<TabBox> tabs(count);
    for (int i : locked) {
        tabs[i].LockSize = true;
    }
    for (int i : hidden) {
        tabs[i].HideButton = true;
    }
    return tabs;
}

} // namespace

class TabLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void tabWidth_data();
    void tabWidth();
    void positions_data();
    void positions();
    void hitTest_data();
    void hitTest();
    void selectionAfter_data();
    void selectionAfter();
};

void TabLayoutTest::tabWidth_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("leftSize");
    QTest::addColumn<int>("rightSize");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("locked");
    QTest::addColumn<int>("expected");

    // (800 - 40 - 14) / 1 is far above the standard width.
    QTest::newRow("style 0, one tab") << 0 << 800 << 40 << 0 << 1 << QList<int>{} << 108;
    QTest::newRow("style 0, 8 tabs: 93.25") << 0 << 800 << 40 << 0 << 8 << QList<int>{} << 93;
    QTest::newRow("style 1, 4 tabs: 162.75") << 1 << 681 << 10 << 0 << 4 << QList<int>{} << 163;
    QTest::newRow("style 1, 3 tabs: 218.67 capped")
        << 1 << 681 << 10 << 0 << 3 << QList<int>{} << 200;
    // 1059 - 40 - 14 = 1005 over 10 is 100.5: the half goes to the even neighbour.
    QTest::newRow("half to even, down") << 0 << 1059 << 40 << 0 << 10 << QList<int>{} << 100;
    // 602 - 40 - 14 = 548 over 8 is 68.5.
    QTest::newRow("half to even, down again") << 0 << 602 << 40 << 0 << 8 << QList<int>{} << 68;
    // 1069 - 40 - 14 = 1015 over 10 is 101.5.
    QTest::newRow("half to even, up") << 0 << 1069 << 40 << 0 << 10 << QList<int>{} << 102;
    QTest::newRow("right margin counts") << 0 << 800 << 40 << 100 << 8 << QList<int>{} << 81;
    // Locked tabs take 108 each out of the band first.
    QTest::newRow("style 0, locked tab") << 0 << 800 << 40 << 0 << 8 << QList<int>{1} << 91;
    // Style 1 counts the 5-pixel gap of every tab, locked ones included.
    QTest::newRow("style 1, locked tab") << 1 << 600 << 10 << 0 << 3 << QList<int>{0} << 188;
    QTest::newRow("all locked: standard") << 1 << 300 << 10 << 0 << 2 << QList<int>{0, 1} << 200;
    QTest::newRow("no tabs: standard") << 0 << 300 << 40 << 0 << 0 << QList<int>{} << 108;
    // Many tabs: no lower bound.
    QTest::newRow("style 0, 40 tabs on 300") << 0 << 300 << 40 << 0 << 40 << QList<int>{} << 6;
    QTest::newRow("style 0, band too narrow") << 0 << 50 << 40 << 0 << 3 << QList<int>{} << -1;
    QTest::newRow("style 1, 30 tabs on 150: zero") << 1 << 150 << 0 << 0 << 30 << QList<int>{} << 0;
    QTest::newRow("style 1, 30 tabs on 100: negative")
        << 1 << 100 << 0 << 0 << 30 << QList<int>{} << -2;
    QTest::newRow("style 7 is style 1") << 7 << 681 << 10 << 0 << 4 << QList<int>{} << 163;
}

void TabLayoutTest::tabWidth()
{
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(int, leftSize);
    QFETCH(int, rightSize);
    QFETCH(int, count);
    QFETCH(QList<int>, locked);
    QFETCH(int, expected);
    QCOMPARE(CalcTabWidth({style, width, leftSize, rightSize}, tabsWith(count, locked)), expected);
}

void TabLayoutTest::positions_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<QList<int>>("locked");
    QTest::addColumn<QList<int>>("lefts");
    QTest::addColumn<QList<int>>("widths");

    QTest::newRow("style 0 abuts from 14")
        << 0 << 93 << QList<int>{} << QList<int>{14, 107, 200} << QList<int>{93, 93, 93};
    QTest::newRow("style 1 gaps of 5 from 0")
        << 1 << 163 << QList<int>{} << QList<int>{0, 168, 336} << QList<int>{163, 163, 163};
    QTest::newRow("style 0 locked keeps 108")
        << 0 << 50 << QList<int>{1} << QList<int>{14, 64, 172} << QList<int>{50, 108, 50};
    QTest::newRow("style 1 locked keeps 200")
        << 1 << 50 << QList<int>{0} << QList<int>{0, 205, 260} << QList<int>{200, 50, 50};
    QTest::newRow("negative widths walk back")
        << 0 << -3 << QList<int>{} << QList<int>{14, 11, 8} << QList<int>{-3, -3, -3};
    QTest::newRow("style 1 negative widths")
        << 1 << -2 << QList<int>{} << QList<int>{0, 3, 6} << QList<int>{-2, -2, -2};
}

void TabLayoutTest::positions()
{
    QFETCH(int, style);
    QFETCH(int, tabWidth);
    QFETCH(QList<int>, locked);
    QFETCH(QList<int>, lefts);
    QFETCH(QList<int>, widths);
    QList<TabBox> tabs = tabsWith(int(lefts.size()), locked);
    LayoutTabs(style, tabWidth, tabs);
    for (int i = 0; i < tabs.size(); ++i) {
        QCOMPARE(tabs[i].Left, lefts[i]);
        QCOMPARE(tabs[i].Width, widths[i]);
    }
}

void TabLayoutTest::hitTest_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("tabCount");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("onClose");

    // Style 0, strip 800 wide, margins 40 and 60: 3 tabs of 108 at band 14, 122, 230, so tab i
    // covers strip x 54 + 108 i .. 162 + 108 i; its close zone is x 138..150 (+108 i), y 6..18.
    const int s0 = 0;
    QTest::newRow("0: left of the strip") << s0 << 3 << QList<int>{} << -1 << 10 << -3 << false;
    QTest::newRow("0: right of the strip") << s0 << 3 << QList<int>{} << 801 << 10 << -3 << false;
    QTest::newRow("0: above") << s0 << 3 << QList<int>{} << 100 << -1 << -3 << false;
    QTest::newRow("0: below row 25") << s0 << 3 << QList<int>{} << 100 << 26 << -3 << false;
    QTest::newRow("0: row 25 is in") << s0 << 3 << QList<int>{} << 100 << 25 << 0 << false;
    QTest::newRow("0: strip edge is in") << s0 << 3 << QList<int>{} << 800 << 5 << -2 << false;
    QTest::newRow("0: left margin") << s0 << 3 << QList<int>{} << 39 << 5 << -2 << false;
    QTest::newRow("0: right margin") << s0 << 3 << QList<int>{} << 741 << 5 << -2 << false;
    QTest::newRow("0: band start") << s0 << 3 << QList<int>{} << 40 << 5 << 0 << false;
    QTest::newRow("0: no tabs") << s0 << 0 << QList<int>{} << 100 << 5 << -1 << false;
    QTest::newRow("0: first 14 of the band") << s0 << 3 << QList<int>{} << 54 << 5 << 0 << false;
    QTest::newRow("0: shared edge, lower wins")
        << s0 << 3 << QList<int>{} << 162 << 5 << 0 << false;
    QTest::newRow("0: past the last tab") << s0 << 3 << QList<int>{} << 700 << 5 << -1 << false;
    QTest::newRow("0: close zone left") << s0 << 3 << QList<int>{} << 138 << 6 << 0 << true;
    QTest::newRow("0: close zone right") << s0 << 3 << QList<int>{} << 150 << 18 << 0 << true;
    QTest::newRow("0: left of close zone") << s0 << 3 << QList<int>{} << 137 << 10 << 0 << false;
    QTest::newRow("0: right of close zone") << s0 << 3 << QList<int>{} << 151 << 10 << 0 << false;
    QTest::newRow("0: above close zone") << s0 << 3 << QList<int>{} << 144 << 5 << 0 << false;
    QTest::newRow("0: below close zone") << s0 << 3 << QList<int>{} << 144 << 19 << 0 << false;
    QTest::newRow("0: close of tab 2") << s0 << 3 << QList<int>{} << 360 << 12 << 2 << true;
    QTest::newRow("0: hidden button") << s0 << 3 << QList<int>{2} << 360 << 12 << 2 << false;

    // Style 1, strip 681 wide, margins 10 and 0: 3 tabs of 200 at band 0, 205, 410, so tab i
    // covers strip x 10 + 205 i .. 210 + 205 i; close zone x 190..202 (+205 i), y 7..19.
    const int s1 = 1;
    QTest::newRow("1: below row 25") << s1 << 3 << QList<int>{} << 100 << 26 << -3 << false;
    QTest::newRow("1: left margin") << s1 << 3 << QList<int>{} << 9 << 5 << -2 << false;
    QTest::newRow("1: gap between tabs") << s1 << 3 << QList<int>{} << 213 << 5 << -1 << false;
    QTest::newRow("1: close zone corner") << s1 << 3 << QList<int>{} << 190 << 7 << 0 << true;
    QTest::newRow("1: close zone far corner") << s1 << 3 << QList<int>{} << 202 << 19 << 0 << true;
    QTest::newRow("1: beside close zone") << s1 << 3 << QList<int>{} << 203 << 10 << 0 << false;
    QTest::newRow("1: under close zone") << s1 << 3 << QList<int>{} << 195 << 20 << 0 << false;
    QTest::newRow("1: after the last tab") << s1 << 3 << QList<int>{} << 640 << 10 << -1 << false;
}

void TabLayoutTest::hitTest()
{
    QFETCH(int, style);
    QFETCH(int, tabCount);
    QFETCH(QList<int>, hidden);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, index);
    QFETCH(bool, onClose);
    const StripGeometry strip =
        style == 0 ? StripGeometry{0, 800, 40, 60} : StripGeometry{1, 681, 10, 0};
    QList<TabBox> tabs = tabsWith(tabCount, {}, hidden);
    LayoutTabs(style, CalcTabWidth(strip, tabs), tabs);
    PlaceTabs(style, tabs);
    const Hit hit = HitTest(strip, tabs, x, y);
    QCOMPARE(hit.Index, index);
    QCOMPARE(hit.bOnClose, onClose);
}

void TabLayoutTest::selectionAfter_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("count"); // after the change
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected");

    QTest::newRow("first add selects 0") << int(TabAdded) << 1 << -1 << 0 << 0;
    QTest::newRow("add keeps the index") << int(TabAdded) << 4 << 2 << 0 << 2;
    QTest::newRow("add repairs a stale one") << int(TabAdded) << 2 << 3 << 1 << 0;
    QTest::newRow("removing the selected tab selects 0") << int(TabRemoved) << 3 << 2 << 2 << 0;
    QTest::newRow("removing before it follows the tab") << int(TabRemoved) << 3 << 2 << 0 << 1;
    QTest::newRow("removing after it keeps it") << int(TabRemoved) << 3 << 2 << 3 << 2;
    QTest::newRow("removing the last tab selects 0") << int(TabRemoved) << 0 << 0 << 0 << 0;
    QTest::newRow("removing with none selected") << int(TabRemoved) << 2 << -1 << 0 << -1;
    QTest::newRow("clearing selects 0") << int(TabsCleared) << 0 << 2 << -1 << 0;
}

void TabLayoutTest::selectionAfter()
{
    QFETCH(int, change);
    QFETCH(int, count);
    QFETCH(int, selected);
    QFETCH(int, index);
    QFETCH(int, expected);
    QCOMPARE(SelectionAfter(TabChange(change), count, selected, index), expected);
}

QTEST_APPLESS_MAIN(TabLayoutTest)
#include "tst_tablayout.moc"
