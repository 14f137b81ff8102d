#include "HookRecord.h"

#include "CSubclass.h"
#include "platform/winsys/WindowHandles.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace hooks {

using namespace platform;

namespace {
const int ReleaseDelayMs = 100;
}

HookRecord::HookRecord(CSubclass *owner, HWND window, LPARAM lParamUser, bool bUnicode,
                       bool bIsAPIwindow)
    : window(window), userValue(lParamUser), unicode(bUnicode), apiWindow(bIsAPIwindow),
      m_owner(owner)
{
}

LRESULT HookRecord::CallPrevious(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = previousProcedure; // may be released while it runs
    return CallWindowProc(previous, window, uMsg, wParam, lParam);
}

void HookRecord::ShutDown(qint32 reason)
{
    shutdownReason = reason;
    beforeTable.Clear();
    afterTable.Clear();
}

LRESULT HookRecord::Call(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Whoever runs this message keeps the record alive until it returns, even if the owner
    // releases it from inside its handler.
    const std::shared_ptr<HookRecord> keepAlive = shared_from_this();
    ++depth;
    LRESULT lReturn = 0;
    if (shutdownReason == 0 && !m_owner) {
        shutdownReason = ReasonOwnerGone;
    }
    if (shutdownReason != 0) {
        lReturn = CallPrevious(uMsg, wParam, lParam);
    } else {
        bool bHandled = false;
        if (beforeTable.Contains(uMsg)) {
            Deliver(true, bHandled, lReturn, uMsg, wParam, lParam);
        }
        if (!bHandled) {
            lReturn = CallPrevious(uMsg, wParam, lParam);
            if (afterTable.Contains(uMsg)) {
                Deliver(false, bHandled, lReturn, uMsg, wParam, lParam);
            }
        }
    }
    --depth;
    if (uMsg == wm::NcDestroy) {
        shutdownReason = ReasonWindowDestroyed;
    }
    if (depth == 0 && shutdownReason != 0) {
        RestoreWhenIdle();
    }
    return lReturn;
}

void HookRecord::Deliver(bool bBefore, bool &bHandled, LRESULT &lReturn, UINT uMsg, WPARAM wParam,
                         LPARAM lParam)
{
    if (CSubclass *owner = m_owner) {
        emit owner->WindowProc(bBefore, bHandled, lReturn, window, uMsg, wParam, lParam, userValue);
    }
}

// Gives the window its previous procedure back, but only while this record is the chain's top:
// a hook installed later still refers to this one as its previous procedure, and replacing the
// top would cut it out. Until then the record passes messages straight through, and it tries
// again after each of them, so hooks come off in reverse order of installation.
void HookRecord::RestoreWhenIdle()
{
    if (m_restored) {
        return;
    }
    const bool windowGone = !IsWindow(window);
    if (!windowGone && GetWindowProc(window).get() != this) {
        return;
    }
    m_restored = true;
    if (!windowGone) {
        SetWindowProc(window, previousProcedure);
        if (shutdownReason == ReasonOwnerGone && apiWindow) {
            if (QWidget *widget = WidgetOf(window)) {
                widget->deleteLater();
            }
        }
    }
    ScheduleRelease();
}

void HookRecord::ScheduleRelease()
{
    std::shared_ptr<HookRecord> self = shared_from_this();
    QTimer::singleShot(ReleaseDelayMs, QCoreApplication::instance(), [self] {
        self->m_released = true;
        self->previousProcedure.reset();
    });
}

} // namespace hooks
