#pragma once

#include "platform/os/Replaceable.h"

#include <QObject>
#include <QString>

class ITabForm;
class WebUrl;
class uTab;

// The game's pages in the main window's strip: one tab per address, opened or selected by
// address, its page given the keyboard when it is the one shown. Only the selected page shows:
// the others are hidden, as a browser hides its background tabs (their documents hear that they
// are hidden, and what stands over a page, its dialog or its fullscreen, goes with it).
class GameTabs : public QObject {
    Q_OBJECT

public:
    static constexpr char TabKeyPrefix[] = "Game";
    // Every game page costs some 25 MiB: past this many, an address opens nothing new (the
    // link's callers cannot fill the machine).
    static constexpr int MaxTabs = 30;
    static constexpr char TooManyTabsText[] = "已打开 30 个游戏页面，请先关闭一些再打开新的页面。";

    // The form a new game tab shows, already sent to its address: a game page normally; tests
    // put plain forms in its place.
    using PageFormService = platform::Replaceable<ITabForm *(const QString &url)>;
    static PageFormService &PageFormProvider();

    GameTabs(uTab &strip, QObject *parent);

    // Opens the address in a tab of its own, or selects the tab that already shows it. False
    // when the address has no tab and MaxTabs are open: nothing changes then.
    bool Open(const QString &url);

    // The tab showing exactly this address; -1 when none does.
    int Find(const QString &url) const;
    int Count() const;

    // The page form of a tab; null for an index without one.
    WebUrl *PageOf(int index) const;
    WebUrl *SelectedPage() const;
    void FocusSelectedPage() const;

    // No page dialog shows any more: the window is on its way out.
    void StopPageDialogs() const;

signals:
    // The first game page has finished loading.
    void GamePageComplete();
    // A page asks for fullscreen or leaves it (WebUrl::FullScreenRequested), or F11 on it.
    void PageFullScreen(WebUrl *page, bool on, bool &accept);
    void PageFullScreenKey(WebUrl *page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Add(const QString &url);

    uTab &m_strip;
    bool m_GamePageSeen = false;
};
