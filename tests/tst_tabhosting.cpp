#include "platform/winsys/WinApi.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/ITabForm.h"
#include "tabstrip/uTab.h"
#include "tests/support/PageForm.h"

#include <QPointer>
#include <QScreen>
#include <QTest>

#include <cmath>

using namespace platform;

namespace {

class Host {
public:
    explicit Host(bool withContainer = true)
    {
        strip = new uTab(&window);
        strip->setGeometry(0, 0, 600, 25);
        container = new QWidget(&window);
        container->setGeometry(0, 30, 600, 300);
        window.resize(600, 330);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (withContainer) {
            strip->SethContainerWnd(HandleOf(container));
        }
        strip->LockReDraw(false);
    }

    // A tab window that starts as an ordinary top-level window with a caption and a frame.
    PageForm *add()
    {
        auto *form = new PageForm;
        form->resize(320, 180);
        forms << form;
        strip->TabItems()->Add(QString("tab %1").arg(forms.size() - 1), form);
        return form;
    }
    void addTabs(int count)
    {
        for (int i = 0; i < count; ++i) {
            add();
        }
    }
    // The window the container shows at a point: the top one of its children there.
    QWidget *shownAt(QPoint point) const { return container->childAt(point); }

    QWidget window;
    uTab *strip;
    QWidget *container;
    QList<QPointer<PageForm>> forms;
};

quint32 styleOf(QWidget *widget)
{
    return WinApi::GetWindowLong(HandleOf(widget), WinApi::GWL_STYLE);
}

} // namespace

class TabHostingTest : public QObject {
    Q_OBJECT

private slots:
    void addedWindowBecomesHiddenBorderlessChild();
    void onlySelectedWindowIsRaisedAndSized_data();
    void onlySelectedWindowIsRaisedAndSized();
    void containerResizeRefitsSelectedOnly();
    void tabAddedWhileAnotherIsSelectedStaysHidden();
    void removingSelectedShowsFirstAndUnloads();
    void releaseGivesTheWindowBack();
    void containerGivenAfterTabs();
};

void TabHostingTest::addedWindowBecomesHiddenBorderlessChild()
{
    Host host;
    PageForm *form = host.add();
    const std::shared_ptr<CTabItem> item = form->item;
    // The style as it was is kept for giving the window back.
    QVERIFY(item->WindowStyle() & WinApi::WS_CAPTION);
    QVERIFY(item->WindowStyle() & WinApi::WS_THICKFRAME);
    QVERIFY(!(item->WindowStyle() & WinApi::WS_CHILD));
    QCOMPARE(form->parentWidget(), host.container);
    QVERIFY(form->isHidden());
    QCOMPARE(form->geometry(), host.container->rect());
    const quint32 style = styleOf(form);
    QVERIFY(style & WinApi::WS_CHILD);
    QVERIFY(!(style & (WinApi::WS_CAPTION | WinApi::WS_THICKFRAME)));
    QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    // The first tab is selected but shows only when the host selects it.
    QCOMPARE(host.strip->Selected(), 0);
    host.strip->SetSelected(0);
    QVERIFY(form->isVisible());
    QCOMPARE(host.shownAt({300, 150}), form);
}

void TabHostingTest::onlySelectedWindowIsRaisedAndSized_data()
{
    QTest::addColumn<QList<int>>("selections");
    QTest::addColumn<int>("onTop");
    QTest::addColumn<QList<bool>>("visible");

    QTest::newRow("1 then 0") << QList<int>{1, 0} << 0 << QList<bool>{true, true, false};
    QTest::newRow("2, 0, 1") << QList<int>{2, 0, 1} << 1 << QList<bool>{true, true, true};
    // Adding a tab re-raises the selected one: tab 0, selected by the first add, shows.
    QTest::newRow("same twice") << QList<int>{2, 2} << 2 << QList<bool>{true, false, true};
    QTest::newRow("cleared keeps the last")
        << QList<int>{1, -1} << 1 << QList<bool>{true, true, false};
}

void TabHostingTest::onlySelectedWindowIsRaisedAndSized()
{
    QFETCH(QList<int>, selections);
    QFETCH(int, onTop);
    QFETCH(QList<bool>, visible);
    Host host;
    host.addTabs(3);
    for (int selection : selections) {
        host.strip->SetSelected(selection);
    }
    QCOMPARE(host.shownAt({10, 10}), host.forms[onTop].data());
    QCOMPARE(host.shownAt({590, 290}), host.forms[onTop].data());
    for (int i = 0; i < 3; ++i) {
        // Covered windows are not hidden, only covered.
        QCOMPARE(host.forms[i]->isVisible(), visible[i]);
    }
}

void TabHostingTest::containerResizeRefitsSelectedOnly()
{
    Host host;
    host.addTabs(2);
    host.strip->SetSelected(1);
    host.strip->SetSelected(0);
    host.container->resize(500, 250);
    QCOMPARE(host.forms[0]->size(), QSize(500, 250));
    QCOMPARE(host.forms[1]->size(), QSize(600, 300));
    host.strip->SetSelected(1);
    QCOMPARE(host.forms[1]->size(), QSize(500, 250));
    QCOMPARE(host.shownAt({250, 125}), host.forms[1].data());
}

void TabHostingTest::tabAddedWhileAnotherIsSelectedStaysHidden()
{
    Host host;
    host.addTabs(2);
    host.strip->SetSelected(1);
    PageForm *late = host.add();
    QVERIFY(late->isHidden());
    QCOMPARE(host.strip->Selected(), 1);
    QCOMPARE(host.shownAt({300, 150}), host.forms[1].data());
    host.strip->SetSelected(2);
    QCOMPARE(host.shownAt({300, 150}), late);
}

void TabHostingTest::removingSelectedShowsFirstAndUnloads()
{
    Host host;
    host.addTabs(3);
    host.strip->SetSelected(2);
    QVERIFY(host.strip->TabItems()->Remove(2));
    QVERIFY(!host.forms[2]);
    QCOMPARE(host.strip->Selected(), 0);
    QCOMPARE(host.shownAt({300, 150}), host.forms[0].data());
}

void TabHostingTest::releaseGivesTheWindowBack()
{
    Host host;
    host.addTabs(2);
    host.strip->SetSelected(1);
    QPointer<PageForm> form = host.forms[1];
    const quint32 recorded = form->item->WindowStyle();
    QVERIFY(host.strip->TabItems()->ReleaseForm(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form);
    QVERIFY(form->isWindow());
    QVERIFY(form->isVisible());
    QVERIFY(!form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(styleOf(form) & ~WinApi::WS_VISIBLE, recorded & ~WinApi::WS_VISIBLE);
    // Centred on the screen, halves to even.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QRect frame = WinApi::GetWindowRect(HandleOf(form));
    QCOMPARE(form->pos(), QPoint(int(std::nearbyint((screen.width() - frame.width()) / 2.0)),
                                 int(std::nearbyint((screen.height() - frame.height()) / 2.0))));
    QCOMPARE(host.strip->TabItems()->Count(), 1);
    QCOMPARE(host.shownAt({300, 150}), host.forms[0].data());
    delete form.data();
}

void TabHostingTest::containerGivenAfterTabs()
{
    Host host(false);
    host.addTabs(2);
    host.strip->SetSelected(1);
    // Nowhere to put them yet: they stay as they were.
    QVERIFY(host.forms[0]->isWindow());
    QVERIFY(host.forms[1]->isHidden());
    host.strip->SethContainerWnd(HandleOf(host.container));
    QCOMPARE(host.forms[0]->parentWidget(), host.container);
    QCOMPARE(host.forms[1]->parentWidget(), host.container);
    QVERIFY(host.forms[0]->isHidden());
    QCOMPARE(host.shownAt({300, 150}), host.forms[1].data());
}

QTEST_MAIN(TabHostingTest)
#include "tst_tabhosting.moc"
