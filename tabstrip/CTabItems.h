#pragma once

#include "TabIndex.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class CTabItem;
class ITabForm;
class IuTab;

// The ordered tabs of a strip, optionally keyed. Keys compare without regard to case and belong
// to one tab only. Indexes count from 0.
//
// Errors are TabError: 5 for an index that is not a number, 9 for one out of range, 457 for a
// key another tab has, 5 for a key no tab has (Item), 91 for a missing form (Add).
class CTabItems {
public:
    CTabItems() = default;
    CTabItems(const CTabItems &) = delete;
    CTabItems &operator=(const CTabItems &) = delete;

    // Makes a tab for the form, introduces them to each other, has the strip host the window
    // (hidden) and stores the tab at Index (appended when missing). Does not select it. A failed
    // store leaves the form to the caller, attached but not unloaded.
    bool Add(const QString &Caption, ITabForm *Form, const std::optional<QString> &Key = {},
             const TabIndex &Index = {});
    // Removes the tab unless the strip's host vetoes it; bUnload also destroys its window.
    bool Remove(const TabIndex &Index, bool bUnload = true);
    // Unloads every tab's window and forgets the tabs; the strip is told.
    bool Clear();
    // -1 when not found; never fails.
    int FindItem(const TabIndex &Index) const;
    // Removes the tab (the veto applies) and gives its window back to the desktop with the style
    // it had before it was hosted, centred on the screen and shown. The window outlives its item.
    // False when nothing was released.
    bool ReleaseForm(const TabIndex &Index);

    int Count() const { return int(m_Col.size()); }
    // Null for a number out of range.
    std::shared_ptr<CTabItem> Item(const TabIndex &Index) const;
    int Selected() const;
    void SetSelected(int NewValue);

    // For the strip.
    void SetIuTab(const std::weak_ptr<IuTab> &strip) { m_IuTab = strip; }

private:
    struct Entry {
        QString key; // case-folded; empty for none
        bool keyed = false;
        std::shared_ptr<CTabItem> item;
    };

    int KeyPosition(const QString &key) const;
    int PositionOf(const CTabItem *item) const;
    int PositionOfForm(const ITabForm *form) const;
    void Store(const std::shared_ptr<CTabItem> &item, const std::optional<QString> &Key,
               const TabIndex &Index);

    QList<Entry> m_Col;
    std::weak_ptr<IuTab> m_IuTab;
};
