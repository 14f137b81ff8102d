#include "cFormSubclass.h"

#include "FormHookRecord.h"

using namespace platform;
using hooks::FormHookRecord;

cFormSubclass::cFormSubclass(QObject *parent) : QObject(parent) {}

cFormSubclass::~cFormSubclass()
{
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
        Unhook(**it);
    }
}

FormHookRecord &cFormSubclass::FreeRecord()
{
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
        if ((*it)->IsFree()) {
            return **it;
        }
    }
    m_records.push_back(std::make_shared<FormHookRecord>(this));
    return *m_records.back();
}

bool cFormSubclass::AddWindowMsgs(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        return true;
    }
    FormHookRecord &record = FreeRecord();
    const auto shared = std::find_if(m_records.begin(), m_records.end(),
                                     [&record](const auto &r) { return r.get() == &record; });
    record.window = hWnd;
    // Hooking a window twice is allowed: the second hook wraps the first.
    record.previousProcedure = SetWindowProc(hWnd, *shared);
    record.AddMessage(record.beforeTable, record.beforeCount, ALL_MESSAGES);
    return true;
}

bool cFormSubclass::DeleteWindowMsg(HWND hWnd)
{
    Q_UNUSED(hWnd);
    return false;
}

void cFormSubclass::zSubclass_Proc(bool bBefore, bool &bHandled, LRESULT &lReturn, HWND &lng_hWnd,
                                   UINT &uMsg, WPARAM &wParam, LPARAM &lParam)
{
    emit MsgCome(bBefore, bHandled, lReturn, lng_hWnd, uMsg, wParam, lParam);
}

int cFormSubclass::HookedWindowCount() const
{
    return int(std::count_if(m_records.begin(), m_records.end(),
                             [](const auto &record) { return !record->IsFree(); }));
}

void cFormSubclass::Unhook(FormHookRecord &record)
{
    if (record.IsFree()) {
        return;
    }
    // A destroyed window has nothing to give back; a record that is no longer the top of its
    // window's chain stays there as a plain pass-through, so a hook installed after it keeps
    // working and nothing refers to freed code.
    if (IsWindow(record.window) && GetWindowProc(record.window).get() == &record) {
        SetWindowProc(record.window, record.previousProcedure);
    }
    record.Disown();
    record.beforeCount = 0;
    record.afterCount = 0;
    record.Clear();
}
