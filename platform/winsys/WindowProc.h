#pragma once

#include "WinTypes.h"
#include "WindowHandles.h"
#include "WindowMessages.h"

#include <functional>
#include <memory>

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

} // namespace platform
