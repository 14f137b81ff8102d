#include "SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {
namespace {

struct SystemColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexes of the Windows system colour table, resolved to the nearest palette role.
SystemColorRole roleForIndex(unsigned index)
{
    using P = QPalette;
    switch (index) {
    case 1:  // desktop
    case 12: // application workspace
        return {P::Active, P::Dark};
    case 2:  // active caption
    case 13: // highlight
    case 27: // active caption gradient
    case 29: // menu highlight
        return {P::Active, P::Highlight};
    case 3:  // inactive caption
    case 28: // inactive caption gradient
        return {P::Inactive, P::Highlight};
    case 5: // window
        return {P::Active, P::Base};
    case 6:  // window frame
    case 21: // 3D dark shadow
        return {P::Active, P::Shadow};
    case 7: // menu text
    case 8: // window text
        return {P::Active, P::WindowText};
    case 9:  // caption text
    case 14: // highlight text
        return {P::Active, P::HighlightedText};
    case 16: // button shadow
        return {P::Active, P::Mid};
    case 17: // grey text
        return {P::Disabled, P::Text};
    case 18: // button text
        return {P::Active, P::ButtonText};
    case 19: // inactive caption text
        return {P::Inactive, P::HighlightedText};
    case 20: // button highlight
        return {P::Active, P::Light};
    case 22: // 3D light
        return {P::Active, P::Midlight};
    case 23: // tooltip text
        return {P::Active, P::ToolTipText};
    case 24: // tooltip background
        return {P::Active, P::ToolTipBase};
    case 26: // hot-tracked item
        return {P::Active, P::Link};
    default: // scroll bar, menu, borders, button face, menu bar
        return {P::Active, P::Button};
    }
}

} // namespace

QColor TranslateColor(COLORREF color)
{
    if ((color & SystemColorFlag) == 0) {
        return ColorFromRef(color);
    }
    const SystemColorRole entry = roleForIndex(color & 0xFF);
    return QGuiApplication::palette().color(entry.group, entry.role);
}

} // namespace platform
