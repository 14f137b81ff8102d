#include "ModMainProc.h"

#include "WebMainFrm.h"
#include "app/Forms.h"
#include "platform/os/HotKey.h"
#include "platform/winsys/WinApi.h"

#include <QHash>

using namespace platform;

namespace ModMainProc {
namespace {

struct Hook {
    WNDPROC previous;
    bool active = true;
};

struct Hooked {
    std::shared_ptr<Hook> hook;
    WNDPROC procedure;
};

QHash<HWND, Hooked> &hooks()
{
    static QHash<HWND, Hooked> table;
    return table;
}

quint16 highWord(LPARAM lParam)
{
    return quint16(quint32(lParam) >> 16);
}

// Only the loaded main window answers; a window on its way out is no longer the program's.
void popAppMenu(HWND hWnd)
{
    auto *window = qobject_cast<WebMainFrm *>(WidgetOf(hWnd));
    if (window && window == Forms<WebMainFrm>::IfLoaded()) {
        window->PopupAppMenu();
    }
}

void answer(HWND hWnd, UINT uMsg, LPARAM lParam)
{
    if (uMsg == wm::HotKey && highWord(lParam) == VK_F10) {
        ToggleMainWindow(hWnd);
    } else if (uMsg == wm::TrayCallback && UINT(lParam) == wm::LButtonUp) {
        ToggleMainWindow(hWnd);
    } else if (uMsg == wm::TrayCallback && UINT(lParam) == wm::RButtonUp) {
        popAppMenu(hWnd);
    }
}

LRESULT run(const std::shared_ptr<Hook> &hook, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (hook->active) {
        answer(hWnd, uMsg, lParam);
    }
    if (uMsg == wm::NcDestroy) {
        hooks().remove(hWnd);
    }
    const WNDPROC previous = hook->previous; // the answer may have unhooked the window
    return CallWindowProc(previous, hWnd, uMsg, wParam, lParam);
}

} // namespace

bool HookMainWindow(HWND hWnd)
{
    if (!IsWindow(hWnd) || hooks().contains(hWnd)) {
        return false;
    }
    const bool hotKey = RegisterHotKey(hWnd, HotKeyId, 0, VK_F10);
    auto hook = std::make_shared<Hook>();
    const WNDPROC procedure = MakeWindowProc(
        [hook](HWND h, UINT m, WPARAM w, LPARAM l) { return run(hook, h, m, w, l); });
    hooks().insert(hWnd, Hooked{hook, procedure});
    hook->previous = SetWindowProc(hWnd, procedure);
    return hotKey;
}

void UnhookMainWindow(HWND hWnd)
{
    const auto it = hooks().constFind(hWnd);
    if (it == hooks().constEnd()) {
        return;
    }
    const Hooked hooked = it.value();
    hooks().erase(it);
    UnregisterHotKey(hWnd, HotKeyId);
    hooked.hook->active = false;
    if (GetWindowProc(hWnd) == hooked.procedure) {
        SetWindowProc(hWnd, hooked.hook->previous);
    }
}

LRESULT MainWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const Hooked hooked = hooks().value(hWnd);
    return hooked.hook ? run(hooked.hook, hWnd, uMsg, wParam, lParam) : 0;
}

void ToggleMainWindow(HWND hWnd)
{
    if (WinApi::IsWindowVisible(hWnd)) {
        WinApi::ShowWindow(hWnd, WinApi::SW_HIDE);
    } else {
        WinApi::ShowWindow(hWnd, WinApi::SW_RESTORE);
    }
}

} // namespace ModMainProc
