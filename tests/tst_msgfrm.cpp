// The exit dialog on its own: what each way out answers, where its close button sits, its drag.

#include "app/MsgFrm.h"
#include "controls/BForm.h"
#include "controls/iButton.h"
#include "platform/winsys/Twips.h"
#include "tests/support/Parts.h"

#include <QCursor>
#include <QTest>

class MsgFrmTest : public QObject {
    Q_OBJECT

private slots:
    void everyWayOutAnswers_data();
    void everyWayOutAnswers();
    void closeButtonKeepsItsPlaceFromTheRight_data();
    void closeButtonKeepsItsPlaceFromTheRight();
    void captionBarDragsTheDialog();
};

void MsgFrmTest::everyWayOutAnswers_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");
    for (const bool before : {false, true}) {
        const char *start = before ? "confirmed" : "unconfirmed";
        QTest::addRow("是, %s", start) << "iButton1" << before << true;
        QTest::addRow("否, %s", start) << "iButton2" << before << false;
        QTest::addRow("×, %s", start) << "closebtn" << before << false;
        // Closed by other means the dialog leaves the flag as it found it.
        QTest::addRow("Esc, %s", start) << "Esc" << before << before;
    }
}

void MsgFrmTest::everyWayOutAnswers()
{
    QFETCH(QString, way);
    QFETCH(bool, before);
    QFETCH(bool, after);
    bool flag = before;
    MsgFrm dialog(flag);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (way == "Esc") {
        QTest::keyClick(&dialog, Qt::Key_Escape);
    } else {
        iButton *button = PartOf<iButton>(&dialog, qPrintable(way));
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(flag, after);
}

void MsgFrmTest::closeButtonKeepsItsPlaceFromTheRight_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("left");
    QTest::newRow("as designed") << 242 << 193; // 3630 - 730 twips
    QTest::newRow("wider") << 300 << 251;       // 4500 - 730 twips
}

void MsgFrmTest::closeButtonKeepsItsPlaceFromTheRight()
{
    QFETCH(int, width);
    QFETCH(int, left);
    bool flag = false;
    MsgFrm dialog(flag);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.setFixedSize(width, dialog.height());
    QTRY_COMPARE(PartOf<iButton>(&dialog, "closebtn")->x(), left);
}

void MsgFrmTest::captionBarDragsTheDialog()
{
    bool flag = false;
    MsgFrm dialog(flag);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    BForm *bar = PartOf<BForm>(&dialog, "BForm1");
    const QPoint start = dialog.pos();
    const QPoint grip(60, 15);
    QCursor::setPos(bar->mapToGlobal(grip));
    QTRY_COMPARE(QCursor::pos(), bar->mapToGlobal(grip));
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(-50, 40));
    QTRY_COMPARE(dialog.pos(), start + QPoint(-50, 40));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(-50, 40));
}

QTEST_MAIN(MsgFrmTest)
#include "tst_msgfrm.moc"
