// Mouse input goes through the window system's path, as a user's does: enter and leave,
// double clicks and moves without a button all happen as they would on screen.
#define QTEST_QPA_MOUSE_HANDLING

#include "controls/BForm.h"
#include "controls/iButton.h"
#include "platform/os/Resources.h"
#include "platform/winsys/MemDC.h"
#include "platform/winsys/PropertyBag.h"
#include "platform/winsys/WindowProc.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/ITabForm.h"
#include "tabstrip/uTab.h"
#include "tests/support/PageForm.h"

#include <QCursor>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace platform;

namespace {

// One event of the strip as a handler saw it.
struct Event {
    QString name;
    int index = 0;
    short button = 0;
    float x = 0;
    float y = 0;
};

// A form with a strip on it, drawing enabled, with tabs keyed by their captions.
class Host {
public:
    explicit Host(int style, int width = 800, int leftSize = 40, int rightSize = 0)
    {
        strip = new uTab(&window);
        PropertyBag bag;
        bag.WriteProperty("TABSTYLE", style);
        bag.WriteProperty("tableftsize", leftSize);
        bag.WriteProperty("TabRightSize", rightSize);
        strip->ReadProperties(bag);
        strip->setGeometry(0, 0, width, 25);
        container = new QWidget(&window);
        container->setGeometry(0, 40, width, 200);
        window.resize(width, 240);
        // The real pointer stays out of the way: were the window to open under it, the window
        // system would report it there, whatever the test's input says.
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The pointer starts off the strip: a move to where the pointer already is is dropped.
        QTest::mouseMove(&window, QPoint(3, 237));
        strip->SethContainerWnd(HandleOf(container));
        strip->LockReDraw(false);
        record();
    }

    PageForm *add(const QString &caption)
    {
        auto *form = new PageForm;
        strip->TabItems()->Add(caption, form, caption);
        forms << form;
        return form;
    }
    void addTabs(int count)
    {
        for (int i = 0; i < count; ++i) {
            add(QString("tab %1").arg(i));
        }
    }
    CTabItems &items() { return *strip->TabItems(); }
    std::shared_ptr<CTabItem> item(int i) { return items().Item(i); }

    // Points of the strip, from the layout the strip made.
    QPoint onTab(int i) const
    {
        const auto tab = strip->TabItems()->Item(i);
        return QPoint(strip->TabLeftSize() + tab->Left() + tab->Width() / 2 - 10, 12);
    }
    QPoint onClose(int i) const
    {
        return strip->PlacedTabs()[i].Close.topLeft() + QPoint(strip->TabLeftSize() + 6, 6);
    }

    QStringList names() const
    {
        QStringList list;
        for (const Event &event : events) {
            list << event.name;
        }
        return list;
    }
    QList<Event> named(const QString &name) const
    {
        QList<Event> list;
        for (const Event &event : events) {
            if (event.name == name) {
                list << event;
            }
        }
        return list;
    }

    QWidget window;
    uTab *strip;
    QWidget *container;
    QList<QPointer<PageForm>> forms;
    QList<Event> events;
    bool vetoClose = false;

private:
    void record()
    {
        const auto mouse = [this](const QString &name) {
            return [this, name](int index, short &button, short &, float &x, float &y) {
                events.append({name, index, button, x, y});
            };
        };
        QObject::connect(strip, &uTab::OnMouseDown, mouse("down"));
        QObject::connect(strip, &uTab::OnMouseUp, mouse("up"));
        QObject::connect(strip, &uTab::OnMouseMove, mouse("move"));
        QObject::connect(strip, &uTab::OnMouseHover, mouse("hover"));
        QObject::connect(strip, &uTab::OnDblClick, mouse("dblclick"));
        QObject::connect(strip, &uTab::TabChanged, [this] { events.append({"changed"}); });
        QObject::connect(strip, &uTab::OnMouseLeave, [this] { events.append({"leave"}); });
        QObject::connect(strip, &uTab::OnItemColose, [this](int index, bool &Cancel) {
            events.append({"close", index});
            Cancel = vetoClose;
        });
    }
};

// The pixels of a 12 x 12 close mark in the frame, against the skin's mark at a column;
// key-coloured pixels of the mark show the face instead and are not compared.
bool showsMark(const QImage &frame, QPoint at, int skinId, int column)
{
    const QImage skin = LoadBitmapResource(skinId);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const QRgb wanted = skin.pixel(column + x, y) | 0xFF000000;
            if (wanted != qRgb(255, 0, 255) &&
                (frame.pixel(at + QPoint(x, y)) | 0xFF000000) != wanted) {
                return false;
            }
        }
    }
    return true;
}

QPoint markCorner(Host &host, int i)
{
    return host.onClose(i) - QPoint(6, 6);
}

// Real pointer input through the X server, for what the window system does with grabs.
bool pointer(const QStringList &action)
{
    return QProcess::execute("xdotool", action) == 0;
}
bool pointerTo(QPoint global)
{
    return pointer({"mousemove", QString::number(global.x()), QString::number(global.y())});
}

} // namespace

class TabStripTest : public QObject {
    Q_OBJECT

private slots:
    void nothingIsDrawnUntilUnlocked();
    void selection_data();
    void selection();
    void persistedProperties_data();
    void persistedProperties();
    void styleTakesEffectAtResize();
    void pressSelects();
    void pressOnAnotherTabsCloseMarkOnlyPressesIt();
    void closing_data();
    void closing();
    void hover_data();
    void hover();
    void movesThatChangeNothingComposeNothing();
    void dragKeepsHotTab();
    void doubleClickReplaysThePress();
    void otherButtons();
    void leavingClearsHotTab();
    void paintShowsTheLastFrame();
    void hostPaintsBackground_data();
    void hostPaintsBackground();
    void refreshPage_data();
    void refreshPage();
    void clearForgetsTabs();
    void captionChangeRepaints();
    void stripNarrowerThanMargins();
    void formsKeepTheirItemsAfterTheStrip();
    void hoverRightAfterAWindowDrag_data();
    void hoverRightAfterAWindowDrag();
    void backgroundWaitsForASurface();
};

void TabStripTest::nothingIsDrawnUntilUnlocked()
{
    QWidget window;
    auto *strip = new uTab(&window);
    strip->setGeometry(0, 0, 600, 25);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *form = new PageForm;
    strip->TabItems()->Add("tab", form);
    QCOMPARE(strip->Compositions(), quint64(0));
    // The buffers exist but nothing was composed into them.
    QCOMPARE(strip->Frame().pixel(100, 10), qRgb(0, 0, 0));
    strip->LockReDraw(false);
    QVERIFY(strip->Compositions() > 0);
    QVERIFY(strip->Frame().pixel(100, 10) != qRgb(0, 0, 0));
    delete form;
}

void TabStripTest::selection_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("argument");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("removing before it follows the tab") << 4 << "remove" << 0 << 2 << 1;
    QTest::newRow("Count is ignored") << 3 << "select" << 3 << 1 << 1;
    QTest::newRow("-1 clears") << 3 << "select" << -1 << 1 << -1;
    QTest::newRow("-5 clears") << 3 << "select" << -5 << 1 << -1;
    QTest::newRow("last") << 3 << "select" << 2 << 1 << 2;
}

void TabStripTest::selection()
{
    QFETCH(int, tabs);
    QFETCH(QString, action);
    QFETCH(int, argument);
    QFETCH(int, before);
    QFETCH(int, after);
    Host host(0);
    host.addTabs(tabs);
    if (before >= 0) {
        host.strip->SetSelected(before);
    }
    const QString selectedCaption =
        after >= 0 && before >= 0 ? host.item(before)->Caption() : QString();
    const quint64 compositions = host.strip->Compositions();
    if (action == "remove") {
        QVERIFY(host.items().Remove(argument));
    } else {
        host.strip->SetSelected(argument);
    }
    QCOMPARE(host.strip->Selected(), after);
    QCOMPARE(host.items().Selected(), after);
    if (action == "remove" && after != 0) {
        QCOMPARE(host.item(after)->Caption(), selectedCaption);
    }
    // Every change repaints; an ignored one does not.
    QCOMPARE(host.strip->Compositions() == compositions, before == after && action == "select");
}

void TabStripTest::persistedProperties_data()
{
    QTest::addColumn<QVariantList>("stored"); // TabStyle, TabLeftSize, TabRightSize or nothing
    QTest::addColumn<QList<int>>("read");

    QTest::newRow("new control") << QVariantList{} << QList<int>{0, 40, 0};
    QTest::newRow("main window's strip") << QVariantList{1, 10, 0} << QList<int>{1, 10, 0};
    QTest::newRow("margins only") << QVariantList{QVariant(), 7, 9} << QList<int>{0, 7, 9};
}

void TabStripTest::persistedProperties()
{
    QFETCH(QVariantList, stored);
    QFETCH(QList<int>, read);
    PropertyBag bag;
    const QStringList keys{"tabstyle", "TABLEFTSIZE", "TabRightSize"};
    for (int i = 0; i < stored.size(); ++i) {
        if (stored[i].isValid()) {
            bag.WriteProperty(keys[i], stored[i]);
        }
    }
    uTab strip;
    strip.ReadProperties(bag);
    QCOMPARE((QList<int>{strip.TabStyle(), strip.TabLeftSize(), strip.TabRightSize()}), read);
    PropertyBag written;
    strip.WriteProperties(written);
    QCOMPARE(written.Keys().size(), 3);
    QCOMPARE(written.ReadProperty("TabStyle").toInt(), read[0]);
    QCOMPARE(written.ReadProperty("TabLeftSize").toInt(), read[1]);
    QCOMPARE(written.ReadProperty("TabRightSize").toInt(), read[2]);
}

void TabStripTest::styleTakesEffectAtResize()
{
    Host host(0);
    QCOMPARE(host.strip->height(), 25);
    host.strip->SetTabStyle(1);
    host.strip->SetTabRight(30);
    QCOMPARE(host.strip->TabRightSize(), 30);
    QCOMPARE(host.strip->height(), 25);
    host.strip->resize(700, 25);
    QCOMPARE(host.strip->height(), 32);
    QCOMPARE(host.strip->Frame().size(), QSize(700, 32));
    host.strip->SetTabStyle(0);
    host.strip->resize(600, 40);
    QCOMPARE(host.strip->height(), 25);
}

void TabStripTest::pressSelects()
{
    Host host(1, 800, 10);
    host.addTabs(3);
    QTest::mouseMove(host.strip, host.onTab(2));
    host.events.clear();
    QTest::mousePress(host.strip, Qt::LeftButton, {}, host.onTab(2));
    QCOMPARE(host.strip->Selected(), 2);
    QCOMPARE(host.names(), (QStringList{"changed", "down"}));
    const Event down = host.events.last();
    QCOMPARE(down.index, 2);
    QCOMPARE(down.button, short(1));
    QCOMPARE(QPoint(int(down.x), int(down.y)), host.onTab(2));
    QTest::mouseRelease(host.strip, Qt::LeftButton, {}, host.onTab(2));
    QCOMPARE(host.named("up").last().index, 2);
    // Pressing the selected tab again still reports the change.
    host.events.clear();
    QTest::mousePress(host.strip, Qt::LeftButton, {}, host.onTab(2));
    QCOMPARE(host.names(), (QStringList{"changed", "down"}));
    QTest::mouseRelease(host.strip, Qt::LeftButton, {}, host.onTab(2));
}

void TabStripTest::pressOnAnotherTabsCloseMarkOnlyPressesIt()
{
    for (int style : {0, 1}) {
        Host host(style);
        host.addTabs(3);
        host.strip->SetSelected(0);
        QTest::mouseMove(host.strip, host.onClose(2));
        QCOMPARE(host.strip->HotIndex(), 2);
        QCOMPARE(host.strip->CloseState(), 1);
        const int skin = style == 0 ? 106 : 107;
        QVERIFY(showsMark(host.strip->Frame(), markCorner(host, 2), skin, style == 0 ? 391 : 397));
        host.events.clear();
        QTest::mousePress(host.strip, Qt::LeftButton, {}, host.onClose(2));
        QCOMPARE(host.strip->Selected(), 0);
        QCOMPARE(host.strip->CloseState(), 2);
        QCOMPARE(host.names(), (QStringList{"changed", "down"}));
        QVERIFY(showsMark(host.strip->Frame(), markCorner(host, 2), skin, style == 0 ? 403 : 409));
        // The selected tab keeps its own mark; the third its plain one.
        QVERIFY(showsMark(host.strip->Frame(), markCorner(host, 0), skin, style == 0 ? 367 : 373));
        QVERIFY(showsMark(host.strip->Frame(), markCorner(host, 1), skin, style == 0 ? 379 : 385));
        QTest::mouseRelease(host.strip, Qt::LeftButton, {}, host.onTab(2));
    }
}

void TabStripTest::closing_data()
{
    QTest::addColumn<QString>("releaseAt"); // close1, tab1, close2
    QTest::addColumn<bool>("veto");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("closed");

    QTest::newRow("press and release on the mark") << "close1" << false << false << true;
    QTest::newRow("released off the mark") << "tab1" << false << false << false;
    QTest::newRow("released on another mark") << "close2" << false << false << false;
    QTest::newRow("vetoed by the host") << "close1" << true << false << false;
    QTest::newRow("tab without close mark") << "close1" << false << true << false;
}

void TabStripTest::closing()
{
    QFETCH(QString, releaseAt);
    QFETCH(bool, veto);
    QFETCH(bool, hidden);
    QFETCH(bool, closed);
    Host host(0);
    host.addTabs(3);
    host.vetoClose = veto;
    host.item(1)->SetHideButton(hidden);
    QPointer<PageForm> form = host.forms[1];
    QTest::mouseMove(host.strip, host.onClose(1));
    QCOMPARE(host.strip->CloseState(), hidden ? 0 : 1);
    QTest::mousePress(host.strip, Qt::LeftButton, {}, host.onClose(1));
    const QPoint release = releaseAt == "tab1"     ? host.onTab(1)
                           : releaseAt == "close2" ? host.onClose(2)
                                                   : host.onClose(1);
    QTest::mouseMove(host.strip, release);
    host.events.clear();
    QTest::mouseRelease(host.strip, Qt::LeftButton, {}, release);
    QCOMPARE(host.items().Count(), closed ? 2 : 3);
    QCOMPARE(bool(form), !closed);
    QCOMPARE(host.strip->CloseState(), 0);
    const bool asked = !hidden && releaseAt == "close1";
    QCOMPARE(host.named("close").size(), asked ? 1 : 0);
    QCOMPARE(host.names().last(), QString("up"));
    if (!closed) {
        // The mark looks normal again.
        QVERIFY(hidden || showsMark(host.strip->Frame(), markCorner(host, 1), 106, 379));
    }
}

void TabStripTest::hover_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QList<QPoint>>("path");
    QTest::addColumn<QList<int>>("hovers");
    QTest::addColumn<QList<int>>("moves");

    // Style 1, margins 10 and 60 on 800: tab 0 covers x 10..210.
    QTest::newRow("into the margins and below the rows")
        << 1 << QList<QPoint>{{50, 12}, {60, 12}, {5, 12}, {790, 12}, {60, 28}, {60, 12}}
        << QList<int>{0, -2, -3, 0} << QList<int>{0, 0, -2, -2, -3, 0};
    QTest::newRow("onto the close mark is no hover")
        << 1 << QList<QPoint>{{50, 12}, {200, 13}} << QList<int>{0} << QList<int>{0, 0};
    QTest::newRow("style 0, between tabs") << 0 << QList<QPoint>{{100, 12}, {700, 12}, {200, 12}}
                                           << QList<int>{0, -1, 1} << QList<int>{0, -1, 1};
}

void TabStripTest::hover()
{
    QFETCH(int, style);
    QFETCH(QList<QPoint>, path);
    QFETCH(QList<int>, hovers);
    QFETCH(QList<int>, moves);
    Host host(style, 800, style == 0 ? 40 : 10, 60);
    host.addTabs(2);
    host.events.clear();
    for (const QPoint &point : path) {
        QTest::mouseMove(host.strip, point);
    }
    QList<int> hovered, moved;
    for (const Event &event : host.named("hover")) {
        hovered << event.index;
    }
    for (const Event &event : host.named("move")) {
        moved << event.index;
    }
    QCOMPARE(hovered, hovers);
    QCOMPARE(moved, moves);
}

void TabStripTest::movesThatChangeNothingComposeNothing()
{
    Host host(1, 800, 10);
    host.addTabs(3);
    QTest::mouseMove(host.strip, host.onTab(1));
    const quint64 start = host.strip->Compositions();
    QTest::mouseMove(host.strip, host.onTab(1) + QPoint(3, 1));
    QTest::mouseMove(host.strip, host.onTab(1) + QPoint(-8, 2));
    QCOMPARE(host.strip->Compositions(), start);
    QTest::mouseMove(host.strip, host.onClose(1));
    QCOMPARE(host.strip->Compositions(), start + 1);
    QTest::mouseMove(host.strip, host.onClose(1) + QPoint(2, 2));
    QCOMPARE(host.strip->Compositions(), start + 1);
    QTest::mouseMove(host.strip, host.onTab(1));
    QCOMPARE(host.strip->Compositions(), start + 2);
    QTest::mouseMove(host.strip, host.onTab(2));
    QCOMPARE(host.strip->Compositions(), start + 3);
}

void TabStripTest::dragKeepsHotTab()
{
    Host host(1, 800, 10);
    host.addTabs(3);
    QTest::mouseMove(host.strip, host.onTab(1));
    QTest::mousePress(host.strip, Qt::LeftButton, {}, host.onTab(1));
    host.events.clear();
    const quint64 start = host.strip->Compositions();
    QTest::mouseMove(host.strip, host.onClose(2));
    QCOMPARE(host.strip->HotIndex(), 1);
    QCOMPARE(host.strip->CloseState(), 0);
    QCOMPARE(host.strip->Compositions(), start);
    QCOMPARE(host.names(), QStringList{"move"});
    QCOMPARE(host.events[0].index, 0);
    QCOMPARE(host.events[0].button, short(1));
    QTest::mouseRelease(host.strip, Qt::LeftButton, {}, host.onClose(2));
    QCOMPARE(host.items().Count(), 3);
}

void TabStripTest::doubleClickReplaysThePress()
{
    Host host(1, 800, 10);
    host.addTabs(3);
    QTest::mouseMove(host.strip, host.onTab(2));
    host.events.clear();
    QTest::mouseDClick(host.strip, Qt::LeftButton, {}, host.onTab(2));
    QCOMPARE(host.strip->Selected(), 2);
    const QList<Event> clicks = host.named("dblclick");
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks[0].index, 2);
    QCOMPARE(clicks[0].button, short(1));
    QCOMPARE(QPoint(int(clicks[0].x), int(clicks[0].y)), host.onTab(2));
    // The replayed press comes first and reports the same tab.
    const QStringList names = host.names();
    const qsizetype at = names.indexOf("dblclick");
    QCOMPARE(names.mid(at - 2, 3), (QStringList{"changed", "down", "dblclick"}));
    QCOMPARE(host.events[at - 1].index, 2);
}

void TabStripTest::otherButtons()
{
    Host host(0);
    host.addTabs(3);
    host.strip->SetSelected(0);
    QTest::mouseMove(host.strip, host.onTab(2));
    host.events.clear();
    QTest::mousePress(host.strip, Qt::RightButton, {}, host.onTab(2));
    QTest::mouseRelease(host.strip, Qt::RightButton, {}, host.onTab(2));
    QCOMPARE(host.strip->Selected(), 0);
    QCOMPARE(host.names(), (QStringList{"down", "up"}));
    QCOMPARE(host.events[0].index, 0);
    QCOMPARE(host.events[0].button, short(2));
    QCOMPARE(host.events[1].index, 0);
}

void TabStripTest::leavingClearsHotTab()
{
    Host host(0);
    host.addTabs(2);
    QTest::mouseMove(host.strip, host.onClose(1));
    QCOMPARE(host.strip->HotIndex(), 1);
    host.events.clear();
    const quint64 start = host.strip->Compositions();
    QTest::mouseMove(&host.window, QPoint(400, 150));
    QTRY_COMPARE(host.names(), QStringList{"leave"});
    QCOMPARE(host.strip->HotIndex(), -1);
    QCOMPARE(host.strip->Compositions(), start + 1);
    // The close mark's state is the hot tab's; with no hot tab it does not matter.
    QCOMPARE(host.strip->CloseState(), 1);
}

void TabStripTest::paintShowsTheLastFrame()
{
    Host host(1, 640, 10);
    host.addTabs(3);
    host.strip->SetSelected(1);
    const quint64 start = host.strip->Compositions();
    const QImage painted = host.strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(host.strip->Compositions(), start);
    QCOMPARE(painted, host.strip->Frame());
    // A paint message sent by code has nothing to paint on and composes nothing either.
    QCOMPARE(SendMessage(host.strip->hWnd(), wm::Paint, 0, 0), 0);
    QCOMPARE(SendMessage(host.strip->hWnd(), wm::EraseBkgnd, 0, 0), 0);
    QCOMPARE(host.strip->Compositions(), start);
}

void TabStripTest::hostPaintsBackground_data()
{
    QTest::addColumn<bool>("skip");
    QTest::newRow("host's background") << true;
    QTest::newRow("painted over by the skin") << false;
}

void TabStripTest::hostPaintsBackground()
{
    QFETCH(bool, skip);
    Host host(0, 600);
    host.addTabs(2);
    const QRgb hostColour = qRgb(12, 200, 34);
    QSize seen;
    QObject::connect(host.strip, &uTab::OnDrawBackground,
                     [&](MemDC *hdc, int cx, int cy, bool &bSkipDefault) {
                         seen = QSize(cx, cy);
                         hdc->Bitmap().fill(hostColour);
                         bSkipDefault = skip;
                     });
    host.strip->refresh();
    QCOMPARE(seen, QSize(600, 25));
    const QImage frame = host.strip->Frame();
    QCOMPARE(frame.pixel(5, 12) == hostColour, skip);
    QCOMPARE(frame.pixel(590, 12) == hostColour, skip);
    // Tabs are drawn over it either way.
    QVERIFY(frame.pixel(host.onTab(0)) != hostColour);
}

void TabStripTest::refreshPage_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("refreshed");
    QTest::newRow("no tabs") << 0 << -1 << -1;
    QTest::newRow("no selection") << 2 << -1 << -1;
    QTest::newRow("selected tab") << 3 << 1 << 1;
}

void TabStripTest::refreshPage()
{
    QFETCH(int, tabs);
    QFETCH(int, selected);
    QFETCH(int, refreshed);
    Host host(1);
    host.addTabs(tabs);
    host.strip->SetSelected(selected);
    host.strip->RefreshPage();
    for (int i = 0; i < tabs; ++i) {
        QCOMPARE(host.forms[i]->refreshes, i == refreshed ? 1 : 0);
    }
}

void TabStripTest::clearForgetsTabs()
{
    Host empty(0, 600);
    Host host(0, 600);
    host.addTabs(3);
    host.strip->SetSelected(2);
    QVERIFY(host.items().Clear());
    QCOMPARE(host.strip->Selected(), 0);
    QCOMPARE(host.strip->Frame(), empty.strip->Frame());
    host.add("again");
    QCOMPARE(host.strip->Selected(), 0);
}

void TabStripTest::captionChangeRepaints()
{
    Host host(0);
    host.addTabs(2);
    const QImage before = host.strip->Frame();
    const quint64 start = host.strip->Compositions();
    host.item(1)->SetCaption("新的标题");
    QCOMPARE(host.strip->Compositions(), start + 1);
    QVERIFY(host.strip->Frame() != before);
    // Locking a tab's size repaints but moves nothing until the next layout.
    const int left = host.item(1)->Left();
    host.item(0)->SetLockSize(true);
    QCOMPARE(host.item(1)->Left(), left);
    host.strip->resize(700, 25);
    QCOMPARE(host.item(1)->Left(), 14 + 108);
}

void TabStripTest::stripNarrowerThanMargins()
{
    Host host(1, 600, 40, 30);
    host.addTabs(2);
    host.strip->resize(50, 32);
    const QImage frame = host.strip->Frame();
    QCOMPARE(frame.width(), 50);
    const QRgb background = LoadBitmapResource(107).pixel(0, 10) | 0xFF000000;
    for (int x = 0; x < 50; ++x) {
        QCOMPARE(frame.pixel(x, 10 * 32 / 28), background);
    }
    QTest::mouseMove(host.strip, QPoint(25, 10));
    QCOMPARE(host.strip->HotIndex(), -2);
}

void TabStripTest::formsKeepTheirItemsAfterTheStrip()
{
    auto host = std::make_unique<Host>(0);
    host->addTabs(2);
    QPointer<PageForm> form = host->forms[0];
    // The form leaves the container before the strip goes, so it outlives both.
    form->setParent(nullptr);
    std::shared_ptr<CTabItem> item = form->item;
    host.reset();
    QVERIFY(form);
    item->SetCaption("after the strip");
    item->SetLockSize(true);
    delete form.data();
}

void TabStripTest::hoverRightAfterAWindowDrag_data()
{
    QTest::addColumn<bool>("onCaptionBar");
    QTest::newRow("caption bar") << true;
    QTest::newRow("the strip's empty band") << false;
}

// The window system's move swallows the release; hover must work again at once.
void TabStripTest::hoverRightAfterAWindowDrag()
{
    QFETCH(bool, onCaptionBar);
    Host host(0);
    host.addTabs(2);
    auto *bar = new BForm(&host.window);
    bar->setGeometry(0, 200, 400, 33);
    bar->SetfrmHwnd(HandleOf(&host.window));
    auto *button = new iButton(&host.window);
    button->setGeometry(600, 205, 75, 23);
    bar->show();
    button->show();
    QSignalSpy overs(button, &iButton::MouseOver);
    // As the main window does: the strip's empty band moves the window.
    QObject::connect(host.strip, &uTab::OnMouseDown,
                     [&](int index, short &, short &, float &, float &) {
                         if (index == TabLayout::HitBand) {
                             SendMessage(HandleOf(&host.window), wm::NcLButtonDown, HTCAPTION, 0);
                         }
                     });
    QWidget *pressed = onCaptionBar ? static_cast<QWidget *>(bar) : host.strip;
    const QPoint start = pressed->mapToGlobal(onCaptionBar ? QPoint(100, 10) : QPoint(700, 12));
    const QPoint origin = host.window.pos();
    QVERIFY(pointerTo(start));
    QTRY_COMPARE(QCursor::pos(), start);
    QVERIFY(pointer({"mousedown", "1"}));
    QTRY_VERIFY(QWidget::mouseGrabber());
    QVERIFY(pointerTo(start + QPoint(40, 30)));
    QTRY_COMPARE(host.window.pos(), origin + QPoint(40, 30));
    QVERIFY(pointer({"mouseup", "1"}));
    QTRY_VERIFY(!QWidget::mouseGrabber());

    QVERIFY(pointerTo(button->mapToGlobal(button->rect().center())));
    QTRY_COMPARE(overs.size(), 1);
    QVERIFY(pointerTo(host.strip->mapToGlobal(host.onTab(1))));
    QTRY_COMPARE(host.strip->HotIndex(), 1);
}

void TabStripTest::backgroundWaitsForASurface()
{
    QWidget window;
    auto *strip = new uTab(&window);
    strip->setGeometry(0, 0, 600, 25);
    QList<bool> surfaces;
    QObject::connect(strip, &uTab::OnDrawBackground,
                     [&surfaces](MemDC *hdc, int, int, bool &) { surfaces << (hdc != nullptr); });
    strip->LockReDraw(false); // before the strip was ever resized
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!surfaces.isEmpty());
    QCOMPARE(surfaces.count(false), 0);
}

QTEST_MAIN(TabStripTest)
#include "tst_tabstrip.moc"
