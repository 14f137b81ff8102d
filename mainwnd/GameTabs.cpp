#include "GameTabs.h"

#include "WebUrl.h"
#include "platform/web/WebBrowser.h"

#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/uTab.h"
#include <QEvent>

GameTabs::PageFormService &GameTabs::PageFormProvider()
{
    static PageFormService service([](const QString &url) -> ITabForm * {
        auto *page = new WebUrl;
        page->OpenURL(url);
        return page;
    });
    return service;
}

GameTabs::GameTabs(uTab &strip, QObject *parent) : QObject(parent), m_strip(strip) {}

bool GameTabs::Open(const QString &url)
{
    const int found = Find(url);
    if (found >= 0) {
        m_strip.TabItems()->SetSelected(found);
    } else if (Count() < MaxTabs) {
        Add(url);
    } else {
        return false;
    }
    return true;
}

void GameTabs::Add(const QString &url)
{
    const std::shared_ptr<CTabItems> items = m_strip.TabItems();
    ITabForm *page = PageFormProvider()(url);
    if (auto *gamePage = dynamic_cast<WebUrl *>(page)) {
        connect(gamePage, &WebUrl::PageComplete, this, [this] {
            if (!std::exchange(m_GamePageSeen, true)) {
                emit GamePageComplete();
            }
        });
        connect(gamePage, &WebUrl::FullScreenRequested, this, &GameTabs::PageFullScreen,
                Qt::DirectConnection);
        connect(gamePage, &WebUrl::FullScreenKey, this, &GameTabs::PageFullScreenKey);
        gamePage->installEventFilter(this);
    }
    const QString key = TabKeyPrefix + url;
    // Keys ignore case but addresses do not: an address that differs from an open one only in
    // case gets a tab of its own, found again by its address alone.
    const bool keyTaken = items->FindItem(key) >= 0;
    items->Add(key, page, keyTaken ? std::nullopt : std::optional<QString>(key));
    items->Item(items->Count() - 1)->SetItemData(url);
    items->SetSelected(items->Count() - 1);
}

int GameTabs::Find(const QString &url) const
{
    const std::shared_ptr<CTabItems> items = m_strip.TabItems();
    for (int i = 0; i < items->Count(); ++i) {
        if (items->Item(i)->ItemData().toString() == url) {
            return i;
        }
    }
    return -1;
}

int GameTabs::Count() const
{
    return m_strip.TabItems()->Count();
}

WebUrl *GameTabs::PageOf(int index) const
{
    const std::shared_ptr<CTabItem> item = m_strip.TabItems()->Item(index);
    return item ? dynamic_cast<WebUrl *>(item->Form()) : nullptr;
}

WebUrl *GameTabs::SelectedPage() const
{
    return PageOf(m_strip.Selected());
}

void GameTabs::FocusSelectedPage() const
{
    if (WebUrl *page = SelectedPage()) {
        page->setFocus(Qt::OtherFocusReason);
    }
}

// The strip shows the selected page over the others; they go out of sight for real.
bool GameTabs::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        for (int i = 0; i < Count(); ++i) {
            WebUrl *page = PageOf(i);
            if (page && page != watched) {
                page->hide();
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void GameTabs::StopPageDialogs() const
{
    for (int i = 0; i < Count(); ++i) {
        if (WebUrl *page = PageOf(i)) {
            page->wb->StopPageDialogs();
        }
    }
}
