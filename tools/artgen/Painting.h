#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>

namespace art {

// The main window's caption bar is cut from a 36-row band; only the top 33 rows show as the bar.
// Buttons, tabs and the logo that sit on the bar repaint the band rows they cover, so they must
// agree with it row for row.
inline constexpr int captionBandHeight = 36;
inline constexpr int captionBarHeight = 33;

// Pictures are drawn in their 1x pixel units; the scale (1, or 2 for the "@2x" set) says how
// many image pixels each of them gets. Canvases carry it as their device pixel ratio.
void setScale(int scale);
int scale();
QImage newCanvas(QSize size, const QColor &fill = Qt::transparent);
QSize logicalSize(const QImage &image);
QRect logicalRect(const QImage &image);
void prepare(QPainter &painter);
// Pictures with see-through parts keep straight (not premultiplied) alpha; skins that are drawn
// edge to edge are stored without an alpha channel at all.
QImage translucent(const QImage &canvas);
QImage opaque(const QImage &canvas);

QColor mix(const QColor &from, const QColor &to, qreal amount);
QColor withAlpha(QColor colour, int alpha);
QLinearGradient verticalGradient(const QRectF &rect, const QColor &top, const QColor &bottom);

QColor captionBandColour(int row);
void fillCaptionRows(QPainter &painter, const QRect &area, int firstBandRow);

QImage blurred(const QImage &image, int radius);
void drawGlow(QPainter &painter, const QPainterPath &shape, const QColor &colour, int radius);

QFont displayFont(int pixelSize);
QFont cjkFont(int pixelSize, QFont::Weight weight = QFont::Normal);
QFont cjkSerifFont(int pixelSize, QFont::Weight weight = QFont::Bold);

QPainterPath chamferedRect(const QRectF &rect, qreal cut);
QPainterPath centredText(const QString &text, const QFont &font, const QPointF &baselineCentre);
void drawGoldText(QPainter &painter, const QPainterPath &glyphs);

// Turns everything the shape does not touch into the colour key; edge pixels keep their blend
// with whatever was painted underneath.
QImage keyedOutside(const QImage &drawn, const QPainterPath &shape);

QImage joinedLeftToRight(const QList<QImage> &frames);

} // namespace art
