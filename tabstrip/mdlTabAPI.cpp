#include "mdlTabAPI.h"

#include "TabError.h"
#include "platform/winsys/Gdi.h"
#include "platform/winsys/MemDC.h"
#include "platform/winsys/WinApi.h"

#include <QGuiApplication>

namespace mdlTabAPI {
namespace {

void requireScreen()
{
    if (!qGuiApp || !QGuiApplication::primaryScreen()) {
        throw TabError(TabError::DrawingFailed, GetDCFailed);
    }
}

// Pieces of the nine grid: each a destination and a source rectangle.
struct Piece {
    QRect to;
    QRect from;
};

void drawPiece(MemDC *tmp, const MemDC *src, const Piece &piece, bool stretch)
{
    if (stretch) {
        Gdi::StretchBlt(tmp, piece.to.x(), piece.to.y(), piece.to.width(), piece.to.height(), src,
                        piece.from.x(), piece.from.y(), piece.from.width(), piece.from.height());
    } else {
        Gdi::BitBlt(tmp, piece.to.x(), piece.to.y(), piece.to.width(), piece.to.height(), src,
                    piece.from.x(), piece.from.y());
    }
}

// Corners are copied 1:1, edges and centre stretched; pieces whose margin is 0 are left out.
void drawNineGrid(MemDC *tmp, const MemDC *src, const QRect &s, int cxLeft, int cyTop, int cxRight,
                  int cyBottom)
{
    const int cx = tmp->Width();
    const int cy = tmp->Height();
    const int midW = cx - cxLeft - cxRight;
    const int midH = cy - cyTop - cyBottom;
    const int srcMidW = s.width() - cxLeft - cxRight;
    const int srcMidH = s.height() - cyTop - cyBottom;
    const int right = s.x() + s.width() - cxRight;
    const int bottom = s.y() + s.height() - cyBottom;
    if (cxLeft > 0 && cyTop > 0) {
        drawPiece(tmp, src, {{0, 0, cxLeft, cyTop}, {s.x(), s.y(), 0, 0}}, false);
    }
    if (cxRight > 0 && cyTop > 0) {
        drawPiece(tmp, src, {{cx - cxRight, 0, cxRight, cyTop}, {right, s.y(), 0, 0}}, false);
    }
    if (cxLeft > 0 && cyBottom > 0) {
        drawPiece(tmp, src, {{0, cy - cyBottom, cxLeft, cyBottom}, {s.x(), bottom, 0, 0}}, false);
    }
    if (cxRight > 0 && cyBottom > 0) {
        drawPiece(tmp, src,
                  {{cx - cxRight, cy - cyBottom, cxRight, cyBottom}, {right, bottom, 0, 0}}, false);
    }
    if (cxLeft > 0) {
        drawPiece(tmp, src, {{0, cyTop, cxLeft, midH}, {s.x(), s.y() + cyTop, cxLeft, srcMidH}},
                  true);
    }
    if (cxRight > 0) {
        drawPiece(tmp, src,
                  {{cx - cxRight, cyTop, cxRight, midH}, {right, s.y() + cyTop, cxRight, srcMidH}},
                  true);
    }
    if (cyTop > 0) {
        drawPiece(tmp, src, {{cxLeft, 0, midW, cyTop}, {s.x() + cxLeft, s.y(), srcMidW, cyTop}},
                  true);
    }
    if (cyBottom > 0) {
        drawPiece(
            tmp, src,
            {{cxLeft, cy - cyBottom, midW, cyBottom}, {s.x() + cxLeft, bottom, srcMidW, cyBottom}},
            true);
    }
    drawPiece(tmp, src,
              {{cxLeft, cyTop, midW, midH}, {s.x() + cxLeft, s.y() + cyTop, srcMidW, srcMidH}},
              true);
}

} // namespace

bool ChangeWindowLong(HWND hWnd, int nIndex, quint32 lRemove, quint32 lAdd, quint32 lSwpFlags)
{
    const quint32 old = WinApi::GetWindowLong(hWnd, nIndex);
    const quint32 now = (old & ~lRemove) | lAdd;
    if (now == old) {
        return false;
    }
    WinApi::SetWindowLong(hWnd, nIndex, now);
    if (lSwpFlags != 0) {
        WinApi::SetWindowPos(hWnd, 0, 0, 0, 0, 0,
                             lSwpFlags | WinApi::SWP_NOSIZE | WinApi::SWP_NOMOVE |
                                 WinApi::SWP_NOZORDER | WinApi::SWP_NOACTIVATE);
    }
    return true;
}

std::unique_ptr<MemDC> CreateMemBitmapDC(int cx, int cy)
{
    requireScreen();
    if (cx < 0 || cy < 0) {
        throw TabError(TabError::DrawingFailed, CreateCompatibleBitmapFailed);
    }
    QImage bitmap;
    if (cx > 0 && cy > 0) {
        bitmap = QImage(cx, cy, QImage::Format_RGB32);
        if (bitmap.isNull()) {
            throw TabError(TabError::DrawingFailed, CreateCompatibleBitmapFailed);
        }
        bitmap.fill(Qt::black);
    }
    return std::make_unique<MemDC>(std::move(bitmap));
}

std::unique_ptr<MemDC> CreateMemDCFromBitmap(const QImage &hBitmap)
{
    requireScreen();
    return std::make_unique<MemDC>(hBitmap);
}

bool DeleteMemDC(std::unique_ptr<MemDC> &hDC)
{
    hDC.reset();
    return true;
}

int NineGridBlt(MemDC *hDestDC, int x, int y, int cx, int cy, const MemDC *hSrcDC, int xSrc,
                int ySrc, int cxSrc, int cySrc, int cxLeft, int cyTop, int cxRight, int cyBottom,
                std::optional<COLORREF> TransColor)
{
    // A negative size would mirror; nothing of that kind has an area to draw.
    if (cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0) {
        return 0;
    }
    std::unique_ptr<MemDC> tmp = CreateMemBitmapDC(cx, cy);
    tmp->StretchMode = MemDC::HALFTONE;
    if (cxLeft <= 0 && cyTop <= 0 && cxRight <= 0 && cyBottom <= 0) {
        Gdi::StretchBlt(tmp.get(), 0, 0, cx, cy, hSrcDC, xSrc + cxLeft, ySrc + cyTop,
                        cxSrc - cxRight, cySrc - cyBottom);
    } else {
        drawNineGrid(tmp.get(), hSrcDC, QRect(xSrc, ySrc, cxSrc, cySrc), cxLeft, cyTop, cxRight,
                     cyBottom);
    }
    const int result = TransColor ? TransBlt(hDestDC, x, y, cx, cy, tmp.get(), 0, 0, *TransColor)
                                  : Gdi::BitBlt(hDestDC, x, y, cx, cy, tmp.get(), 0, 0);
    DeleteMemDC(tmp);
    return result;
}

int TransBlt(MemDC *hDestDC, int x, int y, int cx, int cy, const MemDC *hSrcDC, int xSrc, int ySrc,
             COLORREF crTransparent)
{
    return Gdi::TransparentBlt(hDestDC, x, y, cx, cy, hSrcDC, xSrc, ySrc, cx, cy, crTransparent);
}

int DrawTextRect(MemDC *hDC, const QString &sText, int nCount, int x, int y, int cx, int cy,
                 quint32 wFormat)
{
    return Gdi::DrawText(hDC, sText, nCount, QRect(x, y, cx, cy), wFormat);
}

} // namespace mdlTabAPI
