#pragma once

#include "platform/winsys/SystemColors.h"
#include "platform/winsys/WindowHandles.h"

#include <QImage>
#include <QString>

#include <memory>
#include <optional>

class MemDC;

// Drawing helpers of the tab strip over memory device contexts, and the window-style helper
// its hosting uses.
namespace mdlTabAPI {

using platform::COLORREF;
using platform::HWND;

// Texts of the failures that stop the making of a context.
inline const QString GetDCFailed = QStringLiteral("GetDC调用失败");
inline const QString CreateCompatibleBitmapFailed =
    QStringLiteral("CreateCompatibleBitmap调用失败");
inline const QString CreateCompatibleDCFailed = QStringLiteral("CreateCompatibleDC调用失败");

// new = (old & ~lRemove) | lAdd; nothing happens when that is the old value. With lSwpFlags the
// window is told its frame changed (no move, no size, no z-order change, no activation).
// Returns whether the value changed.
bool ChangeWindowLong(HWND hWnd, int nIndex, quint32 lRemove, quint32 lAdd, quint32 lSwpFlags);

// A context with a black cx x cy picture. Throws TabError (the numbered drawing failure) with
// the text of the step that failed: no screen, or a size that cannot be made.
std::unique_ptr<MemDC> CreateMemBitmapDC(int cx, int cy);

// A context holding the bitmap. A null bitmap gives a context that draws nothing.
std::unique_ptr<MemDC> CreateMemDCFromBitmap(const QImage &hBitmap);

// Frees the context and its picture; the handle becomes null.
bool DeleteMemDC(std::unique_ptr<MemDC> &hDC);

// Draws the source rectangle into the destination rectangle keeping the margins unscaled:
// corners copied, edges stretched along their length, the centre stretched both ways, with
// averaging. Returns the final transfer's result, 0 when there is nothing to draw.
int NineGridBlt(MemDC *hDestDC, int x, int y, int cx, int cy, const MemDC *hSrcDC, int xSrc,
                int ySrc, int cxSrc, int cySrc, int cxLeft, int cyTop, int cxRight, int cyBottom,
                std::optional<COLORREF> TransColor = std::nullopt);

// Copies cx x cy pixels unscaled, leaving out those of the colour crTransparent.
int TransBlt(MemDC *hDestDC, int x, int y, int cx, int cy, const MemDC *hSrcDC, int xSrc, int ySrc,
             COLORREF crTransparent);

int DrawTextRect(MemDC *hDC, const QString &sText, int nCount, int x, int y, int cx, int cy,
                 quint32 wFormat);

} // namespace mdlTabAPI
