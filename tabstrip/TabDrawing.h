#pragma once

#include "TabLayout.h"
#include "platform/winsys/SystemColors.h"

#include <QFont>

class MemDC;

// The composition of the strip's pictures, as plain functions over memory contexts: the
// background from the skin's first column, then the tab band composed in its own buffer over
// that background and merged with it into the finished frame.
namespace TabDrawing {

inline constexpr platform::COLORREF CaptionColor = platform::RGB(0, 0, 0);
inline constexpr platform::COLORREF SelectedCaptionColor = platform::RGB(4, 96, 163);
inline constexpr platform::COLORREF TransKey = platform::RGB(255, 0, 255);

// Captions narrower than their rectangle are centred; wider ones are cut with an ellipsis.
inline constexpr quint32 CenteredText = 0x25;   // DT_CENTER | DT_VCENTER | DT_SINGLELINE
inline constexpr quint32 EllipsisText = 0x8000; // DT_END_ELLIPSIS

// The hot tab's close mark: as on every tab, under the pointer, pressed.
enum CloseMarkState { CloseMarkNormal = 0, CloseMarkHot = 1, CloseMarkPressed = 2 };

// Everything one composition reads: the tabs as the strip last placed them and their looks.
struct Scene {
    TabLayout::StripGeometry Strip;
    QList<TabLayout::TabBox> Tabs;
    int Hot = -1;
    int Selected = -1;
    int CloseState = CloseMarkNormal; // of the hot tab's close mark (CloseMarkState)
};

struct Art {
    const MemDC *Skin = nullptr; // the skin of the scene's style
    QFont Font;                  // captions of tabs that are not selected
    QFont FontBold;              // the selected tab's caption
};

// Stretches the skin's background column over the whole buffer.
void DrawDefaultBackground(const TabLayout::StripGeometry &strip, const Art &art, MemDC *hBackDC);

// Composes the band in hTabsDC over the background and the finished frame in hFrameDC. Tabs
// are drawn from the right, so each covers its right neighbour's left cap; the selected tab
// last. A tab without width is not drawn, and nothing of a tab is drawn outside its face.
void DrawTabs(const Scene &scene, const Art &art, MemDC *hTabsDC, const MemDC *hBackDC,
              MemDC *hFrameDC);

void DrawTabText(MemDC *hDC, const QString &sText, int x, int y, int cx, int cy);

} // namespace TabDrawing
