#include "platform/winsys/WinApi.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/ITabForm.h"
#include "tabstrip/IuTab.h"
#include "tabstrip/TabError.h"

#include <QPointer>
#include <QTest>
#include <QWidget>

using platform::HWND;

namespace {

// What the collection told the strip and the forms, in order.
using CallLog = QStringList;

// A strip that records the collection's calls; its host vetoes removals while veto is set.
class FakeStrip : public IuTab {
public:
    explicit FakeStrip(CallLog &log) : log(log) { items->SetIuTab(self); }

    void Add(const QString &Caption, ITabForm *, const std::optional<QString> &Key,
             const TabIndex &Index) override
    {
        log << QString("Add %1 %2 %3")
                   .arg(Caption, Key.value_or("-"))
                   .arg(Index.IsMissing() ? -1 : *Index.ToInt32());
    }
    bool BeforeRemove(int Index) override
    {
        log << QString("BeforeRemove %1").arg(Index);
        if (onBeforeRemove) {
            onBeforeRemove(Index);
        }
        return !veto;
    }
    void Remove(int Index) override { log << QString("Remove %1").arg(Index); }
    void Clear() override { log << "Clear"; }
    void Redraw(bool) override { log << "Redraw"; }
    void ChangeForm(CTabItem &Item, ITabForm *) override
    {
        log << "ChangeForm";
        changedItem = &Item;
    }
    int Selected() override { return selected; }
    void SetSelected(int NewValue) override { selected = NewValue; }
    std::shared_ptr<CTabItems> TabItems() override { return items; }
    HWND hWnd() override { return platform::HandleOf(&window); }
    HWND hParent() override { return 0; }
    QWidget *Control() override { return &window; }

    CallLog &log;
    QWidget window;
    std::shared_ptr<IuTab> self{static_cast<IuTab *>(this), [](IuTab *) {}};
    std::shared_ptr<CTabItems> items = std::make_shared<CTabItems>();
    bool veto = false;
    int selected = -1;
    CTabItem *changedItem = nullptr;
    std::function<void(int)> onBeforeRemove;
};

// A hosted window that records its introductions and may keep its item, as the page form does.
class FakeForm : public QWidget, public ITabForm {
public:
    FakeForm(CallLog &log, bool keepItem) : log(log), keepItem(keepItem) {}

    HWND hWnd() override { return platform::HandleOf(this); }
    void Initialize(const std::weak_ptr<IuTab> &Implement,
                    const std::shared_ptr<CTabItem> &Item) override
    {
        log << "Initialize";
        strip = Implement;
        seenItem = Item.get();
        if (keepItem) {
            item = Item;
        }
    }
    void RefreshPage() override { ++refreshes; }

    CallLog &log;
    bool keepItem;
    std::weak_ptr<IuTab> strip;
    const CTabItem *seenItem = nullptr;
    std::shared_ptr<CTabItem> item;
    int refreshes = 0;
};

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A strip with tabs keyed k0, k1, ... whose forms keep their items unless told otherwise.
struct Fixture {
    explicit Fixture(int count, bool keepItems = true)
    {
        for (int i = 0; i < count; ++i) {
            add(QString("k%1").arg(i), keepItems);
        }
        log.clear();
    }
    ~Fixture()
    {
        for (const QPointer<FakeForm> &form : forms) {
            delete form.data();
        }
    }
    FakeForm *add(const std::optional<QString> &key, bool keepItem = true,
                  const TabIndex &index = {})
    {
        auto *form = new FakeForm(log, keepItem);
        forms << form;
        strip.items->Add(key.value_or("caption"), form, key, index);
        return form;
    }
    CTabItems &items() { return *strip.items; }
    QStringList captions()
    {
        QStringList list;
        for (int i = 0; i < items().Count(); ++i) {
            list << items().Item(i)->Caption();
        }
        return list;
    }

    CallLog log;
    FakeStrip strip{log};
    QList<QPointer<FakeForm>> forms;
};

int errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const TabError &error) {
        return error.Number();
    }
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(TabIndex)

class TabModelTest : public QObject {
    Q_OBJECT

private slots:
    void addTellsFormAndStripInOrder();
    void addAt_data();
    void addAt();
    void addWithoutFormFails();
    void findItem_data();
    void findItem();
    void item_data();
    void item();
    void keysIgnoreCase();
    void remove_data();
    void remove();
    void removeOfUnknownAsksNobody();
    void removeAfterHostChangedTabs();
    void propertySideEffects_data();
    void propertySideEffects();
    void formAssignmentKeepsPreviousWindow();
    void clearUnloadsAndTellsStrip();
    void releasedFormSurvivesItsItem();
    void releaseRefusals_data();
    void releaseRefusals();
    void itemsOutliveTheStrip();
};

void TabModelTest::addTellsFormAndStripInOrder()
{
    Fixture f(0);
    auto *form = f.add(QString("Game"));
    QCOMPARE(f.log,
             (CallLog{"Initialize", "Redraw", "Initialize", "ChangeForm", "Add Game Game -1"}));
    const std::shared_ptr<CTabItem> item = f.items().Item(0);
    QCOMPARE(form->seenItem, item.get());
    QCOMPARE(f.strip.changedItem, item.get());
    QCOMPARE(form->strip.lock(), f.strip.self);
    QCOMPARE(item->Form(), static_cast<ITabForm *>(form));
    QCOMPARE(item->WindowStyle(), WinApi::GetWindowLong(form->hWnd(), WinApi::GWL_STYLE));
    // Adding does not select.
    QCOMPARE(f.strip.selected, -1);
}

void TabModelTest::addAt_data()
{
    QTest::addColumn<TabIndex>("index");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("error");

    const QStringList before{"k0", "k1", "k2"};
    QTest::newRow("missing appends")
        << TabIndex() << "new" << QStringList{"k0", "k1", "k2", "new"} << 0;
    QTest::newRow("1 inserts before tab 1")
        << TabIndex(1) << "new" << QStringList{"k0", "new", "k1", "k2"} << 0;
    QTest::newRow("0 inserts first")
        << TabIndex(0) << "new" << QStringList{"new", "k0", "k1", "k2"} << 0;
    QTest::newRow("count appends")
        << TabIndex(3) << "new" << QStringList{"k0", "k1", "k2", "new"} << 0;
    QTest::newRow("1.5 rounds to 2")
        << TabIndex(1.5) << "new" << QStringList{"k0", "k1", "new", "k2"} << 0;
    QTest::newRow("past count") << TabIndex(4) << "new" << before << 9;
    QTest::newRow("negative") << TabIndex(-1) << "new" << before << 9;
    QTest::newRow("beyond 32 bits") << TabIndex(1e10) << "new" << before << 9;
    QTest::newRow("digits are not a number") << TabIndex("1") << "new" << before << 5;
    QTest::newRow("duplicate key") << TabIndex() << "k1" << before << 457;
    QTest::newRow("duplicate key in other case") << TabIndex(1) << "K2" << before << 457;
}

void TabModelTest::addAt()
{
    QFETCH(TabIndex, index);
    QFETCH(QString, key);
    QFETCH(QStringList, order);
    QFETCH(int, error);
    Fixture f(3);
    QPointer<FakeForm> form;
    QCOMPARE(errorNumber([&] { form = f.add(key, false, index); }), error);
    QCOMPARE(f.captions(), order);
    if (error) {
        QVERIFY(!f.log.last().startsWith("Add"));
        // The form stays the caller's: a failed add does not unload it.
        processDeferredDeletes();
        QVERIFY(f.forms.last());
    } else {
        QCOMPARE(f.items().FindItem(key), order.indexOf(key));
    }
}

void TabModelTest::addWithoutFormFails()
{
    Fixture f(1);
    QCOMPARE(errorNumber([&] { f.items().Add("x", nullptr); }), TabError::ObjectNotSet);
    QCOMPARE(f.items().Count(), 1);
    QVERIFY(f.log.isEmpty());
}

void TabModelTest::findItem_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<TabIndex>("index");
    QTest::addColumn<int>("expected");

    QTest::newRow("key") << "" << TabIndex("k2") << 2;
    QTest::newRow("key in other case") << "" << TabIndex("K3") << 3;
    QTest::newRow("digits are a key") << "" << TabIndex("3") << 1;
    QTest::newRow("number is an index") << "" << TabIndex(3) << 3;
    QTest::newRow("unknown key") << "" << TabIndex("nope") << -1;
    QTest::newRow("first") << "" << TabIndex(0) << 0;
    QTest::newRow("last") << "" << TabIndex(4) << 4;
    QTest::newRow("count") << "" << TabIndex(5) << -1;
    QTest::newRow("negative") << "" << TabIndex(-1) << -1;
    QTest::newRow("half to even") << "" << TabIndex(2.5) << 2;
    QTest::newRow("huge") << "" << TabIndex(1e12) << -1;
    QTest::newRow("missing") << "" << TabIndex() << -1;
    QTest::newRow("form") << "form 3" << TabIndex() << 3;
    QTest::newRow("item") << "item 4" << TabIndex() << 4;
    QTest::newRow("foreign form") << "stranger" << TabIndex() << -1;
    QTest::newRow("empty collection") << "empty" << TabIndex(0) << -1;
}

void TabModelTest::findItem()
{
    QFETCH(QString, what);
    QFETCH(TabIndex, index);
    QFETCH(int, expected);
    // Tab 1 is keyed "3", the others k<i>.
    Fixture f(0);
    for (const char *key : {"k0", "3", "k2", "k3", "k4"}) {
        f.add(QString(key));
    }
    CallLog strangerLog;
    FakeForm stranger(strangerLog, false);
    Fixture empty(0);
    CTabItems *items = &f.items();
    if (what == "form 3") {
        index = TabIndex(static_cast<ITabForm *>(f.forms[3].data()));
    } else if (what == "item 4") {
        index = TabIndex(f.items().Item(4));
    } else if (what == "stranger") {
        index = TabIndex(static_cast<ITabForm *>(&stranger));
    } else if (what == "empty") {
        items = &empty.items();
    }
    QCOMPARE(items->FindItem(index), expected);
}

void TabModelTest::item_data()
{
    QTest::addColumn<TabIndex>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("error");

    QTest::newRow("-1 is none") << TabIndex(-1) << QString() << 0;
    QTest::newRow("count is none") << TabIndex(3) << QString() << 0;
    QTest::newRow("index") << TabIndex(2) << "k2" << 0;
    QTest::newRow("key") << TabIndex("K1") << "k1" << 0;
    QTest::newRow("unknown key") << TabIndex("k9") << QString() << 5;
    QTest::newRow("missing") << TabIndex() << QString() << 5;
}

void TabModelTest::item()
{
    QFETCH(TabIndex, index);
    QFETCH(QString, caption);
    QFETCH(int, error);
    Fixture f(3);
    std::shared_ptr<CTabItem> found;
    QCOMPARE(errorNumber([&] { found = f.items().Item(index); }), error);
    QCOMPARE(found ? found->Caption() : QString(), caption);
}

void TabModelTest::keysIgnoreCase()
{
    Fixture f(0);
    f.add(QString("Game http://A"));
    QCOMPARE(errorNumber([&] { f.add(QString("GAME HTTP://a")); }), TabError::DuplicateKey);
    QCOMPARE(f.items().FindItem("game http://a"), 0);
    // Tabs without a key do not collide.
    f.add(std::nullopt);
    f.add(std::nullopt);
    QCOMPARE(f.items().Count(), 3);
}

void TabModelTest::remove_data()
{
    QTest::addColumn<bool>("veto");
    QTest::addColumn<bool>("unload");
    QTest::addColumn<bool>("keepsItem");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<bool>("windowRightAfter");
    QTest::addColumn<bool>("windowLater");

    QTest::newRow("vetoed") << true << true << true << false << true << true;
    QTest::newRow("unloaded") << false << true << true << true << false << false;
    QTest::newRow("unloaded, item not kept") << false << true << false << true << false << false;
    // The form keeps its item, so nothing lets go of the window.
    QTest::newRow("kept") << false << false << true << true << true << true;
    // Nothing keeps the item: it goes, and takes its window with it.
    QTest::newRow("item dropped") << false << false << false << true << true << false;
}

void TabModelTest::remove()
{
    QFETCH(bool, veto);
    QFETCH(bool, unload);
    QFETCH(bool, keepsItem);
    QFETCH(bool, removed);
    QFETCH(bool, windowRightAfter);
    QFETCH(bool, windowLater);
    Fixture f(3, keepsItem);
    f.strip.veto = veto;
    const HWND window = f.forms[1]->hWnd();
    QCOMPARE(f.items().Remove("k1", unload), removed);
    QCOMPARE(f.items().Count(), removed ? 2 : 3);
    const CallLog expected =
        removed ? CallLog{"BeforeRemove 1", "Remove 1"} : CallLog{"BeforeRemove 1"};
    QCOMPARE(f.log, expected);
    QCOMPARE(platform::IsWindow(window), windowRightAfter);
    processDeferredDeletes();
    QCOMPARE(platform::IsWindow(window), windowLater);
    QCOMPARE(f.captions().contains("k1"), !removed);
}

void TabModelTest::removeOfUnknownAsksNobody()
{
    Fixture f(2);
    QVERIFY(!f.items().Remove(2));
    QVERIFY(!f.items().Remove("k9"));
    QVERIFY(f.log.isEmpty());
}

void TabModelTest::removeAfterHostChangedTabs()
{
    Fixture f(4);
    // The host's veto handler runs a message loop in which another tab goes first.
    f.strip.onBeforeRemove = [&f](int index) {
        if (index == 2) {
            f.items().Remove("k0");
        }
    };
    QVERIFY(f.items().Remove("k2"));
    QCOMPARE(f.captions(), (QStringList{"k1", "k3"}));
    QCOMPARE(f.log, (CallLog{"BeforeRemove 2", "BeforeRemove 0", "Remove 0", "Remove 1"}));
}

void TabModelTest::propertySideEffects_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("redraws");

    QTest::newRow("Caption") << "Caption" << 1;
    QTest::newRow("HideButton") << "HideButton" << 1;
    QTest::newRow("LockSize") << "LockSize" << 1;
    QTest::newRow("ItemData") << "ItemData" << 0;
}

void TabModelTest::propertySideEffects()
{
    QFETCH(QString, property);
    QFETCH(int, redraws);
    Fixture f(2);
    const std::shared_ptr<CTabItem> item = f.items().Item(1);
    item->SetLeft(120);
    item->SetWidth(90);
    if (property == "Caption") {
        item->SetCaption("title");
        QCOMPARE(item->Caption(), QString("title"));
    } else if (property == "HideButton") {
        item->SetHideButton(true);
        QVERIFY(item->HideButton());
    } else if (property == "LockSize") {
        item->SetLockSize(true);
        QVERIFY(item->LockSize());
    } else {
        item->SetItemData(42);
        QCOMPARE(item->ItemData(), QVariant(42));
    }
    QCOMPARE(f.log.count("Redraw"), redraws);
    QCOMPARE(f.log.size(), redraws);
    // Positions are the strip's to change, at its next layout.
    QCOMPARE(item->Left(), 120);
    QCOMPARE(item->Width(), 90);
}

void TabModelTest::formAssignmentKeepsPreviousWindow()
{
    Fixture f(1, false);
    const std::shared_ptr<CTabItem> item = f.items().Item(0);
    QPointer<FakeForm> previous = f.forms[0];
    auto *next = new FakeForm(f.log, false);
    f.forms << next;
    item->SetForm(next);
    QCOMPARE(f.log, (CallLog{"Initialize", "ChangeForm"}));
    QCOMPARE(next->seenItem, item.get());
    QCOMPARE(next->strip.lock(), f.strip.self);
    QCOMPARE(item->Form(), static_cast<ITabForm *>(next));
    QCOMPARE(f.items().FindItem(static_cast<ITabForm *>(previous.data())), -1);
    processDeferredDeletes();
    QVERIFY(previous);
}

void TabModelTest::clearUnloadsAndTellsStrip()
{
    Fixture f(3);
    QVERIFY(f.items().Clear());
    QCOMPARE(f.items().Count(), 0);
    QCOMPARE(f.log, CallLog{"Clear"});
    for (const QPointer<FakeForm> &form : f.forms) {
        QVERIFY(!form);
    }
    f.add(QString("k0"));
    QCOMPARE(f.items().Count(), 1);
}

void TabModelTest::releasedFormSurvivesItsItem()
{
    Fixture f(2, false);
    QPointer<FakeForm> form = f.forms[1];
    QVERIFY(f.items().ReleaseForm("k1"));
    QCOMPARE(f.log, (CallLog{"BeforeRemove 1", "Remove 1"}));
    QCOMPARE(f.items().Count(), 1);
    processDeferredDeletes();
    QVERIFY(form);
    QVERIFY(form->isWindow());
    QVERIFY(form->isVisible());
}

void TabModelTest::releaseRefusals_data()
{
    QTest::addColumn<TabIndex>("index");
    QTest::addColumn<bool>("veto");
    QTest::addColumn<int>("count");

    QTest::newRow("unknown") << TabIndex("k9") << false << 2;
    QTest::newRow("vetoed") << TabIndex(0) << true << 2;
}

void TabModelTest::releaseRefusals()
{
    QFETCH(TabIndex, index);
    QFETCH(bool, veto);
    QFETCH(int, count);
    Fixture f(2, false);
    f.strip.veto = veto;
    QVERIFY(!f.items().ReleaseForm(index));
    QCOMPARE(f.items().Count(), count);
    QVERIFY(!f.forms[0]->isVisible());
}

void TabModelTest::itemsOutliveTheStrip()
{
    CallLog log;
    auto strip = std::make_unique<FakeStrip>(log);
    auto *form = new FakeForm(log, true);
    strip->items->Add("tab", form);
    std::shared_ptr<CTabItems> items = strip->items;
    strip.reset();
    log.clear();
    // The form and the host still hold what the strip made; neither reaches the strip now.
    form->item->SetCaption("after");
    QVERIFY(log.isEmpty());
    QCOMPARE(items->Selected(), -1);
    QVERIFY(items->Remove(0, true));
}

QTEST_MAIN(TabModelTest)
#include "tst_tabmodel.moc"
