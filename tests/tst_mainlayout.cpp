#include "mainwnd/MainLayout.h"

#include <QTest>

namespace {

// A control's place in pixels, or nothing when its rule gives it no valid size.
std::optional<QRect> placed(const MainLayout::Placement &place, const QString &control)
{
    const QHash<QString, std::optional<QRect>> byName{
        {"WebBForm", place.WebBForm},         {"web_close", place.web_close},
        {"web_minmax", place.web_minmax},     {"web_min", place.web_min},
        {"web_tool", place.web_tool},         {"WebuTab", place.WebuTab},
        {"GameSpaceBtn", place.GameSpaceBtn}, {"OtherUserBtn", place.OtherUserBtn},
        {"Picture1", place.Picture1},
    };
    const std::optional<QRect> twips = byName.value(control);
    return twips ? std::optional(MainLayout::ToPixels(*twips)) : std::nullopt;
}

} // namespace

class MainLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
};

void MainLayoutTest::placement_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("expected"); // null: the control keeps where it was

    const QSize design(1036, 639);
    QTest::newRow("design bar") << design << "WebBForm" << QRect(0, 0, 1036, 33);
    QTest::newRow("design close") << design << "web_close" << QRect(987, 1, 43, 18);
    QTest::newRow("design minmax") << design << "web_minmax" << QRect(962, 1, 25, 18);
    QTest::newRow("design min") << design << "web_min" << QRect(938, 1, 24, 18);
    QTest::newRow("design tool") << design << "web_tool" << QRect(914, 1, 24, 18);
    QTest::newRow("design strip") << design << "WebuTab" << QRect(153, 3, 576, 32);
    QTest::newRow("design home") << design << "GameSpaceBtn" << QRect(816, 0, 81, 22);
    QTest::newRow("design other user") << design << "OtherUserBtn" << QRect(713, 0, 99, 22);
    QTest::newRow("design pages") << design << "Picture1" << QRect(4, 32, 1028, 603);

    const QSize large(1280, 984);
    QTest::newRow("large close") << large << "web_close" << QRect(1231, 1, 43, 18);
    QTest::newRow("large tool") << large << "web_tool" << QRect(1158, 1, 24, 18);
    QTest::newRow("large strip") << large << "WebuTab" << QRect(153, 3, 820, 32);
    QTest::newRow("large other user") << large << "OtherUserBtn" << QRect(957, 0, 99, 22);
    QTest::newRow("large pages") << large << "Picture1" << QRect(4, 32, 1272, 948);

    // Too small for the strip and the pages: those rules fail alone, the buttons still move.
    const QSize tiny(400, 30);
    QTest::newRow("tiny strip") << tiny << "WebuTab" << QRect();
    QTest::newRow("tiny pages") << tiny << "Picture1" << QRect();
    QTest::newRow("tiny close") << tiny << "web_close" << QRect(351, 1, 43, 18);
}

void MainLayoutTest::placement()
{
    QFETCH(QSize, window);
    QFETCH(QString, control);
    QFETCH(QRect, expected);
    const std::optional<QRect> rect = placed(MainLayout::Place(window * 15), control);
    QCOMPARE(rect.value_or(QRect()), expected);
}

QTEST_APPLESS_MAIN(MainLayoutTest)
#include "tst_mainlayout.moc"
