#pragma once

#include <QColor>

// Every picture draws from these few colours so the skin reads as one piece: navy and royal blue
// carry the surfaces, gold is kept for rims and emblems, white for anything that must be read.
namespace art::palette {

inline const QColor navyNight{0x06, 0x17, 0x2b};
inline const QColor navyDeep{0x0b, 0x2a, 0x4a};
inline const QColor navyMid{0x13, 0x3f, 0x6e};
inline const QColor royal{0x1f, 0x5f, 0xa8};
inline const QColor sky{0x3d, 0x8a, 0xd8};
inline const QColor skyPale{0x9c, 0xc8, 0xf2};
inline const QColor gold{0xe9, 0xc4, 0x6a};
inline const QColor goldDeep{0xc8, 0x96, 0x2e};
inline const QColor goldShadow{0x7a, 0x55, 0x14};
inline const QColor goldPale{0xfb, 0xea, 0xb8};
inline const QColor white{0xff, 0xff, 0xff};
inline const QColor alertRed{0xe0, 0x43, 0x3b};
inline const QColor alertRedDeep{0xa8, 0x27, 0x1f};

// The browser is laid over this panel, so it has to be one flat colour that a page flash blends
// into while it loads.
inline const QColor loginPanel{0x08, 0x1b, 0x30};

// Tab skins are keyed on this colour: pixels holding it are skipped when the strip is drawn.
inline const QColor colourKey{0xff, 0x00, 0xff};

// Text on the selected tab uses this blue, so the selected face must stay light.
inline const QColor tabCaptionBlue{4, 96, 163};

} // namespace art::palette
