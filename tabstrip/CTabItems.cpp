#include "CTabItems.h"

#include "CTabItem.h"
#include "ITabForm.h"
#include "IuTab.h"
#include "TabError.h"
#include "platform/winsys/WinApi.h"

#include <cmath>

namespace {

QString folded(const QString &key)
{
    return key.toCaseFolded();
}

} // namespace

int CTabItems::KeyPosition(const QString &key) const
{
    const QString wanted = folded(key);
    for (int i = 0; i < m_Col.size(); ++i) {
        if (m_Col[i].keyed && m_Col[i].key == wanted) {
            return i;
        }
    }
    return -1;
}

int CTabItems::PositionOf(const CTabItem *item) const
{
    for (int i = 0; i < m_Col.size(); ++i) {
        if (m_Col[i].item.get() == item) {
            return i;
        }
    }
    return -1;
}

int CTabItems::PositionOfForm(const ITabForm *form) const
{
    for (int i = 0; i < m_Col.size(); ++i) {
        if (m_Col[i].item->Form() == form) {
            return i;
        }
    }
    return -1;
}

void CTabItems::Store(const std::shared_ptr<CTabItem> &item, const std::optional<QString> &Key,
                      const TabIndex &Index)
{
    int position = Count();
    if (!Index.IsMissing()) {
        if (!Index.IsNumeric()) {
            throw TabError(TabError::InvalidArgument);
        }
        const std::optional<int> n = Index.ToInt32();
        if (!n || *n < 0 || *n > Count()) {
            throw TabError(TabError::SubscriptOutOfRange);
        }
        position = *n;
    }
    if (Key && KeyPosition(*Key) >= 0) {
        throw TabError(TabError::DuplicateKey);
    }
    m_Col.insert(position, Entry{Key ? folded(*Key) : QString(), Key.has_value(), item});
}

bool CTabItems::Add(const QString &Caption, ITabForm *Form, const std::optional<QString> &Key,
                    const TabIndex &Index)
{
    if (!Form) {
        throw TabError(TabError::ObjectNotSet);
    }
    const QString caption = Caption;
    const TabIndex index = Index;
    const quint32 style = WinApi::GetWindowLong(Form->hWnd(), WinApi::GWL_STYLE);
    std::shared_ptr<CTabItem> item(new CTabItem);
    item->SetWindowStyle(style);
    item->SetIuTab(m_IuTab);
    Form->Initialize(m_IuTab, item);
    item->SetCaption(caption);
    item->SetForm(Form);
    try {
        Store(item, Key, index);
    } catch (const TabError &) {
        // The form is the caller's: the item that is not stored must not take it down with it.
        item->DropForm();
        throw;
    }
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        strip->Add(caption, Form, Key, index);
    }
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        WinApi::SetActiveWindow(strip->hWnd());
    }
    return true;
}

bool CTabItems::Remove(const TabIndex &Index, bool bUnload)
{
    int p = FindItem(Index);
    if (p < 0) {
        return false;
    }
    const std::shared_ptr<CTabItem> item = m_Col[p].item;
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock(); strip && !strip->BeforeRemove(p)) {
        return false;
    }
    // The host's handler may have run a message loop that changed the tabs.
    p = PositionOf(item.get());
    if (p < 0) {
        return false;
    }
    m_Col.removeAt(p);
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        strip->Remove(p);
    }
    if (bUnload) {
        item->UnloadForm();
    }
    return true;
}

bool CTabItems::Clear()
{
    for (const Entry &entry : QList<Entry>(m_Col)) {
        entry.item->UnloadForm();
    }
    m_Col.clear();
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        strip->Clear();
    }
    return true;
}

int CTabItems::FindItem(const TabIndex &Index) const
{
    if (m_Col.isEmpty()) {
        return -1;
    }
    switch (Index.StoredKind()) {
    case TabIndex::Key:
        return KeyPosition(Index.KeyText());
    case TabIndex::Number: {
        const std::optional<int> n = Index.ToInt32();
        return n && *n >= 0 && *n <= Count() - 1 ? *n : -1;
    }
    case TabIndex::Form:
        return Index.FormRef() ? PositionOfForm(Index.FormRef()) : -1;
    case TabIndex::Item:
        return PositionOf(Index.ItemRef());
    case TabIndex::Missing:
        break;
    }
    return -1;
}

bool CTabItems::ReleaseForm(const TabIndex &Index)
{
    const int p = FindItem(Index);
    if (p < 0) {
        return false;
    }
    // Held here so that the item cannot unload the window when the collection lets it go.
    const std::shared_ptr<CTabItem> item = m_Col[p].item;
    const platform::HWND hWnd = item->Form() ? item->Form()->hWnd() : 0;
    const quint32 style = item->WindowStyle();
    if (!Remove(p, false)) {
        return false;
    }
    item->DropForm();
    if (!platform::IsWindow(hWnd)) {
        return false;
    }
    WinApi::SetParent(hWnd, 0);
    const int screenWidth = WinApi::GetSystemMetrics(WinApi::SM_CXSCREEN);
    const int screenHeight = WinApi::GetSystemMetrics(WinApi::SM_CYSCREEN);
    const QRect frame = WinApi::GetWindowRect(hWnd);
    WinApi::SetWindowLong(hWnd, WinApi::GWL_STYLE, style);
    const int x = int(std::nearbyint((screenWidth - frame.width()) / 2.0));
    const int y = int(std::nearbyint((screenHeight - frame.height()) / 2.0));
    WinApi::SetWindowPos(hWnd, 0, x, y, 0, 0,
                         WinApi::SWP_SHOWWINDOW | WinApi::SWP_FRAMECHANGED | WinApi::SWP_NOSIZE);
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        WinApi::RedrawWindow(strip->hParent(), WinApi::RDW_INVALIDATE | WinApi::RDW_INTERNALPAINT);
    }
    return true;
}

std::shared_ptr<CTabItem> CTabItems::Item(const TabIndex &Index) const
{
    if (Index.StoredKind() == TabIndex::Key) {
        const int p = KeyPosition(Index.KeyText());
        if (p < 0) {
            throw TabError(TabError::InvalidArgument);
        }
        return m_Col[p].item;
    }
    if (!Index.IsNumeric()) {
        throw TabError(TabError::InvalidArgument);
    }
    const std::optional<int> n = Index.ToInt32();
    if (!n || *n < 0 || *n > Count() - 1) {
        return nullptr;
    }
    return m_Col[*n].item;
}

int CTabItems::Selected() const
{
    std::shared_ptr<IuTab> strip = m_IuTab.lock();
    return strip ? strip->Selected() : -1;
}

void CTabItems::SetSelected(int NewValue)
{
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        strip->SetSelected(NewValue);
    }
}
