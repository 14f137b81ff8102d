#include "Gdi.h"

#include "MemDC.h"

#include <QFontMetrics>
#include <QPainter>
#include <QVarLengthArray>

#include <cmath>
#include <vector>

#include <cstring>

namespace Gdi {
namespace {

// A block copy of w x h pixels from (sx, sy) to (dx, dy), cut to what both pictures hold.
struct Block {
    int dx, dy, sx, sy, w, h;
};

void clipAxis(int &d, int &s, int &length, int destLimit, int srcLimit)
{
    if (d < 0) {
        s -= d;
        length += d;
        d = 0;
    }
    if (s < 0) {
        d -= s;
        length += s;
        s = 0;
    }
    length = qMin(length, qMin(destLimit - d, srcLimit - s));
}

bool clipBlock(Block &b, const QImage &dest, const QImage &src)
{
    clipAxis(b.dx, b.sx, b.w, dest.width(), src.width());
    clipAxis(b.dy, b.sy, b.h, dest.height(), src.height());
    return b.w > 0 && b.h > 0;
}

bool usable(const MemDC *dc)
{
    return dc && !dc->Bitmap().isNull();
}

void copyBlock(QImage &dest, const QImage &src, Block b)
{
    if (!clipBlock(b, dest, src)) {
        return;
    }
    const size_t bytes = size_t(b.w) * sizeof(QRgb);
    for (int row = 0; row < b.h; ++row) {
        const auto *from = reinterpret_cast<const QRgb *>(src.constScanLine(b.sy + row)) + b.sx;
        auto *to = reinterpret_cast<QRgb *>(dest.scanLine(b.dy + row)) + b.dx;
        std::memmove(to, from, bytes);
    }
}

void copyKeyed(QImage &dest, const QImage &src, Block b, QRgb key)
{
    if (!clipBlock(b, dest, src)) {
        return;
    }
    for (int row = 0; row < b.h; ++row) {
        const auto *from = reinterpret_cast<const QRgb *>(src.constScanLine(b.sy + row)) + b.sx;
        auto *to = reinterpret_cast<QRgb *>(dest.scanLine(b.dy + row)) + b.dx;
        for (int x = 0; x < b.w; ++x) {
            if ((from[x] & 0xFFFFFF) != key) {
                to[x] = from[x];
            }
        }
    }
}

// How one destination pixel of a row or column is made of source pixels.
struct Tap {
    int first;                       // first source pixel
    QVarLengthArray<int, 8> weights; // of first, first + 1, ...; they add up to WeightOne
};

constexpr int WeightShift = 16;
constexpr int WeightOne = 1 << WeightShift;

// Each destination pixel is the mean of the source pixels it covers, each weighted by how much
// of it is covered.
QList<Tap> tapsFor(int from, int to)
{
    QList<Tap> taps(to);
    const double scale = double(from) / to;
    for (int i = 0; i < to; ++i) {
        Tap &tap = taps[i];
        const double start = i * scale;
        const double end = (i + 1) * scale;
        tap.first = qMin(from - 1, int(start));
        const int last = qMin(from - 1, qMax(tap.first, int(std::ceil(end)) - 1));
        int given = 0;
        for (int s = tap.first; s <= last; ++s) {
            const double covered = qMin(end, s + 1.0) - qMax(start, double(s));
            const int weight = s == last ? WeightOne - given : int(covered / scale * WeightOne);
            tap.weights.append(weight);
            given += weight;
        }
    }
    return taps;
}

QRgb mix(const QRgb *pixels, qsizetype stride, const Tap &tap)
{
    if (tap.weights.size() == 1) {
        return pixels[tap.first * stride];
    }
    qint64 r = 0, g = 0, b = 0;
    for (qsizetype k = 0; k < tap.weights.size(); ++k) {
        const QRgb p = pixels[(tap.first + k) * stride];
        const int w = tap.weights[k];
        r += qint64(qRed(p)) * w;
        g += qint64(qGreen(p)) * w;
        b += qint64(qBlue(p)) * w;
    }
    const int half = WeightOne / 2;
    return qRgb(int((r + half) >> WeightShift), int((g + half) >> WeightShift),
                int((b + half) >> WeightShift));
}

QImage scaleRows(const QImage &src, int width)
{
    if (src.width() == width) {
        return src;
    }
    const QList<Tap> taps = tapsFor(src.width(), width);
    QImage out(width, src.height(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            to[x] = mix(from, 1, taps[x]);
        }
    }
    return out;
}

QImage scaleColumns(const QImage &src, int height)
{
    if (src.height() == height) {
        return src;
    }
    const QList<Tap> taps = tapsFor(src.height(), height);
    QImage out(src.width(), height, QImage::Format_RGB32);
    const qsizetype stride = src.bytesPerLine() / qsizetype(sizeof(QRgb));
    const auto *column = reinterpret_cast<const QRgb *>(src.constBits());
    for (int y = 0; y < height; ++y) {
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            to[x] = mix(column + x, stride, taps[y]);
        }
    }
    return out;
}

// The source rectangle at the destination's size, each pixel averaged from those it covers.
QImage averagedPiece(const QImage &src, const QRect &from, const QSize &to)
{
    QImage piece = src.copy(from);
    if (piece.format() != QImage::Format_RGB32) {
        piece = piece.convertToFormat(QImage::Format_RGB32);
    }
    return scaleColumns(scaleRows(piece, to.width()), to.height());
}

// For each destination pixel the source pixel under its centre.
std::vector<int> pickMap(int from, int to)
{
    std::vector<int> map(static_cast<size_t>(to));
    const double scale = double(from) / to;
    for (int i = 0; i < to; ++i) {
        map[size_t(i)] = qMin(from - 1, int((i + 0.5) * scale));
    }
    return map;
}

// Stretches by picking pixels, straight into the destination: the background is a whole
// strip wide and needs no picture in between.
void pickInto(QImage &dest, const QRect &to, const QImage &src, const QRect &from)
{
    const QRect visible = to & dest.rect();
    if (visible.isEmpty()) {
        return;
    }
    if (!src.rect().contains(from)) {
        // Only the part of the source that exists is read; the rest counts as black.
        const QImage piece = src.copy(from).scaled(to.size());
        copyBlock(dest, piece, {to.x(), to.y(), 0, 0, to.width(), to.height()});
        return;
    }
    const std::vector<int> columns = pickMap(from.width(), to.width());
    const std::vector<int> rows = pickMap(from.height(), to.height());
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const auto *line =
            reinterpret_cast<const QRgb *>(src.constScanLine(from.y() + rows[size_t(y - to.y())])) +
            from.x();
        auto *out = reinterpret_cast<QRgb *>(dest.scanLine(y));
        for (int x = visible.left(); x <= visible.right(); ++x) {
            out[x] = line[columns[size_t(x - to.x())]];
        }
    }
}

Qt::Alignment alignmentOf(UINT format)
{
    Qt::Alignment align = Qt::AlignLeft;
    if (format & DT_CENTER) {
        align = Qt::AlignHCenter;
    } else if (format & DT_RIGHT) {
        align = Qt::AlignRight;
    }
    // Vertical placement exists for single lines only; other text starts at the top.
    if (!(format & DT_SINGLELINE)) {
        return align | Qt::AlignTop;
    }
    if (format & DT_VCENTER) {
        return align | Qt::AlignVCenter;
    }
    return align | ((format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop);
}

} // namespace

int BitBlt(MemDC *hdcDest, int x, int y, int cx, int cy, const MemDC *hdcSrc, int x1, int y1)
{
    if (!usable(hdcDest) || !usable(hdcSrc) || cx <= 0 || cy <= 0) {
        return 0;
    }
    copyBlock(hdcDest->Bitmap(), hdcSrc->Bitmap(), {x, y, x1, y1, cx, cy});
    return 1;
}

int StretchBlt(MemDC *hdcDest, int xDest, int yDest, int wDest, int hDest, const MemDC *hdcSrc,
               int xSrc, int ySrc, int wSrc, int hSrc)
{
    if (!usable(hdcDest) || !usable(hdcSrc) || wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) {
        return 0;
    }
    if (wDest == wSrc && hDest == hSrc) {
        return BitBlt(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc);
    }
    const QRect from(xSrc, ySrc, wSrc, hSrc);
    if (hdcDest->StretchMode != MemDC::HALFTONE) {
        pickInto(hdcDest->Bitmap(), QRect(xDest, yDest, wDest, hDest), hdcSrc->Bitmap(), from);
        return 1;
    }
    const QImage piece = averagedPiece(hdcSrc->Bitmap(), from, QSize(wDest, hDest));
    copyBlock(hdcDest->Bitmap(), piece, {xDest, yDest, 0, 0, wDest, hDest});
    return 1;
}

int TransparentBlt(MemDC *hdcDest, int xDest, int yDest, int wDest, int hDest, const MemDC *hdcSrc,
                   int xSrc, int ySrc, int wSrc, int hSrc, COLORREF crTransparent)
{
    if (!usable(hdcDest) || !usable(hdcSrc) || wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) {
        return 0;
    }
    const QRgb key = platform::ColorFromRef(crTransparent).rgb() & 0xFFFFFF;
    if (wDest == wSrc && hDest == hSrc) {
        copyKeyed(hdcDest->Bitmap(), hdcSrc->Bitmap(), {xDest, yDest, xSrc, ySrc, wDest, hDest},
                  key);
        return 1;
    }
    QImage piece(wDest, hDest, QImage::Format_RGB32);
    pickInto(piece, piece.rect(), hdcSrc->Bitmap(), QRect(xSrc, ySrc, wSrc, hSrc));
    copyKeyed(hdcDest->Bitmap(), piece, {xDest, yDest, 0, 0, wDest, hDest}, key);
    return 1;
}

int DrawText(MemDC *hdc, const QString &text, int nCount, const QRect &rc, UINT format)
{
    const bool clip = !(format & DT_NOCLIP);
    if (!usable(hdc) || (clip && rc.isEmpty())) {
        return 0;
    }
    QString shown = nCount < 0 ? text : text.left(nCount);
    QImage &bitmap = hdc->Bitmap();
    if (format & DT_END_ELLIPSIS) {
        shown = QFontMetrics(hdc->Font, &bitmap).elidedText(shown, Qt::ElideRight, rc.width());
    }
    QPainter painter(&bitmap);
    if (clip) {
        painter.setClipRect(rc);
    }
    painter.setFont(hdc->Font);
    painter.setPen(hdc->TextColor);
    if (hdc->BkMode == MemDC::OPAQUE) {
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(hdc->BkColor);
    }
    const int lines = (format & DT_SINGLELINE) ? int(Qt::TextSingleLine) : 0;
    QRect drawn;
    painter.drawText(rc, int(alignmentOf(format)) | lines, shown, &drawn);
    return drawn.height();
}

QSize GetTextExtentPoint32(const MemDC *hdc, const QString &text)
{
    if (!hdc) {
        return QSize();
    }
    const QImage &bitmap = hdc->Bitmap();
    const QFontMetrics metrics =
        bitmap.isNull() ? QFontMetrics(hdc->Font) : QFontMetrics(hdc->Font, &bitmap);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

} // namespace Gdi
