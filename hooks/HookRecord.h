#pragma once

#include "MessageTable.h"
#include "platform/winsys/WindowProc.h"

#include <QPointer>
#include <memory>

class CSubclass;

namespace hooks {

// One hooked window of a CSubclass: installed as the window's procedure, it filters the
// window's messages through its tables and raises the owner's WindowProc event.
class HookRecord : public platform::WindowProcedure,
                   public std::enable_shared_from_this<HookRecord> {
public:
    static constexpr qint32 ReasonUnhooked = 1;
    static constexpr qint32 ReasonOwnerGone = 0x82;
    static constexpr qint32 ReasonWindowDestroyed = 0x8000;

    HookRecord(CSubclass *owner, platform::HWND window, platform::LPARAM lParamUser, bool bUnicode,
               bool bIsAPIwindow);

    platform::LRESULT Call(platform::HWND hWnd, platform::UINT uMsg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;

    platform::LRESULT CallPrevious(platform::UINT uMsg, platform::WPARAM wParam,
                                   platform::LPARAM lParam);
    void ShutDown(qint32 reason);

    // True until the record has been released, 100 ms after its window was given back.
    bool IsValid() const { return !m_released; }

    int depth = 0;
    qint32 shutdownReason = 0;
    platform::HWND window;
    platform::WNDPROC previousProcedure;
    MessageTable beforeTable;
    MessageTable afterTable;
    platform::LPARAM userValue;
    bool unicode;
    bool apiWindow;

private:
    void Deliver(bool bBefore, bool &bHandled, platform::LRESULT &lReturn, platform::UINT uMsg,
                 platform::WPARAM wParam, platform::LPARAM lParam);
    void RestoreWhenIdle();
    void ScheduleRelease();

    QPointer<CSubclass> m_owner;
    bool m_restored = false;
    bool m_released = false;
};

} // namespace hooks
