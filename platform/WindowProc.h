#pragma once

#include "WinTypes.h"
#include "WindowHandles.h"

#include <functional>
#include <memory>

class QEvent;

namespace platform {

// Win32-style window procedures over Qt widgets. Every registered widget has a chain of
// procedures; a widget's Qt events become messages with the Win32 numbers and parameter packing
// and run down the chain from the top. At the bottom sits the widget's original procedure: for a
// message made from a Qt event it lets the widget handle that event as usual; for a message sent
// by code it does the default action. A procedure that does not call on returns its own result
// and the widget never sees the event.

class WindowProcedure {
public:
    virtual ~WindowProcedure() = default;
    virtual LRESULT Call(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
};

// Procedures are shared: a chain keeps each procedure it may still call alive, so a procedure
// taken out of the chain while a later one still refers to it never dangles.
using WNDPROC = std::shared_ptr<WindowProcedure>;

using WindowProcFunction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// A procedure made of a function, for windows that replace their procedure with a plain routine.
WNDPROC MakeWindowProc(WindowProcFunction function);

// Installs a procedure as the window's top and returns the one it replaced (null when the handle
// is not a live window). Putting the returned procedure back restores the window.
WNDPROC SetWindowProc(HWND hWnd, WNDPROC procedure);

// The window's current top procedure; null when the handle is not a live window.
WNDPROC GetWindowProc(HWND hWnd);

// True when the window's procedure is the one it was created with.
bool HasOriginalWindowProc(HWND hWnd);

LRESULT CallWindowProc(const WNDPROC &procedure, HWND hWnd, UINT uMsg, WPARAM wParam,
                       LPARAM lParam);

// Runs a message through the window's chain now; 0 when the window does not exist.
LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Runs a message through the window's chain from the event loop; false when the window does not
// exist. A window that is gone by then receives nothing.
bool PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Asks for one WM_MOUSELEAVE when the pointer next leaves the window.
void TrackMouseLeave(HWND hWnd);

// Sends WM_SETTINGCHANGE (SPI_SETWORKAREA) to every top-level window that has a replaced
// procedure; called when a screen's available geometry changes.
void BroadcastWorkAreaChange();

// Translation of a Qt event of the widget into a message. False for events that have no message.
struct Message {
    UINT uMsg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
bool MessageFromEvent(QWidget *widget, const QEvent *event, Message &message);

inline constexpr LPARAM MakeLParam(int low, int high)
{
    return LPARAM(quint32(quint16(low)) | (quint32(quint16(high)) << 16));
}

// Message numbers and codes used by the client.
namespace wm {
inline constexpr UINT Move = 0x0003;
inline constexpr UINT Size = 0x0005;
inline constexpr UINT Paint = 0x000F;
inline constexpr UINT Close = 0x0010;
inline constexpr UINT EraseBkgnd = 0x0014;
inline constexpr UINT SettingChange = 0x001A;
inline constexpr UINT NcDestroy = 0x0082;
inline constexpr UINT NcLButtonDown = 0x00A1;
inline constexpr UINT KeyDown = 0x0100;
inline constexpr UINT KeyUp = 0x0101;
inline constexpr UINT SysCommand = 0x0112;
inline constexpr UINT MouseMove = 0x0200;
inline constexpr UINT LButtonDown = 0x0201;
inline constexpr UINT LButtonUp = 0x0202;
inline constexpr UINT LButtonDblClk = 0x0203;
inline constexpr UINT RButtonDown = 0x0204;
inline constexpr UINT RButtonUp = 0x0205;
inline constexpr UINT RButtonDblClk = 0x0206;
inline constexpr UINT MButtonDown = 0x0207;
inline constexpr UINT MButtonUp = 0x0208;
inline constexpr UINT MButtonDblClk = 0x0209;
inline constexpr UINT MouseLeave = 0x02A3;
inline constexpr UINT HotKey = 0x0312;
inline constexpr UINT TrayCallback = 0x1862;
} // namespace wm

inline constexpr WPARAM HTCAPTION = 2;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;
inline constexpr WPARAM SPI_SETWORKAREA = 0x002F;

inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual-key code of a Qt key; 0 for keys without one.
WPARAM VirtualKeyOf(int qtKey);

} // namespace platform
