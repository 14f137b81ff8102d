#pragma once

#include "platform/winsys/WindowProc.h"

#include <QObject>
#include <memory>
#include <vector>

namespace hooks {
class FormHookRecord;
}

// A simpler window hook: AddWindowMsgs hooks a window and delivers every one of its messages to
// MsgCome before the previous procedure. The handler may change the message and its parameters
// (the previous procedure receives the changes) or handle it outright. Windows stay hooked until
// the object is destroyed; then each is unhooked, the most recent first.
class cFormSubclass : public QObject {
    Q_OBJECT

public:
    using HWND = platform::HWND;
    using UINT = platform::UINT;
    using WPARAM = platform::WPARAM;
    using LPARAM = platform::LPARAM;
    using LRESULT = platform::LRESULT;

    // This class's When bits are the reverse of CSubclass's.
    enum When { MSG_AFTER = 1, MSG_BEFORE = 2 };
    static constexpr qint32 ALL_MESSAGES = -1;

    explicit cFormSubclass(QObject *parent = nullptr);
    ~cFormSubclass() override;

    bool AddWindowMsgs(HWND hWnd);
    // Unhooking one window is not offered: the window stays hooked until the object goes.
    bool DeleteWindowMsg(HWND hWnd);

    void zSubclass_Proc(bool bBefore, bool &bHandled, LRESULT &lReturn, HWND &lng_hWnd, UINT &uMsg,
                        WPARAM &wParam, LPARAM &lParam);

    int HookedWindowCount() const;

signals:
    void MsgCome(bool bBefore, bool &bHandled, LRESULT &lReturn, HWND &lng_hWnd, UINT &uMsg,
                 WPARAM &wParam, LPARAM &lParam);

private:
    hooks::FormHookRecord &FreeRecord();
    void Unhook(hooks::FormHookRecord &record);

    std::vector<std::shared_ptr<hooks::FormHookRecord>> m_records;
};
