#include "BackdropProc.h"

#include "LoginFrm.h"
#include "app/Forms.h"

#include <QWidget>

namespace PublicData {

using namespace platform;

WNDPROC g_PrevBackdropProc;

void HookBackdrop(HWND hWnd)
{
    g_PrevBackdropProc = SetWindowProc(hWnd, MakeWindowProc(BackdropWindowProc));
}

void UnhookBackdrop(HWND hWnd)
{
    if (g_PrevBackdropProc) {
        SetWindowProc(hWnd, g_PrevBackdropProc);
    }
}

LRESULT BackdropWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == wm::Move) {
        QWidget *backdrop = WidgetOf(hWnd);
        LoginFrm *login = Forms<LoginFrm>::IfLoaded();
        if (backdrop && login) {
            login->move(backdrop->pos());
        }
    }
    return CallWindowProc(g_PrevBackdropProc, hWnd, uMsg, wParam, lParam);
}

} // namespace PublicData
