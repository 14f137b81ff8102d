#include "Painting.h"
#include "Palette.h"
#include "Pictures.h"

namespace art {

namespace {

enum class TabLook { Normal, Hovered, Selected };
enum class CloseLook { OnSelected, Normal, Hovered, Pressed };

// Tab ends are drawn unscaled; only the stretch between them is widened, so the face has to be
// identical column for column there.
constexpr int endCap = 14;
constexpr int closeSide = 12;

struct TabSkinLayout {
    int stripHeight;
    QSize face;
    bool sloped;
};

const TabSkinLayout slopedLayout{25, {122, 25}, true};
const TabSkinLayout roundedLayout{28, {124, 26}, false};

const QColor tabOutline(0x14, 0x46, 0x80);

// The strip sits along the bottom of the caption bar, so its background is the bar's lower rows.
int firstBandRow(const TabSkinLayout &layout)
{
    return captionBarHeight - layout.stripHeight;
}

QPair<QColor, QColor> faceColours(TabLook look)
{
    switch (look) {
    case TabLook::Normal:
        return {QColor(0xc6, 0xd6, 0xe8), QColor(0xa4, 0xbb, 0xd4)};
    case TabLook::Hovered:
        return {QColor(0xe2, 0xec, 0xf7), QColor(0xc3, 0xd5, 0xe8)};
    case TabLook::Selected:
        break;
    }
    return {palette::white, QColor(0xf3, 0xf7, 0xfb)};
}

QPainterPath slopedFace(QSize size)
{
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath path;
    // The slope, its foot flare and the top rounding all stay inside the end caps.
    const qreal shoulder = endCap - 5;
    path.moveTo(0, h);
    path.quadTo(3.5, h, 4.5, h - 4);
    path.lineTo(shoulder, 3.5);
    path.quadTo(shoulder + 1, 0.5, endCap - 0.5, 0.5);
    path.lineTo(w - endCap + 0.5, 0.5);
    path.quadTo(w - shoulder - 1, 0.5, w - shoulder, 3.5);
    path.lineTo(w - 4.5, h - 4);
    path.quadTo(w - 3.5, h, w, h);
    return path;
}

QPainterPath roundedFace(QSize size)
{
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath path;
    path.moveTo(1.5, h);
    path.lineTo(1.5, 6.5);
    path.quadTo(1.5, 0.5, 7.5, 0.5);
    path.lineTo(w - 7.5, 0.5);
    path.quadTo(w - 1.5, 0.5, w - 1.5, 6.5);
    path.lineTo(w - 1.5, h);
    return path;
}

void paintBandBehind(QPainter &painter, QSize size, int bandRow)
{
    fillCaptionRows(painter, QRect(QPoint(0, 0), size), bandRow);
}

QImage tabFace(const TabSkinLayout &layout, TabLook look)
{
    const QSize size = layout.face;
    QPainterPath outline = layout.sloped ? slopedFace(size) : roundedFace(size);
    QPainterPath body = outline;
    body.closeSubpath();
    QImage canvas = newCanvas(size);
    QPainter painter(&canvas);
    paintBandBehind(painter, size, firstBandRow(layout));
    prepare(painter);
    const auto [top, bottom] = faceColours(look);
    painter.fillPath(body,
                     verticalGradient(QRectF(0, 0, size.width(), size.height()), top, bottom));
    painter.strokePath(outline, QPen(tabOutline, 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(endCap - 2, 1, size.width() - 2 * (endCap - 2), 1),
                     withAlpha(palette::white, look == TabLook::Selected ? 255 : 150));
    painter.end();
    QPainterPathStroker stroker;
    stroker.setWidth(1);
    return keyedOutside(canvas, body.united(stroker.createStroke(outline)));
}

QPainterPath crossPath()
{
    QPainterPath cross;
    cross.moveTo(3, 3);
    cross.lineTo(9, 9);
    cross.moveTo(9, 3);
    cross.lineTo(3, 9);
    return cross;
}

bool onDisc(CloseLook look)
{
    return look == CloseLook::Hovered || look == CloseLook::Pressed;
}

QColor crossInk(CloseLook look)
{
    switch (look) {
    case CloseLook::OnSelected:
        return {0x6a, 0x84, 0xa3};
    case CloseLook::Normal:
        return {0x24, 0x45, 0x6c};
    case CloseLook::Hovered:
    case CloseLook::Pressed:
        break;
    }
    return palette::white;
}

QImage closeMark(CloseLook look, const QColor &faceBehind)
{
    QImage canvas = newCanvas({closeSide, closeSide}, faceBehind);
    QPainter painter(&canvas);
    prepare(painter);
    const QPen crossPen(crossInk(look), 1.5, Qt::SolidLine, Qt::FlatCap);
    QPainterPath covered = QPainterPathStroker(crossPen).createStroke(crossPath());
    if (onDisc(look)) {
        covered = QPainterPath();
        covered.addEllipse(QRectF(0, 0, closeSide, closeSide));
        painter.fillPath(covered,
                         look == CloseLook::Hovered ? palette::alertRed : palette::alertRedDeep);
    }
    painter.strokePath(crossPath(), crossPen);
    painter.end();
    return keyedOutside(canvas, covered);
}

QImage backgroundColumn(const TabSkinLayout &layout)
{
    QImage column = newCanvas({1, layout.stripHeight});
    QPainter painter(&column);
    fillCaptionRows(painter, logicalRect(column), firstBandRow(layout));
    return column;
}

QImage tabSkin(const TabSkinLayout &layout)
{
    const int faceWidth = layout.face.width();
    QImage skin = opaque(
        newCanvas({1 + 3 * faceWidth + 4 * closeSide, layout.stripHeight}, palette::colourKey));
    QPainter painter(&skin);
    painter.drawImage(0, 0, backgroundColumn(layout));
    const TabLook looks[] = {TabLook::Normal, TabLook::Hovered, TabLook::Selected};
    for (int i = 0; i < 3; ++i)
        painter.drawImage(1 + i * faceWidth, 0, tabFace(layout, looks[i]));
    const int marks = 1 + 3 * faceWidth;
    const QColor selected = faceColours(TabLook::Selected).second;
    const QColor normal =
        mix(faceColours(TabLook::Normal).first, faceColours(TabLook::Normal).second, 0.5);
    const QColor hovered =
        mix(faceColours(TabLook::Hovered).first, faceColours(TabLook::Hovered).second, 0.5);
    painter.drawImage(marks, 0, closeMark(CloseLook::OnSelected, selected));
    painter.drawImage(marks + closeSide, 0, closeMark(CloseLook::Normal, normal));
    painter.drawImage(marks + 2 * closeSide, 0, closeMark(CloseLook::Hovered, hovered));
    painter.drawImage(marks + 3 * closeSide, 0, closeMark(CloseLook::Pressed, hovered));
    painter.end();
    return skin;
}

} // namespace

QImage drawTabSkinSloped()
{
    return tabSkin(slopedLayout);
}

QImage drawTabSkinRounded()
{
    return tabSkin(roundedLayout);
}

} // namespace art
