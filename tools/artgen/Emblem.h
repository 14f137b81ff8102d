#pragma once

#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace art {

// The game's crest: a gold-rimmed shield holding a gold V. It is drawn at every size from the
// 16 px icon to the login art, so detail is dropped as the box shrinks rather than scaled away.
void drawEmblem(QPainter &painter, const QRectF &box);
void drawEmblemInShield(QPainter &painter, const QRectF &shield);

// At icon sizes a shield whose sides fall between pixels turns to mush, so small icons use a
// shield snapped to whole pixels instead of the exact proportions.
QRectF pixelSnappedShield(int side);

QPainterPath shieldPath(const QRectF &bounds);
QRectF shieldBoxInside(const QRectF &box);

} // namespace art
