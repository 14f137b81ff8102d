#pragma once

#include <QList>
#include <QRect>
#include <QString>

// Widths, positions, rectangles and hit tests of the strip, and what its selection becomes when
// tabs come and go, as plain functions. All numbers are pixels of the strip; tab positions are
// relative to the tab band, which starts after the left margin.
namespace TabLayout {

// One tab as layout sees it: what the strip gives of it, and the rectangles one pass places in
// band coordinates. Hit tests and drawing read only these, so the pointer finds a tab and its
// close mark where they are drawn.
struct TabBox {
    int Left = 0;
    int Width = 0;
    bool LockSize = false;
    bool HideButton = false;
    QString Caption;
    QRect Hit;   // what the pointer hits
    QRect Face;  // where the face is drawn; empty for a tab without width
    QRect Close; // where the close mark is drawn; empty for none
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

// Places the rectangles of the tabs at their Left and Width.
void PlaceTabs(int style, QList<TabBox> &tabs);

// Reads only the placed rectangles. Where two tabs' zones overlap the lower index wins.
Hit HitTest(const StripGeometry &strip, const QList<TabBox> &tabs, int x, int y);

// What the selection becomes when the tabs change under it, count being the number of tabs
// after the change. An added tab leaves the selected index alone unless there was none (or a
// stale one beyond the tabs), which becomes the first; removing the selected tab selects the
// first, removing one before it keeps the same tab; clearing selects the first tab to come.
enum TabChange { TabAdded, TabRemoved, TabsCleared };
int SelectionAfter(TabChange change, int count, int selected, int index = -1);

} // namespace TabLayout
