#pragma once

#include "platform/winsys/WindowHandles.h"

#include <memory>

class CTabItem;
class IuTab;

// A window shown in a tab. The form is its window (or lives exactly as long as it): the tab
// model keeps forms by their window handle, knows a form is gone when its window is, and
// "unloading" a form destroys its window. Forms are Qt-owned like any window (the container the
// strip moves them into deletes them with itself), so nothing here owns one in the C++ sense.
//
// A form may keep the item it is given; the item goes when the form's window does, which is
// what breaks the item/form cycle.
class ITabForm {
public:
    virtual ~ITabForm() = default;

    // Called many times; must not change while the window exists.
    virtual platform::HWND hWnd() = 0;
    // Tells the form its strip and its tab. Called twice when a tab is added and again whenever
    // the item's form is assigned. The strip is held weakly: it may go before the form does.
    virtual void Initialize(const std::weak_ptr<IuTab> &Implement,
                            const std::shared_ptr<CTabItem> &Item) = 0;
    // Reloads the window's content.
    virtual void RefreshPage() = 0;
};
