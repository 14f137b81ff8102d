#pragma once

#include "platform/winsys/WinTypes.h"
#include "platform/winsys/WindowHandles.h"

#include <QRect>

// The window calls the tab strip makes on the windows it hosts, over widgets. The style word
// keeps every bit it is given; the bits Qt can act on take effect: WS_CAPTION is the window's
// frame (off makes it frameless), WS_CHILD and WS_VISIBLE always read what the widget is.
namespace WinApi {

using platform::HWND;
using platform::UINT;

inline constexpr int GWL_STYLE = -16;

inline constexpr quint32 WS_POPUP = 0x80000000u;
inline constexpr quint32 WS_CHILD = 0x40000000u;
inline constexpr quint32 WS_VISIBLE = 0x10000000u;
inline constexpr quint32 WS_CAPTION = 0x00C00000u;
inline constexpr quint32 WS_SYSMENU = 0x00080000u;
inline constexpr quint32 WS_THICKFRAME = 0x00040000u;
inline constexpr quint32 WS_MINIMIZEBOX = 0x00020000u;
inline constexpr quint32 WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr quint32 WS_OVERLAPPEDWINDOW = 0x00CF0000u;

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_BOTTOM = 1;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_RESTORE = 9;

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_INTERNALPAINT = 0x0002;

// 0 for a window that does not exist or an index other than GWL_STYLE.
quint32 GetWindowLong(HWND hWnd, int nIndex);
// Returns the previous value.
quint32 SetWindowLong(HWND hWnd, int nIndex, quint32 dwNewLong);

// Makes the window a child of hWndNewParent, or a top-level window for 0; a visible window stays
// visible. Returns the previous parent, 0 for none or when the window does not exist.
HWND SetParent(HWND hWndChild, HWND hWndNewParent);

bool SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);

// The client area at (0, 0): right and bottom are width and height. Empty for no window.
QRect GetClientRect(HWND hWnd);
// The window's frame on the screen.
QRect GetWindowRect(HWND hWnd);

int GetSystemMetrics(int nIndex);

// SW_HIDE hides, SW_SHOW shows and activates, SW_SHOWMINIMIZED minimises; SW_SHOWNORMAL and
// SW_RESTORE show and take a minimised window back to the size it had. Returns whether the window
// was visible before; false for no window.
bool ShowWindow(HWND hWnd, int nCmdShow);
// A minimised window is still visible; a hidden one is not.
bool IsWindowVisible(HWND hWnd);

bool RedrawWindow(HWND hWnd, UINT flags);

// Activates the top-level window that holds hWnd when it is shown; returns the previously
// active window.
HWND SetActiveWindow(HWND hWnd);

} // namespace WinApi
