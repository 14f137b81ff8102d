#pragma once

#include "platform/winsys/WindowHandles.h"

#include <QString>
#include <QVariant>

#include <memory>

class CTabItems;
class ITabForm;
class IuTab;

// One tab: its caption, the window it shows and the strip's layout of it. Items are made by
// CTabItems::Add only and shared (a hosted form may keep its item).
//
// The item refers to its form by the form's window: once that window is gone the item has no
// form. An item that still has a form when it is destroyed unloads it, because a tab's window
// belongs to the tab.
class CTabItem : public std::enable_shared_from_this<CTabItem> {
public:
    ~CTabItem();
    CTabItem(const CTabItem &) = delete;
    CTabItem &operator=(const CTabItem &) = delete;

    QString Caption() const { return m_Caption; }
    // Repaints the strip.
    void SetCaption(const QString &caption);

    // Null once the form's window is gone.
    ITabForm *Form() const;
    // Introduces the item to the form and has the strip host it. The previous window is neither
    // unloaded nor detached.
    void SetForm(ITabForm *form);

    bool HideButton() const { return m_HideButton; }
    // Repaints the strip.
    void SetHideButton(bool hide);

    int Left() const { return m_Left; }
    int Width() const { return m_Width; }

    bool LockSize() const { return m_LockSize; }
    // Repaints the strip; the tabs move at its next layout.
    void SetLockSize(bool lock);

    QVariant ItemData() const { return m_ItemData; }
    void SetItemData(const QVariant &data) { m_ItemData = data; }

    // For the strip and the collection.
    void SetIuTab(const std::weak_ptr<IuTab> &strip) { m_IuTab = strip; }
    void SetLeft(int left) { m_Left = left; }
    void SetWidth(int width) { m_Width = width; }
    quint32 WindowStyle() const { return m_WindowStyle; }
    void SetWindowStyle(quint32 style) { m_WindowStyle = style; }

private:
    friend class CTabItems;
    CTabItem() = default;

    void RedrawStrip();
    // Lets the form go without unloading it.
    void DropForm();
    // Destroys the form's window now and lets the form go.
    void UnloadForm();

    QString m_Caption;
    ITabForm *m_Form = nullptr;
    platform::HWND m_FormWnd = 0; // the form's window, which tells whether the form still exists
    quint32 m_WindowStyle = 0;
    bool m_HideButton = false;
    std::weak_ptr<IuTab> m_IuTab;
    int m_Left = 0;
    int m_Width = 0;
    bool m_LockSize = false;
    QVariant m_ItemData;
};
