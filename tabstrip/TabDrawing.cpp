#include "TabDrawing.h"

#include "TabMetrics.h"
#include "mdlTabAPI.h"
#include "platform/winsys/Gdi.h"
#include "platform/winsys/MemDC.h"

#include <cmath>

using namespace mdlTabAPI;

namespace TabDrawing {
namespace {

TabMetrics::MarkLook markLook(const Scene &scene, int index, bool selected)
{
    if (index == scene.Hot && scene.CloseState == CloseMarkHot) {
        return TabMetrics::MarkHot;
    }
    if (index == scene.Hot && scene.CloseState == CloseMarkPressed) {
        return TabMetrics::MarkPressed;
    }
    return selected ? TabMetrics::MarkOnSelected : TabMetrics::MarkNormal;
}

void drawTab(const Scene &scene, const Art &art, MemDC *hTabsDC, int index, bool selected)
{
    const TabMetrics &metrics = TabMetrics::ForStyle(scene.Strip.Style);
    const TabLayout::TabBox &tab = scene.Tabs[index];
    if (tab.Face.isEmpty()) {
        return;
    }
    const TabMetrics::FaceLook look = selected             ? TabMetrics::FaceSelected
                                      : index == scene.Hot ? TabMetrics::FaceHot
                                                           : TabMetrics::FaceNormal;
    const QRect &face = tab.Face;
    NineGridBlt(hTabsDC, face.x(), face.y(), face.width(), face.height(), art.Skin,
                metrics.FaceColumn(look), 0, metrics.SkinFaceWidth, metrics.FaceHeight,
                TabMetrics::CapWidth, 0, TabMetrics::CapWidth, 0, TransKey);
    const QRect text = metrics.CaptionRect(tab.Left, tab.Width, tab.HideButton, selected);
    DrawTabText(hTabsDC, tab.Caption, text.x(), text.y(), text.width(), text.height());
    if (const QRect &mark = tab.Close; !mark.isEmpty()) {
        TransBlt(hTabsDC, mark.x(), mark.y(), mark.width(), mark.height(), art.Skin,
                 metrics.MarkColumn(markLook(scene, index, selected)), 0, TransKey);
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

void DrawDefaultBackground(const TabLayout::StripGeometry &strip, const Art &art, MemDC *hBackDC)
{
    const TabMetrics &metrics = TabMetrics::ForStyle(strip.Style);
    Gdi::StretchBlt(hBackDC, 0, 0, strip.Width, metrics.StripHeight, art.Skin, 0, 0,
                    TabMetrics::BackColumns, metrics.SkinRows);
}

void DrawTabs(const Scene &scene, const Art &art, MemDC *hTabsDC, const MemDC *hBackDC,
              MemDC *hFrameDC)
{
    const TabLayout::StripGeometry &strip = scene.Strip;
    const int height = TabMetrics::ForStyle(strip.Style).StripHeight;
    const int band = strip.BandWidth();
    const int n = int(scene.Tabs.size());
    const int sel = scene.Selected;
    selectCaptionStyle(hTabsDC, art.Font, CaptionColor);
    Gdi::BitBlt(hTabsDC, 0, 0, band, height, hBackDC, strip.LeftSize, 0);
    for (int i = n - 1; i >= 0; --i) {
        if (i != sel) {
            drawTab(scene, art, hTabsDC, i, false);
        }
    }
    selectCaptionStyle(hTabsDC, art.FontBold, SelectedCaptionColor);
    if (sel >= 0 && sel < n) {
        drawTab(scene, art, hTabsDC, sel, true);
    }
    Gdi::BitBlt(hFrameDC, 0, 0, strip.Width, height, hBackDC, 0, 0);
    Gdi::BitBlt(hFrameDC, strip.LeftSize, 0, band, height, hTabsDC, 0, 0);
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
