// The page dialog on its own: what each way out answers, that it stands over its page only while
// the page shows, that it closes when its page reloads or goes, and when a run of dialogs offers
// to stop them.

#include "controls/iButton.h"
#include "mainwnd/PageDialog.h"
#include "platform/web/DialogFlood.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"
#include "tests/support/Parts.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace platform;
using Kind = PageDialogRequest::Kind;

namespace {

// Runs what the player does once the dialog shows, while Ask waits for it.
PageDialog::Answer askAndDo(WebBrowser &page, const PageDialogRequest &request,
                            const std::function<void(PageDialog *)> &player)
{
    QTimer::singleShot(0, &page, [&page, player] {
        QPointer<PageDialog> dialog = page.window()->findChild<PageDialog *>();
        [&] {
            QVERIFY(dialog);
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            player(dialog);
        }();
        // A player who failed half-way still lets the test go on.
        if (dialog) {
            dialog->reject();
        }
    });
    return PageDialog::Ask(&page, request);
}

void click(QWidget *part)
{
    QTest::mouseClick(part, Qt::LeftButton, {}, part->rect().center());
}

} // namespace

class PageDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void everyWayOutAnswers_data();
    void everyWayOutAnswers();
    void showsOnlyWhileItsPageShows();
    void closesUnansweredWhenItsPageReloadsOrGoes_data();
    void closesUnansweredWhenItsPageReloadsOrGoes();
    void aRunOfDialogsOffersToStopThem_data();
    void aRunOfDialogsOffersToStopThem();

private:
    std::unique_ptr<WebBrowser> m_page;
};

void PageDialogTest::init()
{
    m_page = std::make_unique<WebBrowser>();
    m_page->resize(640, 480);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void PageDialogTest::everyWayOutAnswers_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<bool>("stop");
    const int alert = int(Kind::Alert), confirm = int(Kind::Confirm), prompt = int(Kind::Prompt),
              permission = int(Kind::Permission);
    QTest::newRow("alert, Enter") << alert << "Return" << true << "" << true << false;
    QTest::newRow("confirm, 确定") << confirm << "iButton1" << true << "" << true << false;
    QTest::newRow("confirm, 取消") << confirm << "iButton2" << false << "" << true << false;
    QTest::newRow("confirm, ×") << confirm << "closebtn" << false << "" << false << false;
    QTest::newRow("confirm, Esc") << confirm << "Escape" << false << "" << false << false;
    QTest::newRow("prompt, as filled in")
        << prompt << "iButton1" << true << "默认" << true << false;
    QTest::newRow("prompt, typed, Enter") << prompt << "type" << true << "abc" << true << false;
    QTest::newRow("prompt, 取消") << prompt << "iButton2" << false << "" << true << false;
    QTest::newRow("permission, 允许") << permission << "iButton1" << true << "" << true << false;
    QTest::newRow("permission, 拒绝") << permission << "iButton2" << false << "" << true << false;
    QTest::newRow("permission, Esc") << permission << "Escape" << false << "" << false << false;
    QTest::newRow("stop ticked, 确定") << confirm << "stop" << true << "" << true << true;
}

void PageDialogTest::everyWayOutAnswers()
{
    QFETCH(int, kind);
    QFETCH(QString, way);
    PageDialogRequest request{Kind(kind), "http://127.0.0.1:8080", "确定出售这件装备？", "默认",
                              way == "stop"};
    const PageDialog::Answer answer = askAndDo(*m_page, request, [way](PageDialog *dialog) {
        if (way == "type") {
            QTest::keyClicks(dialog->Text1, "abc");
            QTest::keyClick(dialog->Text1, Qt::Key_Return);
        } else if (way == "stop") {
            QTest::mouseClick(dialog->Check1, Qt::LeftButton, {}, QPoint(6, 8));
            click(dialog->iButton1);
        } else if (way == "Return" || way == "Escape") {
            QTest::keyClick(dialog, way == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            click(PartOf<iButton>(dialog, qPrintable(way)));
        }
    });
    QTEST(answer.accepted, "accepted");
    QTEST(answer.text, "text");
    QTEST(answer.chosen, "chosen");
    QTEST(answer.stop, "stop");
}

// Another tab or the hidden window takes the dialog away with the page; the page brings it back.
void PageDialogTest::showsOnlyWhileItsPageShows()
{
    QList<bool> seen;
    askAndDo(*m_page, {Kind::Confirm, "http://127.0.0.1:8080", "?", {}, false},
             [&](PageDialog *dialog) {
                 m_page->hide();
                 seen << dialog->isVisible();
                 m_page->show();
                 QTRY_VERIFY(dialog->isVisible());
                 seen << dialog->geometry().intersects(m_page->geometry());
                 click(dialog->iButton1);
             });
    QCOMPARE(seen, QList<bool>({false, true}));
}

void PageDialogTest::closesUnansweredWhenItsPageReloadsOrGoes_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("the page reloads") << "reload";
    QTest::newRow("the page goes") << "delete";
    QTest::newRow("the window unloads") << "close all";
}

void PageDialogTest::closesUnansweredWhenItsPageReloadsOrGoes()
{
    QFETCH(QString, what);
    auto *page = new WebBrowser;
    page->resize(640, 480);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    const PageDialog::Answer answer = askAndDo(
        *page, {Kind::Prompt, "http://127.0.0.1:8080", "?", "默认", false}, [&](PageDialog *) {
            if (what == "reload") {
                emit page->CancelPageDialog();
            } else if (what == "delete") {
                delete page;
                page = nullptr;
            } else {
                PageDialog::CloseAll();
            }
        });
    QVERIFY(!answer.accepted && !answer.chosen && answer.text.isNull());
    QCOMPARE(PageDialog::Waiting(), 0);
    delete page;
}

void PageDialogTest::aRunOfDialogsOffersToStopThem_data()
{
    QTest::addColumn<QList<int>>("gapsMs"); // between one dialog's answer and the next
    QTest::addColumn<QList<bool>>("offers");
    QTest::newRow("one after another")
        << QList<int>{0, 0, 0, 0} << QList<bool>{false, false, true, true, true};
    QTest::newRow("a pause breaks the run")
        << QList<int>{100, 3500, 100, 100} << QList<bool>{false, false, false, false, true};
    QTest::newRow("just within the gap")
        << QList<int>{3000, 3000} << QList<bool>{false, false, true};
    QTest::newRow("far apart") << QList<int>{5000, 5000, 5000}
                               << QList<bool>{false, false, false, false};
}

// The time a dialog stays open does not count: each one here waits a minute for its answer.
void PageDialogTest::aRunOfDialogsOffersToStopThem()
{
    QFETCH(QList<int>, gapsMs);
    DialogFlood flood;
    qint64 now = 0;
    QList<bool> offers;
    for (int i = 0; i <= gapsMs.size(); ++i) {
        offers << flood.Opening(now);
        now += 60000;
        flood.Closed(now);
        now += i < gapsMs.size() ? gapsMs[i] : 0;
    }
    QTEST(offers, "offers");
}

int main(int argc, char *argv[])
{
    const EngineHome home;
    WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    PageDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pagedialog.moc"
