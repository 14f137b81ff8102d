#pragma once

#include <QRect>
#include <QSize>

#include <optional>

// Where the main window's controls go for a window size. Everything is in twips, as the form
// is laid out; each rule stands alone, and a rule that would give a control a negative size
// (a window narrower or lower than the design allows) gives nothing, so that control keeps
// where it was while the others still move.
namespace MainLayout {

inline constexpr QSize DesignClientTwips(15540, 9585);
inline constexpr int TabHeightTwips = 480;

struct Placement {
    std::optional<QRect> WebBForm;
    std::optional<QRect> web_close;
    std::optional<QRect> web_minmax;
    std::optional<QRect> web_min;
    std::optional<QRect> web_tool;
    std::optional<QRect> WebuTab;
    std::optional<QRect> GameSpaceBtn;
    std::optional<QRect> OtherUserBtn;
    std::optional<QRect> Picture1; // pCnt takes the same place
};

// The window's client size (the outer size too: the window has no frame) and the strip's
// height, both in twips.
Placement Place(QSize clientTwips, int tabHeightTwips = TabHeightTwips);

// Inside Picture1 the start browser reaches 30 twips past every edge, so its own border lies
// outside the visible panel.
std::optional<QRect> StartBrowserRect(QSize panelTwips);

// A twips rectangle on the screen's pixel grid.
QRect ToPixels(const QRect &twips);

} // namespace MainLayout
