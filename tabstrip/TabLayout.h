#pragma once

#include <QList>

// Widths, positions and hit tests of the strip as plain functions of its geometry. All numbers
// are pixels of the strip; tab positions are relative to the tab band, which starts after the
// left margin.
namespace TabLayout {

// What layout and hit testing need of one tab.
struct TabBox {
    int Left = 0;
    int Width = 0;
    bool LockSize = false;
    bool HideButton = false;
};

struct StripGeometry {
    int Style = 0;
    int Width = 0;
    int LeftSize = 40;
    int RightSize = 0;

    int BandWidth() const { return Width - LeftSize - RightSize; }
};

// Hit-test results that are not a tab.
inline constexpr int HitBand = -1;    // on the band but on no tab
inline constexpr int HitMargin = -2;  // in the left or right margin
inline constexpr int HitOutside = -3; // outside the tab rows

struct Hit {
    bool bOnClose = false;
    int Index = HitOutside;
};

// The shared width of tabs that are not locked: the free band shared out, rounded half to
// even, at most the standard width. Many tabs give narrow, even zero or negative, widths.
int CalcTabWidth(const StripGeometry &strip, const QList<TabBox> &tabs);

// Places the tabs from the style's first Left: locked tabs get the standard width, the others
// tabWidth.
void LayoutTabs(int style, int tabWidth, QList<TabBox> &tabs);

// Where two tabs share an edge the lower index wins.
Hit HitTest(const StripGeometry &strip, const QList<TabBox> &tabs, int x, int y);

} // namespace TabLayout
