#include "TabDrawing.h"

#include "TabMetrics.h"
#include "mdlTabAPI.h"
#include "platform/winsys/Gdi.h"
#include "platform/winsys/MemDC.h"

#include <cmath>

using namespace mdlTabAPI;

namespace TabDrawing {
namespace {

// Source columns of a skin: three faces side by side, then four close marks.
struct SkinColumns {
    int FaceWidth;
    int Normal, Hot, Selected;
    int CloseSelected, CloseNormal, CloseHot, ClosePressed;
    int BackHeight; // rows of the background column
};

const SkinColumns Skin0{122, 1, 123, 245, 367, 379, 391, 403, 25};
const SkinColumns Skin1{124, 1, 125, 249, 373, 385, 397, 409, 28};

const SkinColumns &columnsOf(int style)
{
    return style == 0 ? Skin0 : Skin1;
}

int closeColumn(const SkinColumns &skin, const Scene &scene, int index, bool selected)
{
    if (index == scene.Hot && scene.CloseState == CloseMarkHot) {
        return skin.CloseHot;
    }
    if (index == scene.Hot && scene.CloseState == CloseMarkPressed) {
        return skin.ClosePressed;
    }
    return selected ? skin.CloseSelected : skin.CloseNormal;
}

// The caption's rectangle: style 0 keeps room for the close mark (or the selected tab's bold
// text) on the right, style 1 indents by 12 on the left.
QRect captionRect(const TabMetrics &metrics, const TabFace &tab, bool selected)
{
    if (metrics.Style == 0) {
        const int room = selected ? 26 : (tab.HideButton ? 14 : 38);
        return QRect(tab.Left, 0, tab.Width - room, metrics.FaceHeight);
    }
    const int room = tab.HideButton ? 8 : 28;
    return QRect(tab.Left + 12, 0, tab.Width - room, metrics.FaceHeight);
}

void drawTab(const Scene &scene, const Art &art, MemDC *hTabsDC, int index, bool selected)
{
    const TabMetrics metrics = TabMetrics::ForStyle(scene.Style);
    const SkinColumns &skin = columnsOf(scene.Style);
    const TabFace &tab = scene.Tabs[index];
    if (tab.Width <= 0) {
        return;
    }
    const QRect face = metrics.FaceRect(tab.Left, tab.Width);
    const int column = selected ? skin.Selected : (index == scene.Hot ? skin.Hot : skin.Normal);
    NineGridBlt(hTabsDC, face.x(), face.y(), face.width(), face.height(), art.Skin, column, 0,
                skin.FaceWidth, metrics.FaceHeight, 14, 0, 14, 0, TransKey);
    const QRect text = captionRect(metrics, tab, selected);
    DrawTabText(hTabsDC, tab.Caption, text.x(), text.y(), text.width(), text.height());
    const QRect mark = metrics.CloseRect(tab.Left, tab.Width);
    if (!tab.HideButton && !mark.isEmpty()) {
        TransBlt(hTabsDC, mark.x(), mark.y(), mark.width(), mark.height(), art.Skin,
                 closeColumn(skin, scene, index, selected), 0, TransKey);
    }
}

void selectCaptionStyle(MemDC *hDC, const QFont &font, platform::COLORREF color)
{
    if (hDC) {
        hDC->BkMode = MemDC::TRANSPARENT;
        hDC->Font = font;
        hDC->TextColor = platform::ColorFromRef(color);
    }
}

} // namespace

void DrawDefaultBackground(const Scene &scene, const Art &art, MemDC *hBackDC)
{
    const TabMetrics metrics = TabMetrics::ForStyle(scene.Style);
    Gdi::StretchBlt(hBackDC, 0, 0, scene.StripWidth, metrics.StripHeight, art.Skin, 0, 0, 1,
                    columnsOf(scene.Style).BackHeight);
}

void DrawTabs(const Scene &scene, const Art &art, MemDC *hTabsDC, const MemDC *hBackDC,
              MemDC *hFrameDC)
{
    const TabMetrics metrics = TabMetrics::ForStyle(scene.Style);
    const int height = metrics.StripHeight;
    const int band = scene.StripWidth - scene.LeftSize - scene.RightSize;
    const int n = int(scene.Tabs.size());
    const int sel = scene.Selected;
    selectCaptionStyle(hTabsDC, art.Font, CaptionColor);
    Gdi::BitBlt(hTabsDC, 0, 0, band, height, hBackDC, scene.LeftSize, 0);
    for (int i = n - 1; i >= 0; --i) {
        if (i != sel) {
            drawTab(scene, art, hTabsDC, i, false);
        }
    }
    selectCaptionStyle(hTabsDC, art.FontBold, SelectedCaptionColor);
    if (sel >= 0 && sel < n) {
        drawTab(scene, art, hTabsDC, sel, true);
    }
    Gdi::BitBlt(hFrameDC, 0, 0, scene.StripWidth, height, hBackDC, 0, 0);
    Gdi::BitBlt(hFrameDC, scene.LeftSize, 0, band, height, hTabsDC, 0, 0);
}

void DrawTabText(MemDC *hDC, const QString &sText, int x, int y, int cx, int cy)
{
    const QSize size = Gdi::GetTextExtentPoint32(hDC, sText);
    if (size.width() > cx) {
        const int top = int(std::nearbyint((cy - size.height()) / 2.0 + y));
        DrawTextRect(hDC, sText, -1, x, top, cx, cy, EllipsisText);
    } else {
        DrawTextRect(hDC, sText, -1, x, y, cx, cy, CenteredText);
    }
}

} // namespace TabDrawing
