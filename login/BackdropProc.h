#pragma once

#include "platform/winsys/WindowProc.h"

// The backdrop's replaced window procedure keeps the login window glued to it.
namespace PublicData {

// The procedure HookBackdrop replaced; one slot for the program, which has one backdrop.
extern platform::WNDPROC g_PrevBackdropProc;

void HookBackdrop(platform::HWND hWnd);
void UnhookBackdrop(platform::HWND hWnd);
platform::LRESULT BackdropWindowProc(platform::HWND hWnd, platform::UINT uMsg,
                                     platform::WPARAM wParam, platform::LPARAM lParam);

} // namespace PublicData
