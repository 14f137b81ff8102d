#include "Painting.h"

#include "Palette.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace art {

namespace {
int currentScale = 1;
} // namespace

void setScale(int scale)
{
    currentScale = scale;
}

int scale()
{
    return currentScale;
}

QImage newCanvas(QSize size, const QColor &fill)
{
    QImage canvas(size * currentScale, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(currentScale);
    canvas.fill(fill);
    return canvas;
}

QSize logicalSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

QRect logicalRect(const QImage &image)
{
    return QRect(QPoint(0, 0), logicalSize(image));
}

void prepare(QPainter &painter)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
}

QImage translucent(const QImage &canvas)
{
    return canvas.convertToFormat(QImage::Format_ARGB32);
}

QImage opaque(const QImage &canvas)
{
    return canvas.convertToFormat(QImage::Format_RGB32);
}

QColor mix(const QColor &from, const QColor &to, qreal amount)
{
    const auto blend = [amount](qreal a, qreal b) { return a + (b - a) * amount; };
    return QColor::fromRgbF(blend(from.redF(), to.redF()), blend(from.greenF(), to.greenF()),
                            blend(from.blueF(), to.blueF()), blend(from.alphaF(), to.alphaF()));
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QLinearGradient verticalGradient(const QRectF &rect, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QColor captionBandColour(int row)
{
    static const QColor highlight{0x62, 0xa8, 0xec};
    static const QColor top{0x35, 0x84, 0xd1};
    static const QColor bottom{0x22, 0x63, 0xab};
    static const QColor seam{0x17, 0x4f, 0x8f};
    if (row <= 0)
        return highlight;
    if (row >= captionBandHeight - 1)
        return seam;
    return mix(top, bottom, qreal(row - 1) / (captionBandHeight - 3));
}

void fillCaptionRows(QPainter &painter, const QRect &area, int firstBandRow)
{
    for (int y = 0; y < area.height(); ++y)
        painter.fillRect(QRect(area.left(), area.top() + y, area.width(), 1),
                         captionBandColour(firstBandRow + y));
}

namespace {

// One running-sum box pass along a line of premultiplied pixels; outside the line counts as
// transparent so glows fade out instead of smearing the edge colour.
void boxPass(QRgb *line, int length, int step, int radius, std::vector<QRgb> &copy)
{
    copy.resize(length);
    for (int i = 0; i < length; ++i)
        copy[i] = line[i * step];
    std::array<int, 4> sum{};
    const auto add = [&sum](QRgb pixel, int sign) {
        sum[0] += sign * qAlpha(pixel);
        sum[1] += sign * qRed(pixel);
        sum[2] += sign * qGreen(pixel);
        sum[3] += sign * qBlue(pixel);
    };
    for (int i = 0; i <= radius && i < length; ++i)
        add(copy[i], 1);
    const int width = 2 * radius + 1;
    for (int i = 0; i < length; ++i) {
        line[i * step] = qRgba(sum[1] / width, sum[2] / width, sum[3] / width, sum[0] / width);
        if (i + radius + 1 < length)
            add(copy[i + radius + 1], 1);
        if (i - radius >= 0)
            add(copy[i - radius], -1);
    }
}

} // namespace

QImage blurred(const QImage &image, int radius)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    radius *= qRound(result.devicePixelRatio());
    auto *pixels = reinterpret_cast<QRgb *>(result.bits());
    const int stride = int(result.bytesPerLine() / 4);
    std::vector<QRgb> copy;
    // Three box passes come close enough to a gaussian for glows and shadows.
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < result.height(); ++y)
            boxPass(pixels + y * stride, result.width(), 1, radius, copy);
        for (int x = 0; x < result.width(); ++x)
            boxPass(pixels + x, result.height(), stride, radius, copy);
    }
    return result;
}

void drawGlow(QPainter &painter, const QPainterPath &shape, const QColor &colour, int radius)
{
    const QSize size(painter.device()->width(), painter.device()->height());
    QImage layer = newCanvas(size / currentScale);
    {
        QPainter layerPainter(&layer);
        prepare(layerPainter);
        layerPainter.setTransform(painter.transform());
        layerPainter.fillPath(shape, colour);
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(0, 0, blurred(layer, radius));
    painter.restore();
}

namespace {

QFont fontFrom(const QString &family, int pixelSize, QFont::Weight weight)
{
    if (!QFontDatabase::families().contains(family))
        std::fprintf(stderr, "artgen: font family '%s' is missing, pictures will differ\n",
                     qPrintable(family));
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont displayFont(int pixelSize)
{
    QFont font = fontFrom(QStringLiteral("Noto Serif CJK SC"), pixelSize, QFont::Bold);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    return font;
}

QFont cjkFont(int pixelSize, QFont::Weight weight)
{
    return fontFrom(QStringLiteral("Noto Sans CJK SC"), pixelSize, weight);
}

QFont cjkSerifFont(int pixelSize, QFont::Weight weight)
{
    return fontFrom(QStringLiteral("Noto Serif CJK SC"), pixelSize, weight);
}

QPainterPath chamferedRect(const QRectF &rect, qreal cut)
{
    QPainterPath path;
    path.moveTo(rect.left() + cut, rect.top());
    path.lineTo(rect.right() - cut, rect.top());
    path.lineTo(rect.right(), rect.top() + cut);
    path.lineTo(rect.right(), rect.bottom() - cut);
    path.lineTo(rect.right() - cut, rect.bottom());
    path.lineTo(rect.left() + cut, rect.bottom());
    path.lineTo(rect.left(), rect.bottom() - cut);
    path.lineTo(rect.left(), rect.top() + cut);
    path.closeSubpath();
    return path;
}

QPainterPath centredText(const QString &text, const QFont &font, const QPointF &baselineCentre)
{
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    QPainterPath path;
    path.addText(baselineCentre.x() - width / 2, baselineCentre.y(), font, text);
    return path;
}

void drawGoldText(QPainter &painter, const QPainterPath &glyphs)
{
    const QRectF bounds = glyphs.boundingRect();
    const qreal weight = std::max<qreal>(1.0, bounds.height() / 22);
    drawGlow(painter, glyphs.translated(0, weight), withAlpha(palette::navyNight, 230),
             int(weight * 2 + 1));
    painter.strokePath(glyphs, QPen(palette::goldShadow, weight * 1.6, Qt::SolidLine, Qt::RoundCap,
                                    Qt::RoundJoin));
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0.0, palette::goldPale);
    fill.setColorAt(0.45, palette::gold);
    fill.setColorAt(0.55, palette::goldDeep);
    fill.setColorAt(1.0, palette::gold);
    painter.fillPath(glyphs, fill);
}

QImage keyedOutside(const QImage &drawn, const QPainterPath &shape)
{
    QImage coverage = newCanvas(logicalSize(drawn));
    {
        QPainter painter(&coverage);
        prepare(painter);
        painter.fillPath(shape, Qt::white);
    }
    QImage keyed = drawn.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x)
            if (qAlpha(coverage.pixel(x, y)) == 0)
                keyed.setPixel(x, y, palette::colourKey.rgb());
    return keyed;
}

QImage joinedLeftToRight(const QList<QImage> &frames)
{
    int width = 0;
    int height = 0;
    for (const QImage &frame : frames) {
        width += logicalSize(frame).width();
        height = std::max(height, logicalSize(frame).height());
    }
    QImage strip = newCanvas(QSize(width, height));
    QPainter painter(&strip);
    int x = 0;
    for (const QImage &frame : frames) {
        painter.drawImage(x, 0, frame);
        x += logicalSize(frame).width();
    }
    return strip;
}

} // namespace art
