#pragma once

#include "platform/winsys/WindowHandles.h"

#include <QString>

#include <memory>
#include <optional>

class CTabItem;
class CTabItems;
class ITabForm;
class QWidget;
class TabIndex;

// The strip as its tab model sees it. The collection and its items call these after they
// changed, so the strip can attach windows, fix its selection and redraw. They refer to the
// strip weakly (std::weak_ptr): items may outlive it inside the forms that keep them.
class IuTab {
public:
    virtual ~IuTab() = default;

    // The collection has just stored a new tab.
    virtual void Add(const QString &Caption, ITabForm *Form, const std::optional<QString> &Key,
                     const TabIndex &Index) = 0;
    // Asks the host whether tab Index may go; false keeps it.
    virtual bool BeforeRemove(int Index) = 0;
    // The collection has just removed tab Index.
    virtual void Remove(int Index) = 0;
    // All tabs are gone.
    virtual void Clear() = 0;
    // Draws the strip and puts it on the screen (the argument is not consulted).
    virtual void Redraw(bool bUpdate) = 0;
    // A tab got a (new) window.
    virtual void ChangeForm(CTabItem &Item, ITabForm *Form) = 0;
    // The selected index, -1 when none.
    virtual int Selected() = 0;
    virtual void SetSelected(int NewValue) = 0;
    virtual std::shared_ptr<CTabItems> TabItems() = 0;
    virtual platform::HWND hWnd() = 0;
    // The window of the form that contains the strip; 0 when there is none.
    virtual platform::HWND hParent() = 0;
    virtual QWidget *Control() = 0;
};
