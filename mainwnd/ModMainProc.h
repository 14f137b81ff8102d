#pragma once

#include "platform/winsys/WindowProc.h"

// The main window's own window procedure: the system-wide F10 key and the tray icon's clicks
// come to the window as messages and are answered here.
namespace ModMainProc {

inline constexpr int HotKeyId = 1000;

// Registers F10 without modifiers as the window's system-wide hot key and puts MainWindowProc on
// top of the window's procedures, keeping the one it replaces. False when the window got no hot
// key: another application holds F10, the display has no key grabs (Wayland), or the window was
// hooked already.
bool HookMainWindow(platform::HWND hWnd);

// Unregisters the hot key and puts the kept procedure back. When a later procedure still sits
// above, MainWindowProc stays in the chain but only passes messages on.
void UnhookMainWindow(platform::HWND hWnd);

// F10 and a left click on the tray icon toggle the window; a right click on the tray icon pops
// the program menu up. Every message then goes on to the kept procedure, whose result this
// returns. A window that is not hooked (any more) gets no commands: a late tray message never
// brings a main window back.
platform::LRESULT MainWindowProc(platform::HWND hWnd, platform::UINT uMsg, platform::WPARAM wParam,
                                 platform::LPARAM lParam);

// Hides a visible window (it leaves the taskbar; the tray icon and F10 bring it back) and shows a
// hidden one, taking it out of the minimised state as well.
void ToggleMainWindow(platform::HWND hWnd);

} // namespace ModMainProc
