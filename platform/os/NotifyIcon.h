#pragma once

#include "platform/winsys/WinTypes.h"
#include "platform/winsys/WindowHandles.h"

#include <QIcon>
#include <QString>

class QSystemTrayIcon;

// The notification area (tray) over QSystemTrayIcon, called the way the shell's notify-icon
// call is: a record and an operation. Clicks on an icon with a callback message come back to its
// window as that message (posted), wParam the icon's identifier and lParam the mouse message:
// left click WM_LBUTTONUP, right click WM_RBUTTONUP, double click WM_LBUTTONDBLCLK, middle click
// WM_MBUTTONUP.
namespace platform {

inline constexpr UINT NIM_ADD = 0;
inline constexpr UINT NIM_MODIFY = 1;
inline constexpr UINT NIM_DELETE = 2;

inline constexpr UINT NIF_MESSAGE = 0x01;
inline constexpr UINT NIF_ICON = 0x02;
inline constexpr UINT NIF_TIP = 0x04;
inline constexpr UINT NIF_INFO = 0x10;

inline constexpr UINT NIIF_NONE = 0;
inline constexpr UINT NIIF_INFO = 1;
inline constexpr UINT NIIF_WARNING = 2;
inline constexpr UINT NIIF_ERROR = 3;

struct NOTIFYICONDATA {
    HWND hWnd = 0;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip;
    QString szInfo;
    QString szInfoTitle;
    UINT dwInfoFlags = 0;
};

// NIM_ADD fails for an icon (window, identifier) already added and for a window that does not
// exist; NIM_MODIFY and NIM_DELETE fail for an icon never added. With NIF_INFO an empty balloon
// text and title take the balloon away.
bool Shell_NotifyIcon(UINT dwMessage, const NOTIFYICONDATA &data);

// The icon on screen for (window, identifier); null when there is none.
QSystemTrayIcon *NotifyIconOf(HWND hWnd, UINT uID);

} // namespace platform
