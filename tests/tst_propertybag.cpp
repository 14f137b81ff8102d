#include "platform/winsys/PropertyBag.h"

#include <QFont>
#include <QImage>
#include <QTest>

using platform::PropertyBag;

namespace {

QImage smallPicture()
{
    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(1, 1, qRgb(255, 0, 255));
    picture.setPixel(4, 2, qRgba(10, 20, 30, 128));
    return picture;
}

} // namespace

class PropertyBagTest : public QObject {
    Q_OBJECT

private slots:
    void keysMatchWithoutRegardToCase_data();
    void keysMatchWithoutRegardToCase();
    void valueEqualToDefaultIsNotStored_data();
    void valueEqualToDefaultIsNotStored();
    void contentsRoundTrip_data();
    void contentsRoundTrip();
    void damagedContentsAreRefused_data();
    void damagedContentsAreRefused();
};

void PropertyBagTest::keysMatchWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");

    QTest::newRow("as declared, read lower") << "BackPicture"
                                             << "backpicture";
    QTest::newRow("lower, read upper") << "autosize"
                                       << "AUTOSIZE";
    QTest::newRow("mixed both ways") << "cForeColor"
                                     << "CfOrEcOlOr";
}

void PropertyBagTest::keysMatchWithoutRegardToCase()
{
    QFETCH(QString, written);
    QFETCH(QString, read);

    PropertyBag bag;
    bag.WriteProperty(written, 42);
    QVERIFY(bag.Contains(read));
    QCOMPARE(bag.ReadProperty(read, 7).toInt(), 42);
    QCOMPARE(bag.Keys(), QStringList{written.toLower()});

    // Writing again under another case replaces the value instead of adding a key.
    bag.WriteProperty(read, 43);
    QCOMPARE(bag.Keys().size(), 1);
    QCOMPARE(bag.ReadProperty(written).toInt(), 43);
}

void PropertyBagTest::valueEqualToDefaultIsNotStored_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("defaultValue");
    QTest::addColumn<bool>("stored");

    QTest::newRow("boolean default") << QVariant(true) << QVariant(true) << false;
    QTest::newRow("boolean changed") << QVariant(false) << QVariant(true) << true;
    QTest::newRow("empty text default") << QVariant(QString()) << QVariant(QString("")) << false;
    QTest::newRow("colour default") << QVariant(14346732u) << QVariant(14346732u) << false;
    QTest::newRow("no picture default")
        << QVariant::fromValue(QImage()) << QVariant::fromValue(QImage()) << false;
    QTest::newRow("picture set") << QVariant::fromValue(smallPicture())
                                 << QVariant::fromValue(QImage()) << true;
    QTest::newRow("no default given") << QVariant(0) << QVariant() << true;
}

void PropertyBagTest::valueEqualToDefaultIsNotStored()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, defaultValue);
    QFETCH(bool, stored);

    PropertyBag bag;
    bag.WriteProperty("Key", QString("an earlier value"));
    bag.WriteProperty("Key", value, defaultValue);
    QCOMPARE(bag.Contains("key"), stored);
    // Whatever was stored before, reading gives back what was written.
    QCOMPARE(bag.ReadProperty("key", defaultValue), value);
}

void PropertyBagTest::contentsRoundTrip_data()
{
    QTest::addColumn<QVariant>("value");

    QFont font("Noto Serif CJK SC", 9);
    font.setBold(true);
    QTest::newRow("integer") << QVariant(-2147483633);
    QTest::newRow("colour") << QVariant(0x80000012u);
    QTest::newRow("boolean") << QVariant(false);
    QTest::newRow("chinese text") << QVariant(QString("宋体 客户端"));
    QTest::newRow("picture") << QVariant::fromValue(smallPicture());
    QTest::newRow("font") << QVariant::fromValue(font);
}

void PropertyBagTest::contentsRoundTrip()
{
    QFETCH(QVariant, value);

    PropertyBag bag;
    bag.WriteProperty("First", QString("before"));
    bag.WriteProperty("Value", value);
    bag.WriteProperty("Last", 1);

    const std::optional<PropertyBag> copy = PropertyBag::FromContents(bag.Contents());
    QVERIFY(copy);
    QCOMPARE(copy->Keys(), bag.Keys());
    QCOMPARE(copy->ReadProperty("value"), value);
    QCOMPARE(copy->ReadProperty("value").metaType(), value.metaType());
    QCOMPARE(copy->Contents(), bag.Contents());
}

void PropertyBagTest::damagedContentsAreRefused_data()
{
    QTest::addColumn<QByteArray>("data");

    PropertyBag bag;
    bag.WriteProperty("Caption", QString("Vantor"));
    bag.WriteProperty("BackPicture", QVariant::fromValue(smallPicture()));
    const QByteArray good = bag.Contents();

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("foreign bytes") << QByteArray("version=1.1.0\r\n");
    QTest::newRow("cut after the header") << good.left(10);
    QTest::newRow("cut in the picture") << good.left(good.size() - 5);
    QTest::newRow("trailing bytes") << good + QByteArray("x");
}

void PropertyBagTest::damagedContentsAreRefused()
{
    QFETCH(QByteArray, data);
    QVERIFY(!PropertyBag::FromContents(data));
}

QTEST_MAIN(PropertyBagTest)
#include "tst_propertybag.moc"
