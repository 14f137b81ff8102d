#pragma once

#include "WinTypes.h"

// The messages of window procedures: their Win32 numbers, codes and parameter packing.
namespace platform {

struct Message {
    UINT uMsg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline constexpr LPARAM MakeLParam(int low, int high)
{
    return LPARAM(quint32(quint16(low)) | (quint32(quint16(high)) << 16));
}

// Message numbers and codes used by the client.
namespace wm {
inline constexpr UINT Move = 0x0003;
inline constexpr UINT Size = 0x0005;
inline constexpr UINT Activate = 0x0006;
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
inline constexpr UINT CaptureChanged = 0x0215;
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

inline constexpr WPARAM WA_INACTIVE = 0;

inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

} // namespace platform
