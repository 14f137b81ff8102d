#include "app/Forms.h"
#include "app/MsgFrm.h"
#include "controls/iButton.h"
#include "mainwnd/WebMainFrm.h"
#include "mainwnd/cSetStyle.h"
#include "platform/Program.h"
#include "platform/WindowProc.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/ITabForm.h"
#include "tabstrip/TabMetrics.h"
#include "tabstrip/uTab.h"
#include "tests/support/PageForm.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

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

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void setUrlOpensOrSelects_data();
    void setUrlOpensOrSelects();
    void everyCloseAsksOnce_data();
    void everyCloseAsksOnce();
    void loadMaximisesAndRestoreCentres();

private:
    WebMainFrm *open(const QStringList &addresses);
    void requestClose(const QString &path);
    QPoint lastTabCloseMark() const;

    std::unique_ptr<ScopedReplacement<WebMainFrm::PageFormService>> m_pages;
    std::unique_ptr<ScopedReplacement<EndProgramService>> m_end;
    QPointer<WebMainFrm> m_main;
    QList<QPointer<QWidget>> m_forms;
    int m_ended = 0;
};

void MainWindowTest::init()
{
    m_pages = std::make_unique<ScopedReplacement<WebMainFrm::PageFormService>>(
        WebMainFrm::PageFormProvider(), [this](const QString &) {
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

QPoint MainWindowTest::lastTabCloseMark() const
{
    uTab *strip = m_main->WebuTab;
    const auto tab = strip->TabItems()->Item(strip->TabItems()->Count() - 1);
    return QPoint(strip->TabLeftSize(), 0) +
           TabMetrics::ForStyle(strip->TabStyle()).ClosePos(tab->Left(), tab->Width()) +
           QPoint(6, 6);
}

void MainWindowTest::requestClose(const QString &path)
{
    if (path == "close button") {
        QTest::mouseClick(m_main->web_close, Qt::LeftButton, {},
                          m_main->web_close->rect().center());
    } else if (path == "system close") {
        SendMessage(HandleOf(m_main), wm::SysCommand, SC_CLOSE, 0);
    } else if (path == "window manager") {
        m_main->close();
    } else if (path == "last tab's mark") {
        const QPoint mark = lastTabCloseMark();
        // The pointer really moves there; the strip hears of it on the server's next event.
        QTest::mouseMove(m_main->WebuTab, mark + QPoint(0, 100));
        QTest::mouseMove(m_main->WebuTab, mark);
        QTRY_COMPARE(m_main->WebuTab->CloseState(), 1);
        QTest::mouseClick(m_main->WebuTab, Qt::LeftButton, {}, mark);
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
    QCOMPARE(m_main->WebuTab->TabItems()->Count(), tabs);
    QCOMPARE(m_main->WebuTab->Selected(), selected);
    QCOMPARE(m_forms.size(), tabs);
    QVERIFY(m_main->Picture1->isHidden());
}

void MainWindowTest::everyCloseAsksOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("askAgainWhileOpen");

    for (const char *path : {"close button", "system close", "window manager", "last tab's mark"}) {
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
        QCOMPARE(m_main->WebuTab->TabItems()->Count(), 1);
    }
}

void MainWindowTest::loadMaximisesAndRestoreCentres()
{
    QVERIFY(open({"http://game.test/play"}));
    const QRect screen = m_main->screen()->availableGeometry();
    QTRY_COMPARE(m_main->geometry(), screen);
    QVERIFY(m_main->web_minmax->Value());

    QTest::mouseClick(m_main->web_minmax, Qt::LeftButton, {}, m_main->web_minmax->rect().center());
    QVERIFY(!m_main->web_minmax->Value());
    const QSize design(1036, 639);
    const QRect full = m_main->screen()->geometry();
    QTRY_COMPARE(m_main->geometry(), QRect(QPoint((full.width() - design.width()) / 2,
                                                  (full.height() - design.height()) / 2),
                                           design));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwnd.moc"
