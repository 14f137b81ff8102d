#pragma once

#include "platform/winsys/WindowProc.h"

#include <QPointer>
#include <memory>
#include <vector>

class cFormSubclass;

namespace hooks {

// One window hooked by a cFormSubclass. Its tables grow without limit; -1 as a count means
// every message. The record stays valid while the window's chain may call it, so an owner
// destroyed in the middle of a delivery, or a window destroyed while hooked, never leaves a
// dangling procedure behind.
class FormHookRecord : public platform::WindowProcedure,
                       public std::enable_shared_from_this<FormHookRecord> {
public:
    explicit FormHookRecord(cFormSubclass *owner) : m_owner(owner) {}

    platform::LRESULT Call(platform::HWND hWnd, platform::UINT uMsg, platform::WPARAM wParam,
                           platform::LPARAM lParam) override;

    void AddMessage(std::vector<platform::UINT> &table, qint32 &count, qint32 uMsg);
    bool IsFree() const { return window == 0; }
    void Clear();
    void Disown() { m_owner = nullptr; }

    platform::HWND window = 0;
    platform::WNDPROC previousProcedure;
    qint32 afterCount = 0;
    qint32 beforeCount = 0;
    std::vector<platform::UINT> afterTable;
    std::vector<platform::UINT> beforeTable;

private:
    static bool Holds(const std::vector<platform::UINT> &table, qint32 count, platform::UINT uMsg);

    QPointer<cFormSubclass> m_owner;
};

} // namespace hooks
