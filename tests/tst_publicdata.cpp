#include "app/ModGetTaskbarHei.h"
#include "app/PublicData.h"
#include "platform/os/Resources.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

class PublicDataTest : public QObject {
    Q_OBJECT

private slots:
    void picturesHaveTheirLayoutSizes_data();
    void picturesHaveTheirLayoutSizes();
    void iconFileHoldsSixSizes();
    void splashAndBackdropHaveTransparentAndOpaquePixels_data();
    void splashAndBackdropHaveTransparentAndOpaquePixels();
    void backdropPanelIsOpaque();
    void preloadedPictureIsTheOneAskedFor_data();
    void preloadedPictureIsTheOneAskedFor();

    void saveResourceWritesTheExactBytes();
    void saveResourceFailureLeavesTheFileAlone_data();
    void saveResourceFailureLeavesTheFileAlone();

    void taskbarHeight_data();
    void taskbarHeight();
};

void PublicDataTest::picturesHaveTheirLayoutSizes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");

    QTest::newRow("splash") << "PNG" << 102 << QSize(356, 122);
    QTest::newRow("backdrop") << "PNG" << 101 << QSize(1237, 696);
    QTest::newRow("minimise strip") << "BITMAP" << 101 << QSize(72, 18);
    QTest::newRow("maximise/restore strip") << "BITMAP" << 102 << QSize(150, 18);
    QTest::newRow("close strip") << "BITMAP" << 103 << QSize(129, 18);
    QTest::newRow("tool strip") << "BITMAP" << 104 << QSize(72, 18);
    QTest::newRow("logo") << "BITMAP" << 105 << QSize(29, 29);
    QTest::newRow("tab skin 0") << "BITMAP" << 106 << QSize(415, 25);
    QTest::newRow("tab skin 1") << "BITMAP" << 107 << QSize(421, 28);
    QTest::newRow("caption bar skin") << "BITMAP" << 108 << QSize(94, 85);
}

void PublicDataTest::picturesHaveTheirLayoutSizes()
{
    QFETCH(QString, type);
    QFETCH(int, id);
    QFETCH(QSize, size);
    const QImage image = QImage::fromData(platform::LoadResource(type, id));
    QVERIFY2(!image.isNull(), qPrintable(QString("%1 %2 is missing").arg(type).arg(id)));
    QCOMPARE(image.size(), size);
}

void PublicDataTest::iconFileHoldsSixSizes()
{
    QByteArray bytes = platform::LoadResource("ICON", 101);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QList<int> sizes;
    do {
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        sizes.append(image.width());
    } while (reader.jumpToNextImage());
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, (QList<int>{16, 24, 32, 48, 64, 128}));
}

void PublicDataTest::splashAndBackdropHaveTransparentAndOpaquePixels_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("backdrop") << 101;
    QTest::newRow("splash") << 102;
}

void PublicDataTest::splashAndBackdropHaveTransparentAndOpaquePixels()
{
    QFETCH(int, id);
    const QImage image = PublicData::LoadPngResource(id, "PNG");
    QVERIFY(image.hasAlphaChannel());
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
}

void PublicDataTest::backdropPanelIsOpaque()
{
    // The login page sits exactly on this panel; a see-through pixel would show the desktop.
    const QImage image = PublicData::LoadPngResource(101, "PNG");
    for (int y = 119; y <= 574; ++y) {
        for (int x = 399; x <= 1146; ++x) {
            if (qAlpha(image.pixel(x, y)) != 255) {
                QFAIL(qPrintable(QString("panel pixel (%1, %2) is not opaque").arg(x).arg(y)));
            }
        }
    }
}

void PublicDataTest::preloadedPictureIsTheOneAskedFor_data()
{
    QTest::addColumn<qreal>("preloaded");
    QTest::addColumn<qreal>("asked");
    QTest::newRow("as preloaded") << 1.0 << 1.0;
    QTest::newRow("sharp, as preloaded") << 2.0 << 2.0;
    QTest::newRow("preloaded sharp, asked plain") << 2.0 << 1.0;
    QTest::newRow("preloaded plain, asked sharp") << 1.0 << 2.0;
}

void PublicDataTest::preloadedPictureIsTheOneAskedFor()
{
    QFETCH(qreal, preloaded);
    QFETCH(qreal, asked);
    platform::PreloadPictureResource("PNG", 101, preloaded);
    const QImage image = platform::LoadPictureResource("PNG", 101, asked);
    QCOMPARE(image.devicePixelRatio(), asked);
    QCOMPARE(image, platform::LoadPictureResource("PNG", 101, asked));
}

void PublicDataTest::saveResourceWritesTheExactBytes()
{
    QTemporaryDir scratch;
    const QString path = scratch.filePath("qvmr.ico");
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray(200000, 'x')); // longer than the icon: must not leave a tail
    stale.close();

    QVERIFY(PublicData::SaveResourceToFile(101, "ICON", path));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), platform::LoadResource("ICON", 101));
}

void PublicDataTest::saveResourceFailureLeavesTheFileAlone_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("relativePath");

    QTest::newRow("unknown resource") << "ICON" << 999 << "existing.bin";
    QTest::newRow("unknown type") << "NOPE" << 101 << "existing.bin";
    QTest::newRow("folder missing") << "ICON" << 101 << "missing/target.ico";
    QTest::newRow("target is a folder") << "ICON" << 101 << "folder";
}

void PublicDataTest::saveResourceFailureLeavesTheFileAlone()
{
    QFETCH(QString, type);
    QFETCH(int, id);
    QFETCH(QString, relativePath);

    QTemporaryDir scratch;
    QVERIFY(QDir(scratch.path()).mkdir("folder"));
    const QString existing = scratch.filePath("existing.bin");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();

    QVERIFY(!PublicData::SaveResourceToFile(id, type, scratch.filePath(relativePath)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
    QVERIFY(QFileInfo(scratch.filePath("folder")).isDir());
}

void PublicDataTest::taskbarHeight_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<int>("twips");

    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("bottom, 40 px") << screen << QRect(0, 0, 1920, 1040) << 600;
    QTest::newRow("bottom, 1 px") << screen << QRect(0, 0, 1920, 1079) << 15;
    QTest::newRow("top") << screen << QRect(0, 40, 1920, 1040) << 0;
    QTest::newRow("left") << screen << QRect(60, 0, 1860, 1080) << 0;
    QTest::newRow("right") << screen << QRect(0, 0, 1860, 1080) << 0;
    QTest::newRow("no taskbar") << screen << screen << 0;
    QTest::newRow("screen below another")
        << QRect(0, 1080, 1920, 1080) << QRect(0, 1080, 1920, 1032) << 720;
}

void PublicDataTest::taskbarHeight()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, workArea);
    QFETCH(int, twips);
    QCOMPARE(int(ModGetTaskbarHei::TaskbarHeightTwips(screen, workArea, 15)), twips);
}

QTEST_MAIN(PublicDataTest)
#include "tst_publicdata.moc"
