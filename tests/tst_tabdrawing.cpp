#include "platform/os/Resources.h"
#include "platform/winsys/Gdi.h"
#include "platform/winsys/MemDC.h"
#include "tabstrip/TabDrawing.h"
#include "tabstrip/TabError.h"
#include "tabstrip/TabLayout.h"
#include "tabstrip/TabMetrics.h"
#include "tabstrip/mdlTabAPI.h"

#include <QTest>

using namespace mdlTabAPI;
using namespace TabDrawing;
using namespace TabLayout;

namespace {

const QRgb Magenta = qRgb(255, 0, 255);
const QRgb White = qRgb(255, 255, 255);
const int FaceNormal = 0, FaceHot = 1, FaceSelected = 2;
const int MarkSelected = 0, MarkNormal = 1, MarkHot = 2, MarkPressed = 3;

int faceWidthOf(int style)
{
    return style == 0 ? 122 : 124;
}

// Every pixel of a face tells which face and which column it came from: red is 50 + 60 x face,
// green the column inside the face, blue the row. A close mark is red 230 with green
// 10 + 50 x mark. Each face and mark has one key-coloured corner, as the real skins have
// key-coloured edges.
QRgb facePixel(int face, int column, int row)
{
    return qRgb(50 + 60 * face, column, row);
}

QRgb markPixel(int mark)
{
    return qRgb(230, 10 + 50 * mark, 100);
}

QRgb backgroundPixel(int row)
{
    return qRgb(10, 20 + row, 30);
}

// The row of the background column a pixel came from; -1 for any other pixel.
int backgroundRow(QRgb pixel)
{
    return qRed(pixel) == 10 && qBlue(pixel) == 30 ? qGreen(pixel) - 20 : -1;
}

QImage syntheticSkin(int style)
{
    const int fw = faceWidthOf(style);
    const int faceHeight = TabMetrics::ForStyle(style).FaceHeight;
    QImage skin(1 + 3 * fw + 4 * 12, style == 0 ? 25 : 28, QImage::Format_RGB32);
    skin.fill(Magenta);
    for (int y = 0; y < skin.height(); ++y) {
        skin.setPixel(0, y, backgroundPixel(y));
    }
    for (int face = 0; face < 3; ++face) {
        for (int y = 0; y < faceHeight; ++y) {
            for (int x = 0; x < fw; ++x) {
                skin.setPixel(1 + face * fw + x, y, facePixel(face, x, y));
            }
        }
        skin.setPixel(1 + face * fw, 0, Magenta);
    }
    for (int mark = 0; mark < 4; ++mark) {
        const int left = 1 + 3 * fw + 12 * mark;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                skin.setPixel(left + x, y, markPixel(mark));
            }
        }
        skin.setPixel(left, 0, Magenta);
    }
    return skin;
}

// A strip composed from the synthetic skin: its frame and what it was made of.
struct Composition {
    Composition(int style, int count, int stripWidth = 800, int leftSize = 40, int rightSize = 0)
        : skin(CreateMemDCFromBitmap(syntheticSkin(style)))
    {
        scene.Strip = {style, stripWidth, leftSize, rightSize};
        // Captions are left out unless a case wants one: they would cover the pixels read.
        scene.Tabs.resize(count);
        LayoutTabs(style, CalcTabWidth(scene.Strip, scene.Tabs), scene.Tabs);
        PlaceTabs(style, scene.Tabs);
        art.Skin = skin.get();
    }

    // Places the tabs again, as the strip does after a tab changed, and composes.
    QImage compose()
    {
        PlaceTabs(scene.Strip.Style, scene.Tabs);
        const int height = TabMetrics::ForStyle(scene.Strip.Style).StripHeight;
        back = CreateMemBitmapDC(scene.Strip.Width, height);
        frame = CreateMemBitmapDC(scene.Strip.Width, height);
        const int band = scene.Strip.BandWidth();
        tabs = band >= 0 ? CreateMemBitmapDC(band, height) : nullptr;
        DrawDefaultBackground(scene.Strip, art, back.get());
        DrawTabs(scene, art, tabs.get(), back.get(), frame.get());
        return frame->Bitmap();
    }

    // A pixel of tab i's face, dx from the face's left edge, in frame coordinates.
    QPoint facePoint(int i, int dx, int y) const
    {
        return QPoint(scene.Strip.LeftSize + scene.Tabs[i].Face.x() + dx, y);
    }
    QPoint markPoint(int i, int dx, int dy) const
    {
        return QPoint(scene.Strip.LeftSize, 0) + scene.Tabs[i].Close.topLeft() + QPoint(dx, dy);
    }

    Scene scene;
    Art art;
    std::unique_ptr<MemDC> skin, back, frame, tabs;
};

QRgb rgb(const QImage &image, QPoint at)
{
    return image.pixel(at) | 0xFF000000;
}

// The bounding box of the pixels that are ink.
template <typename Ink> QRect boxOf(const QImage &image, Ink ink)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (ink(rgb(image, {x, y}))) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// The bounding box of the pixels that differ from the colour.
QRect inkBox(const QImage &image, QRgb paper)
{
    return boxOf(image, [paper](QRgb pixel) { return pixel != paper; });
}

std::unique_ptr<MemDC> plainDC(int cx, int cy, QRgb colour)
{
    std::unique_ptr<MemDC> dc = CreateMemBitmapDC(cx, cy);
    dc->Bitmap().fill(colour);
    return dc;
}

} // namespace

class TabDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void skinsHaveTheirLayout_data();
    void skinsHaveTheirLayout();
    void buffersThatCannotBeMade_data();
    void buffersThatCannotBeMade();
    void nineGridKeepsCapsAndStretchesCentre();
    void nineGridWithoutMarginsIsPlainStretch();
    void nineGridWithoutAreaDrawsNothing_data();
    void nineGridWithoutAreaDrawsNothing();
    void nineGridAveragesWhenStretching();
    void transBltLeavesKeyOut();
    void captionPlacement_data();
    void captionPlacement();
    void backgroundStretchesFirstColumn_data();
    void backgroundStretchesFirstColumn();
    void faces_data();
    void faces();
    void closeMarks_data();
    void closeMarks();
    void drawingOrder();
    void drawingAndHitTestAgree_data();
    void drawingAndHitTestAgree();
    void bandWithoutBufferLeavesBackground();
};

void TabDrawingTest::skinsHaveTheirLayout_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    QTest::newRow("106") << 106 << QSize(415, 25);
    QTest::newRow("107") << 107 << QSize(421, 28);
}

void TabDrawingTest::skinsHaveTheirLayout()
{
    QFETCH(int, id);
    QFETCH(QSize, size);
    const QImage skin = platform::LoadBitmapResource(id);
    QCOMPARE(skin.size(), size);
    // Faces are keyed where their ends round off; the background column never is.
    QCOMPARE(skin.pixel(1, 0) | 0xFF000000, Magenta);
    for (int y = 0; y < skin.height(); ++y) {
        QVERIFY((skin.pixel(0, y) | 0xFF000000) != Magenta);
    }
}

void TabDrawingTest::buffersThatCannotBeMade_data()
{
    QTest::addColumn<int>("cx");
    QTest::addColumn<int>("cy");
    QTest::addColumn<bool>("fails");
    QTest::newRow("negative width") << -1 << 25 << true;
    QTest::newRow("negative height") << 10 << -5 << true;
    QTest::newRow("empty is allowed") << 0 << 25 << false;
    QTest::newRow("ordinary") << 800 << 32 << false;
}

void TabDrawingTest::buffersThatCannotBeMade()
{
    QFETCH(int, cx);
    QFETCH(int, cy);
    QFETCH(bool, fails);
    try {
        std::unique_ptr<MemDC> dc = CreateMemBitmapDC(cx, cy);
        QVERIFY(!fails);
        QCOMPARE(dc->Width(), cx > 0 && cy > 0 ? cx : 0);
    } catch (const TabError &error) {
        QVERIFY(fails);
        QCOMPARE(error.Number(), TabError::DrawingFailed);
        QCOMPARE(error.Description(), QString("CreateCompatibleBitmap调用失败"));
    }
}

void TabDrawingTest::nineGridKeepsCapsAndStretchesCentre()
{
    std::unique_ptr<MemDC> skin = CreateMemDCFromBitmap(syntheticSkin(1));
    std::unique_ptr<MemDC> dest = plainDC(300, 30, White);
    const int result = NineGridBlt(dest.get(), 10, 2, 250, 26, skin.get(), 125, 0, 124, 26, 14, 0,
                                   14, 0, TransKey);
    QVERIFY(result != 0);
    const QImage &image = dest->Bitmap();
    for (int dx = 1; dx < 14; ++dx) {
        QCOMPARE(rgb(image, {10 + dx, 2 + 7}), facePixel(FaceHot, dx, 7));
        QCOMPARE(rgb(image, {10 + 250 - 14 + dx, 2 + 7}), facePixel(FaceHot, 110 + dx, 7));
    }
    // The keyed corner shows what was there.
    QCOMPARE(rgb(image, {10, 2}), White);
    // The centre spreads columns 14..109 over 222 pixels, row by row.
    const QRgb middle = rgb(image, {10 + 125, 2 + 7});
    QCOMPARE(qRed(middle), 50 + 60 * FaceHot);
    QVERIFY(qAbs(qGreen(middle) - 62) <= 2);
    QCOMPARE(qBlue(middle), 7);
    QCOMPARE(rgb(image, {9, 10}), White);
    QCOMPARE(rgb(image, {260, 10}), White);
}

void TabDrawingTest::nineGridWithoutMarginsIsPlainStretch()
{
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(0, 0, 0));
    source.setPixel(1, 0, qRgb(200, 0, 0));
    std::unique_ptr<MemDC> src = CreateMemDCFromBitmap(source);
    std::unique_ptr<MemDC> dest = plainDC(40, 4, White);
    QVERIFY(NineGridBlt(dest.get(), 0, 0, 40, 4, src.get(), 0, 0, 2, 1, 0, 0, 0, 0) != 0);
    QCOMPARE(rgb(dest->Bitmap(), {0, 0}), qRgb(0, 0, 0));
    QCOMPARE(rgb(dest->Bitmap(), {39, 3}), qRgb(200, 0, 0));
}

void TabDrawingTest::nineGridWithoutAreaDrawsNothing_data()
{
    QTest::addColumn<int>("cx");
    QTest::addColumn<int>("cy");
    QTest::addColumn<int>("cxSrc");
    QTest::newRow("no width") << 0 << 26 << 124;
    QTest::newRow("negative width") << -12 << 26 << 124;
    QTest::newRow("no height") << 50 << 0 << 124;
    QTest::newRow("no source") << 50 << 26 << 0;
}

void TabDrawingTest::nineGridWithoutAreaDrawsNothing()
{
    QFETCH(int, cx);
    QFETCH(int, cy);
    QFETCH(int, cxSrc);
    std::unique_ptr<MemDC> skin = CreateMemDCFromBitmap(syntheticSkin(1));
    std::unique_ptr<MemDC> dest = plainDC(100, 30, White);
    QCOMPARE(
        NineGridBlt(dest.get(), 20, 0, cx, cy, skin.get(), 1, 0, cxSrc, 26, 14, 0, 14, 0, TransKey),
        0);
    QCOMPARE(inkBox(dest->Bitmap(), White), QRect());
}

void TabDrawingTest::nineGridAveragesWhenStretching()
{
    // A centre of alternating black and white columns squeezed to a quarter: averaging gives
    // greys where picking would give black and white only.
    QImage source(28 + 80, 1, QImage::Format_RGB32);
    for (int x = 0; x < source.width(); ++x) {
        source.setPixel(x, 0, x % 2 ? White : qRgb(0, 0, 0));
    }
    std::unique_ptr<MemDC> src = CreateMemDCFromBitmap(source);
    std::unique_ptr<MemDC> dest = plainDC(48, 1, qRgb(0, 0, 255));
    NineGridBlt(dest.get(), 0, 0, 48, 1, src.get(), 0, 0, source.width(), 1, 14, 0, 14, 0);
    for (int x = 14; x < 34; ++x) {
        const int level = qRed(dest->Bitmap().pixel(x, 0));
        QVERIFY2(level >= 120 && level <= 135, qPrintable(QString::number(level)));
    }
    // The caps are copied as they are.
    QCOMPARE(rgb(dest->Bitmap(), {0, 0}), qRgb(0, 0, 0));
    QCOMPARE(rgb(dest->Bitmap(), {47, 0}), White);
}

void TabDrawingTest::transBltLeavesKeyOut()
{
    std::unique_ptr<MemDC> skin = CreateMemDCFromBitmap(syntheticSkin(0));
    std::unique_ptr<MemDC> dest = plainDC(20, 20, White);
    QCOMPARE(TransBlt(dest.get(), 3, 4, 12, 12, skin.get(), 391, 0, TransKey), 1);
    QCOMPARE(rgb(dest->Bitmap(), {3, 4}), White);
    QCOMPARE(rgb(dest->Bitmap(), {4, 4}), markPixel(MarkHot));
    QCOMPARE(rgb(dest->Bitmap(), {14, 15}), markPixel(MarkHot));
    QCOMPARE(inkBox(dest->Bitmap(), White), QRect(3, 4, 12, 12));
}

void TabDrawingTest::captionPlacement_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("short latin") << "Vantor" << true;
    QTest::newRow("short chinese") << "游戏" << true;
    QTest::newRow("long latin") << "The longest caption a game page ever had" << false;
    QTest::newRow("long chinese") << "一个非常非常长的游戏页面标题文字" << false;
}

void TabDrawingTest::captionPlacement()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    const QRect rect(20, 4, 120, 26);
    std::unique_ptr<MemDC> dc = plainDC(200, 40, White);
    dc->BkMode = MemDC::TRANSPARENT;
    const QSize extent = Gdi::GetTextExtentPoint32(dc.get(), text);
    QCOMPARE(extent.width() <= rect.width(), fits);
    DrawTabText(dc.get(), text, rect.x(), rect.y(), rect.width(), rect.height());
    const QRect ink = inkBox(dc->Bitmap(), White);
    QVERIFY(!ink.isEmpty());
    QVERIFY(rect.contains(ink));
    // Either way the text sits in the middle of the rows.
    const int above = ink.top() - rect.top();
    const int below = rect.bottom() - ink.bottom();
    QVERIFY2(qAbs(above - below) <= extent.height() / 2,
             qPrintable(QString("%1 %2").arg(above).arg(below)));
    const int left = ink.left() - rect.left();
    const int right = rect.right() - ink.right();
    if (fits) {
        QVERIFY2(qAbs(left - right) <= 2, qPrintable(QString("%1 %2").arg(left).arg(right)));
    } else {
        // Left-aligned and cut short of the full text, with the ellipsis at the end.
        QVERIFY(left <= 2);
        QVERIFY(ink.width() <= rect.width());
        std::unique_ptr<MemDC> full = plainDC(800, 40, White);
        Gdi::DrawText(full.get(), text, -1, QRect(20, 4, 700, 26), 0);
        QVERIFY(inkBox(full->Bitmap(), White).width() > rect.width());
    }
}

void TabDrawingTest::backgroundStretchesFirstColumn_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("style 0") << 0;
    QTest::newRow("style 1") << 1;
}

void TabDrawingTest::backgroundStretchesFirstColumn()
{
    QFETCH(int, style);
    Composition c(style, 0);
    const QImage frame = c.compose();
    const int height = TabMetrics::ForStyle(style).StripHeight;
    QCOMPARE(frame.height(), height);
    // Every row is one row of the column, in order, from the first to the last, the same all
    // the way across: style 1 spreads 28 rows over 32.
    int previous = 0;
    for (int y = 0; y < height; ++y) {
        const int row = backgroundRow(rgb(frame, {0, y}));
        QVERIFY(row >= previous && row <= previous + 1);
        previous = row;
        QCOMPARE(rgb(frame, {799, y}), backgroundPixel(row));
    }
    QCOMPARE(backgroundRow(rgb(frame, {0, 0})), 0);
    QCOMPARE(previous, style == 0 ? 24 : 27);
}

void TabDrawingTest::faces_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("hot");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("faces");

    for (int style : {0, 1}) {
        const QByteArray s = QByteArray::number(style);
        QTest::newRow(s + ": all normal")
            << style << -1 << -1 << QList<int>{FaceNormal, FaceNormal, FaceNormal};
        QTest::newRow(s + ": hot 0, selected 1")
            << style << 0 << 1 << QList<int>{FaceHot, FaceSelected, FaceNormal};
        QTest::newRow(s + ": hot and selected")
            << style << 2 << 2 << QList<int>{FaceNormal, FaceNormal, FaceSelected};
        QTest::newRow(s + ": selection out of range")
            << style << 1 << 3 << QList<int>{FaceNormal, FaceHot, FaceNormal};
    }
}

void TabDrawingTest::faces()
{
    QFETCH(int, style);
    QFETCH(int, hot);
    QFETCH(int, selected);
    QFETCH(QList<int>, faces);
    Composition c(style, 3);
    c.scene.Hot = hot;
    c.scene.Selected = selected;
    const QImage frame = c.compose();
    const int fw = faceWidthOf(style);
    for (int i = 0; i < 3; ++i) {
        const int faceWidth = c.scene.Tabs[i].Face.width();
        // The centre is stretched from the same face, row for row.
        const QRgb middle = rgb(frame, c.facePoint(i, faceWidth / 2, 20));
        QCOMPARE(qRed(middle), qRed(facePixel(faces[i], 0, 0)));
        QCOMPARE(qBlue(middle), 20);
        // Caps are copied as they are: the first tab's left one and the last tab's right one
        // are covered by no neighbour.
        for (int dx : {1, 7, 13}) {
            if (i == 0) {
                QCOMPARE(rgb(frame, c.facePoint(0, dx, 20)), facePixel(faces[0], dx, 20));
            }
            if (i == 2) {
                QCOMPARE(rgb(frame, c.facePoint(2, faceWidth - 14 + dx, 20)),
                         facePixel(faces[2], fw - 14 + dx, 20));
            }
        }
    }
}

void TabDrawingTest::closeMarks_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("hot");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("closeState");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<int>("mark"); // of tab 1; -1 for none

    for (int style : {0, 1}) {
        const QByteArray s = QByteArray::number(style);
        QTest::newRow(s + ": not hot") << style << 0 << -1 << 2 << false << MarkNormal;
        QTest::newRow(s + ": hot, pointer elsewhere")
            << style << 1 << -1 << 0 << false << MarkNormal;
        QTest::newRow(s + ": hot, pointer on it") << style << 1 << -1 << 1 << false << MarkHot;
        QTest::newRow(s + ": hot, pressed") << style << 1 << -1 << 2 << false << MarkPressed;
        QTest::newRow(s + ": selected") << style << -1 << 1 << 0 << false << MarkSelected;
        QTest::newRow(s + ": selected, other hot") << style << 0 << 1 << 1 << false << MarkSelected;
        QTest::newRow(s + ": selected, pointer on it") << style << 1 << 1 << 1 << false << MarkHot;
        QTest::newRow(s + ": selected, pressed") << style << 1 << 1 << 2 << false << MarkPressed;
        QTest::newRow(s + ": hidden") << style << 1 << -1 << 1 << true << -1;
        QTest::newRow(s + ": selected hidden") << style << 1 << 1 << 2 << true << -1;
    }
}

void TabDrawingTest::closeMarks()
{
    QFETCH(int, style);
    QFETCH(int, hot);
    QFETCH(int, selected);
    QFETCH(int, closeState);
    QFETCH(bool, hidden);
    QFETCH(int, mark);
    Composition c(style, 3);
    const QPoint middle = c.markPoint(1, 6, 6); // where the mark is while it has one
    c.scene.Hot = hot;
    c.scene.Selected = selected;
    c.scene.CloseState = closeState;
    c.scene.Tabs[1].HideButton = hidden;
    const QImage frame = c.compose();
    const QRgb inside = rgb(frame, middle);
    if (mark < 0) {
        QCOMPARE(qRed(inside), 50 + 60 * (selected == 1 ? FaceSelected : FaceHot));
        return;
    }
    QCOMPARE(inside, markPixel(mark));
    QCOMPARE(rgb(frame, c.markPoint(1, 11, 11)), markPixel(mark));
    // The key-coloured corner shows the face beneath.
    QVERIFY(qRed(rgb(frame, c.markPoint(1, 0, 0))) != 230);
}

// The tabs are drawn from the right, so each covers its right neighbour's left cap; the selected
// tab, drawn last over both neighbours, is in drawingAndHitTestAgree.
void TabDrawingTest::drawingOrder()
{
    Composition c(0, 3);
    const QImage frame = c.compose();
    // 5 pixels into tab 1's face, which lies under the last 14 of tab 0's.
    QCOMPARE(rgb(frame, c.facePoint(1, 5, 20)), facePixel(FaceNormal, faceWidthOf(0) - 14 + 5, 20));
}

void TabDrawingTest::drawingAndHitTestAgree_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stripWidth");

    QTest::newRow("style 0, 8 tabs of 93") << 0 << 8 << 800;
    QTest::newRow("style 0, 20 tabs of 12") << 0 << 20 << 294;
    QTest::newRow("style 0, 40 tabs of 6, no marks") << 0 << 40 << 300;
    QTest::newRow("style 0, zero width") << 0 << 5 << 54;
    QTest::newRow("style 0, negative width") << 0 << 5 << 44;
    QTest::newRow("style 1, 4 tabs of 163") << 1 << 4 << 711;
    QTest::newRow("style 1, 20 tabs of 21") << 1 << 20 << 560;
    QTest::newRow("style 1, 30 tabs of 14, no marks") << 1 << 30 << 600;
    QTest::newRow("style 1, zero width") << 1 << 30 << 190;
    QTest::newRow("style 1, negative width") << 1 << 30 << 140;
}

// Each tab in turn selected and hot, with the pointer on its mark: drawn last, all of it shows.
void TabDrawingTest::drawingAndHitTestAgree()
{
    QFETCH(int, style);
    QFETCH(int, count);
    QFETCH(int, stripWidth);
    Composition c(style, count, stripWidth);
    c.scene.CloseState = CloseMarkHot;
    QRegion faces, marks;
    for (TabBox &tab : c.scene.Tabs) {
        tab.Caption = "标题";
        faces += tab.Face;
        marks += tab.Close;
    }
    const StripGeometry &strip = c.scene.Strip;
    for (int i = 0; i < count; ++i) {
        c.scene.Selected = c.scene.Hot = i;
        const QImage frame = c.compose();
        const QImage band = frame.copy(strip.LeftSize, 0, strip.BandWidth(), frame.height());
        const TabBox &tab = c.scene.Tabs[i];
        QCOMPARE(boxOf(band, [](QRgb p) { return qRed(p) == 50 + 60 * FaceSelected; }),
                 tab.Face & band.rect());
        QCOMPARE(boxOf(band, [](QRgb p) { return p == markPixel(MarkHot); }),
                 tab.Close & band.rect());
        // It is hit on its mark and where its face lies alone, with its close zone taking the
        // mark's far bounds too. Where zones overlap (a shared edge; a narrow style 0 tab's mark
        // over its left neighbour) the lower index wins; the band's first columns are tab 0's.
        QRegion others, lower(0, 0, TabMetrics::FirstTabReach + 1, band.height());
        for (int j = 0; j < count; ++j) {
            others += j != i ? c.scene.Tabs[j].Face : QRect();
            lower += j < i ? c.scene.Tabs[j].Hit : QRect();
        }
        const QRegion mine = ((QRegion(tab.Face) - others) + tab.Close) - lower;
        const QRect zone = tab.Close.isEmpty() ? QRect() : tab.Close.adjusted(0, 0, 1, 1);
        for (int y = 0; y < band.height(); ++y) {
            for (int x = 0; x < band.width(); ++x) {
                const QPoint p(x, y);
                // Outside the faces the band is the background; marks show only where placed.
                QVERIFY(faces.contains(p) || rgb(band, p) == rgb(frame, {0, y}));
                QVERIFY(marks.contains(p) || qRed(rgb(band, p)) != 230);
                if (mine.contains(p)) {
                    const Hit hit = HitTest(strip, c.scene.Tabs, strip.LeftSize + x, y);
                    QCOMPARE(qMakePair(hit.Index, hit.bOnClose), qMakePair(i, zone.contains(p)));
                }
            }
        }
    }
}

void TabDrawingTest::bandWithoutBufferLeavesBackground()
{
    // A strip narrower than its margins has no band buffer; the frame is the background.
    Composition c(1, 3, 30, 20, 20);
    const QImage frame = c.compose();
    QVERIFY(!c.tabs);
    for (int x = 0; x < 30; ++x) {
        QVERIFY(backgroundRow(rgb(frame, {x, 5})) >= 0);
        QCOMPARE(rgb(frame, {x, 5}), rgb(frame, {0, 5}));
    }
}

QTEST_MAIN(TabDrawingTest)
#include "tst_tabdrawing.moc"
