#include "FormHookRecord.h"

#include "cFormSubclass.h"

namespace hooks {

using namespace platform;

bool FormHookRecord::Holds(const std::vector<UINT> &table, qint32 count, UINT uMsg)
{
    if (count == -1) {
        return true;
    }
    return uMsg != 0 && std::find(table.begin(), table.end(), uMsg) != table.end();
}

void FormHookRecord::AddMessage(std::vector<UINT> &table, qint32 &count, qint32 uMsg)
{
    if (uMsg == -1) {
        count = -1;
        return;
    }
    if (count == -1) {
        count = 0;
        table.clear();
    }
    for (UINT &entry : table) {
        if (entry == 0) {
            entry = UINT(uMsg);
            return;
        }
        if (entry == UINT(uMsg)) {
            return;
        }
    }
    table.push_back(UINT(uMsg));
    count = qint32(table.size());
}

void FormHookRecord::Clear()
{
    window = 0;
    afterCount = 0;
    beforeCount = 0;
    afterTable.clear();
    beforeTable.clear();
}

LRESULT FormHookRecord::Call(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const std::shared_ptr<FormHookRecord> keepAlive = shared_from_this();
    // Unhooked while a later hook sat on top: step out of the chain as soon as that hook is gone.
    if (!m_owner && GetWindowProc(hWnd).get() == this) {
        SetWindowProc(hWnd, previousProcedure);
    }
    bool bHandled = false;
    LRESULT lReturn = 0;
    if (m_owner && Holds(beforeTable, beforeCount, uMsg)) {
        m_owner->zSubclass_Proc(true, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
    }
    if (bHandled) {
        return lReturn;
    }
    // Held here, so an owner that unhooks everything from inside its handler cannot pull the
    // next procedure out from under this call.
    const WNDPROC previous = previousProcedure;
    lReturn = CallWindowProc(previous, hWnd, uMsg, wParam, lParam);
    if (m_owner && Holds(afterTable, afterCount, uMsg)) {
        m_owner->zSubclass_Proc(false, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
    }
    return lReturn;
}

} // namespace hooks
