#pragma once

#include "platform/winsys/WinTypes.h"
#include "platform/winsys/WindowHandles.h"

// System-wide hot keys: the key reaches the window as WM_HOTKEY (wParam the identifier, lParam
// the modifiers in the low word and the virtual key in the high word) whichever application has
// the keyboard focus. On X11 this is a passive grab of the key on the root window; where no such
// grab exists (Wayland) registration fails and the key does nothing.
namespace platform {

inline constexpr UINT MOD_ALT = 0x0001;
inline constexpr UINT MOD_CONTROL = 0x0002;
inline constexpr UINT MOD_SHIFT = 0x0004;
inline constexpr UINT MOD_WIN = 0x0008;

inline constexpr UINT VK_F10 = 0x79;

// False when the key is taken (another application grabbed it first), the identifier is already
// registered for the window, the key has no key code here, or the display has no key grabs.
bool RegisterHotKey(HWND hWnd, int id, UINT fsModifiers, UINT vk);

// False when nothing was registered under that identifier for the window. A window's hot keys
// also go when the window is destroyed.
bool UnregisterHotKey(HWND hWnd, int id);

} // namespace platform
