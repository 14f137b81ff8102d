#include "controls/BForm.h"
#include "controls/CaptionBarLayout.h"
#include "controls/iButton.h"
#include "platform/os/Resources.h"
#include "platform/winsys/Twips.h"
#include "platform/winsys/WindowProc.h"

#include <QPainter>
#include <QTest>

using namespace CaptionBarLayout;
using namespace platform;

namespace {

const QSize SkinTwips(1410, 1275);

QList<SkinPiece> piecesFrom(const QList<SkinPiece> &pieces, const QRect &source)
{
    QList<SkinPiece> found;
    for (const SkinPiece &piece : pieces) {
        if (piece.source == source) {
            found.append(piece);
        }
    }
    return found;
}

QImage seeThroughSkin()
{
    QImage skin(94, 85, QImage::Format_ARGB32);
    skin.fill(Qt::transparent);
    return skin;
}

// The leftmost column holding a white pixel in the caption's rows.
int captionStart(const QImage &bar)
{
    for (int x = 0; x < bar.width(); ++x) {
        for (int y = 0; y < bar.height(); ++y) {
            const QRgb pixel = bar.pixel(x, y);
            if (qRed(pixel) > 128 && qGreen(pixel) > 128 && qBlue(pixel) > 128) {
                return x;
            }
        }
    }
    return -1;
}

struct RecordedMessage {
    UINT uMsg;
    WPARAM wParam;
};

} // namespace

class BFormTest : public QObject {
    Q_OBJECT

private slots:
    void barTiles_data();
    void barTiles();
    void borderTiles_data();
    void borderTiles();
    void barEndsComeFromTheSkinEnds();
    void barAtRatioTwoKeepsTheSkinsDetail();
    void heightIsForcedTo495Twips_data();
    void heightIsForcedTo495Twips();
    void backColorIsDecimalText_data();
    void backColorIsDecimalText();
    void captionStartsAfterTheLogo_data();
    void captionStartsAfterTheLogo();
    void leftPressDragsTheOwnerWindow_data();
    void leftPressDragsTheOwnerWindow();
    void printformPaintsTheBorderBeneathTheForm();
    void propertiesWrittenInOrderWithDefaultsLeftOut();
    void propertiesRoundTrip();
};

void BFormTest::barTiles_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("rightEnd");

    QTest::newRow("7000 twips") << 7000 << 24 << 6000;
    QTest::newRow("one step short of a tile") << 299 << 1 << -701;
    QTest::newRow("whole steps") << 6000 << 21 << 5000;
    QTest::newRow("a wide window") << 1600 * 15 << 81 << 23000;
}

void BFormTest::barTiles()
{
    QFETCH(int, width);
    QFETCH(int, tiles);
    QFETCH(int, rightEnd);

    const QList<SkinPiece> pieces = BarPieces(width, SkinTwips);
    const QList<SkinPiece> tilePieces = piecesFrom(pieces, BarTileSource());
    QCOMPARE(tilePieces.size(), tiles);
    for (int i = 0; i < tilePieces.size(); ++i) {
        QCOMPARE(tilePieces[i].target, QPoint((i + 1) * 300, 0));
    }
    // The ends come last, so they lie over the tiles.
    QCOMPARE(pieces.size(), tiles + 2);
    QCOMPARE(pieces[tiles], (SkinPiece{QRect(0, 0, 545, 545), QPoint(0, 0)}));
    QCOMPARE(pieces[tiles + 1], (SkinPiece{QRect(410, 0, 1000, 545), QPoint(rightEnd, 0)}));
}

void BFormTest::borderTiles_data()
{
    QTest::addColumn<QSize>("form");
    QTest::addColumn<int>("bottomTiles");
    QTest::addColumn<int>("sideTiles");

    QTest::newRow("6000 x 4500") << QSize(6000, 4500) << 21 << 16;
    QTest::newRow("the message dialog") << QSize(5400, 2700) << 19 << 10;
}

void BFormTest::borderTiles()
{
    QFETCH(QSize, form);
    QFETCH(int, bottomTiles);
    QFETCH(int, sideTiles);

    const QList<SkinPiece> pieces = BorderPieces(form, SkinTwips);
    const QList<SkinPiece> bottom = piecesFrom(pieces, BottomEdgeSource(SkinTwips));
    const QList<SkinPiece> left = piecesFrom(pieces, LeftEdgeSource());
    const QList<SkinPiece> right = piecesFrom(pieces, RightEdgeSource(SkinTwips));
    QCOMPARE(bottom.size(), bottomTiles);
    QCOMPARE(left.size(), sideTiles);
    QCOMPARE(right.size(), sideTiles);
    QCOMPARE(pieces.size(), bottomTiles + 2 * sideTiles + 2);

    QCOMPARE(bottom.first().target, QPoint(300, form.height() - 60));
    QCOMPARE(bottom.last().target, QPoint(bottomTiles * 300, form.height() - 60));
    QCOMPARE(left.last().target, QPoint(0, sideTiles * 300));
    QCOMPARE(right.first().target, QPoint(form.width() - 60, 300));
    QCOMPARE(pieces[pieces.size() - 2].target, QPoint(0, form.height() - 60));
    QCOMPARE(pieces.last().target, QPoint(form.width() - 500, form.height() - 60));
}

void BFormTest::barEndsComeFromTheSkinEnds()
{
    BForm bar;
    bar.resize(300, 40);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const QImage skin = LoadBitmapResource(108);
    QCOMPARE(skin.size(), QSize(94, 85));
    const QImage drawn = bar.Image();
    QCOMPARE(drawn.size(), QSize(300, 33));
    for (int y : {0, 5, 32}) {
        QCOMPARE(drawn.pixel(0, y), skin.pixel(0, y));
        QCOMPARE(drawn.pixel(299, y), skin.pixel(93, y));
        QCOMPARE(drawn.pixel(299 - 66, y), skin.pixel(93 - 66, y));
        // Tiles repeat skin columns 20 to 39 from x = 20.
        QCOMPARE(drawn.pixel(150, y), skin.pixel(20 + (150 - 20) % 20, y));
    }
}

// Both ends of a bar drawn for a ratio of 2 are the sharp skin's pixels, at their places.
void BFormTest::barAtRatioTwoKeepsTheSkinsDetail()
{
    const QImage skin = LoadBitmapResource(108, 2);
    QImage surface(QSize(600, 66), QImage::Format_RGB32);
    surface.setDevicePixelRatio(2);
    QPainter painter(&surface);
    PaintPieces(painter, skin, BarPieces(300 * TwipsPerPixel, QSize(94, 85) * TwipsPerPixel));
    painter.end();
    for (int y : {0, 1, 10, 65}) {
        QCOMPARE(surface.pixel(0, y), skin.pixel(0, y));
        QCOMPARE(surface.pixel(599, y), skin.pixel(187, y));
        QCOMPARE(surface.pixel(599 - 132, y), skin.pixel(187 - 132, y));
    }
}

void BFormTest::heightIsForcedTo495Twips_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("lower") << 10;
    QTest::newRow("taller") << 100;
    QTest::newRow("the twips height in pixels") << 495;
}

void BFormTest::heightIsForcedTo495Twips()
{
    QFETCH(int, height);
    QWidget form;
    BForm *bar = new BForm(&form);
    bar->resize(200, height);
    QCOMPARE(bar->height() * TwipsPerPixel, 495);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    bar->setGeometry(0, 0, 400, height);
    QCOMPARE(bar->height(), 33);
    QCOMPARE(bar->Image().size(), QSize(400, 33));
}

void BFormTest::backColorIsDecimalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("255 is red") << "255"
                                << "255" << QColor(255, 0, 0);
    QTest::newRow("blanks around") << " 65280 "
                                   << "65280" << QColor(0, 255, 0);
    QTest::newRow("hexadecimal") << "&HFF0000"
                                 << "16711680" << QColor(0, 0, 255);
    QTest::newRow("not a number keeps the colour") << "red"
                                                   << "14346732" << QColor(236, 233, 218);
    QTest::newRow("too big keeps the colour") << "99999999999"
                                              << "14346732" << QColor(236, 233, 218);
}

void BFormTest::backColorIsDecimalText()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QFETCH(QColor, colour);

    BForm bar;
    bar.resize(200, 33);
    // The background shows only where the skin does not cover the bar.
    bar.SetSkin(seeThroughSkin());
    bar.SetCaption(QString());
    bar.SetBackColor(text);
    QCOMPARE(bar.BackColor(), readBack);
    QCOMPARE(bar.Image().pixelColor(100, 16), colour);
}

void BFormTest::captionStartsAfterTheLogo_data()
{
    QTest::addColumn<bool>("hasLogo");
    QTest::addColumn<int>("start");

    QTest::newRow("plain") << false << 150 / 15;
    QTest::newRow("with logo") << true << 600 / 15;
}

void BFormTest::captionStartsAfterTheLogo()
{
    QFETCH(bool, hasLogo);
    QFETCH(int, start);

    BForm bar;
    bar.resize(300, 33);
    bar.SetSkin(seeThroughSkin());
    bar.SetBackColor("0");
    bar.SetCaption("Vantor客户端");
    bar.SetHasLogo(hasLogo);
    const int drawnStart = captionStart(bar.Image());
    // The first glyph's ink starts at or just right of the pen position.
    QVERIFY2(drawnStart >= start && drawnStart <= start + 2,
             qPrintable(QString::number(drawnStart)));
}

void BFormTest::leftPressDragsTheOwnerWindow_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<QStringList>("sequence");

    QTest::newRow("left") << Qt::LeftButton << true << QStringList{"message 161 2", "MouseDown 1"};
    QTest::newRow("right") << Qt::RightButton << true << QStringList{"MouseDown 2"};
    QTest::newRow("left without owner") << Qt::LeftButton << false << QStringList{"MouseDown 1"};
}

void BFormTest::leftPressDragsTheOwnerWindow()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, owned);
    QFETCH(QStringList, sequence);

    QWidget form;
    form.setGeometry(300, 300, 300, 200);
    BForm *bar = new BForm(&form);
    bar->setGeometry(0, 0, 300, 33);
    QStringList seen;
    // Stands in for the window system's move: records the message and goes no further.
    SetWindowProc(HandleOf(&form), MakeWindowProc([&seen](HWND, UINT uMsg, WPARAM wParam, LPARAM) {
                      if (uMsg == wm::NcLButtonDown) {
                          seen << QString("message %1 %2").arg(uMsg).arg(wParam);
                      }
                      return LRESULT(0);
                  }));
    if (owned) {
        bar->SetfrmHwnd(HandleOf(&form));
    }
    connect(bar, &BForm::MouseDown, [&seen](short &Button, short &, float &X, float &Y) {
        seen << QString("MouseDown %1").arg(Button);
        QCOMPARE(X, 100.0f * 15);
        QCOMPARE(Y, 10.0f * 15);
    });
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mousePress(bar, button, {}, QPoint(100, 10));
    QTest::mouseRelease(bar, button, {}, QPoint(100, 10));
    QCOMPARE(seen, sequence);
}

void BFormTest::printformPaintsTheBorderBeneathTheForm()
{
    const QImage skin = LoadBitmapResource(108);
    QWidget form;
    form.setWindowFlag(Qt::FramelessWindowHint);
    form.resize(400, 300); // 6000 x 4500 twips
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, Qt::white);
    form.setPalette(palette);
    BForm *bar = new BForm(&form);
    bar->setGeometry(0, 0, 400, 33);
    bar->Printform(&form);

    const QImage border = bar->FormImage();
    QCOMPARE(border.size(), QSize(400, 300));
    for (int depth = 0; depth < 4; ++depth) {
        QCOMPARE(border.pixel(depth, 150), skin.pixel(depth, 60));
        QCOMPARE(border.pixel(399 - depth, 150), skin.pixel(93 - depth, 60));
        QCOMPARE(border.pixel(200, 299 - depth), skin.pixel(40, 84 - depth));
    }
    QCOMPARE(border.pixel(0, 299), skin.pixel(0, 84));
    QCOMPARE(border.pixel(399, 299), skin.pixel(93, 84));
    QCOMPARE(border.pixelColor(200, 150), QColor(Qt::white));

    // The form shows it beneath its children.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage shown = form.grab().toImage();
    QCOMPARE(shown.pixel(0, 150), skin.pixel(0, 60));
    QCOMPARE(shown.pixel(200, 299), skin.pixel(40, 84));
    QCOMPARE(shown.pixel(10, 10), bar->Image().pixel(10, 10));
}

void BFormTest::propertiesWrittenInOrderWithDefaultsLeftOut()
{
    BForm fresh;
    QCOMPARE(fresh.Caption(), QString("NewForm"));
    QCOMPARE(fresh.frmHwnd(), HWND(0));
    PropertyBag bag;
    fresh.WriteProperties(bag);
    QCOMPARE(bag.Keys(), QStringList{"haslogo"});

    BForm changed;
    changed.SetHasLogo(true);
    changed.SetfrmHwnd(0x10001);
    changed.SetCaption("Vantor客户端");
    changed.SetBackColor("255");
    PropertyBag all;
    changed.WriteProperties(all);
    QCOMPARE(all.Keys(), (QStringList{"backcolor", "caption", "frmhwnd", "haslogo"}));
}

void BFormTest::propertiesRoundTrip()
{
    BForm original;
    original.SetBackColor("255");
    original.SetCaption("更新");
    original.SetHasLogo(true);
    original.SetfrmHwnd(0x10042);
    PropertyBag bag;
    original.WriteProperties(bag);
    const auto stored = PropertyBag::FromContents(bag.Contents());
    QVERIFY(stored);

    BForm loaded;
    loaded.resize(300, 33);
    loaded.ReadProperties(*stored);
    QCOMPARE(loaded.BackColor(), QString("255"));
    QCOMPARE(loaded.Caption(), QString("更新"));
    QVERIFY(loaded.HasLogo());
    QCOMPARE(loaded.frmHwnd(), HWND(0x10042));
    // Read back and painted with the logo's room.
    loaded.SetSkin(seeThroughSkin());
    QCOMPARE(loaded.Image().pixelColor(200, 2), QColor(255, 0, 0));
    QVERIFY(captionStart(loaded.Image()) >= 40);
}

QTEST_MAIN(BFormTest)
#include "tst_bform.moc"
