#pragma once

#include "platform/Replaceable.h"
#include "platform/WindowHandles.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class BForm;
class ITabForm;
class KubDownLoadFile;
class KubNotifyIcon;
class MemDC;
class QAction;
class QLabel;
class QMenu;
class VersionCheck;
class WebUrl;
class cSetStyle;
class iButton;
class uTab;
namespace platform {
class DdeSource;
class WebBrowser;
} // namespace platform

// The client's main window: borderless and skinned, with its own caption bar and buttons, and
// the game's pages in its own tab strip, one page form per tab. Every close asks the player
// first (the exit dialog) unless m_bExit already says the exit is confirmed.
class WebMainFrm : public QWidget {
    Q_OBJECT

public:
    static constexpr char TabKeyPrefix[] = "Game";

    // The form a new game tab shows, already sent to its address: a game page normally; tests
    // put plain forms in its place.
    using PageFormService = platform::Replaceable<ITabForm *(const QString &url)>;
    static PageFormService &PageFormProvider();

    // Readies the menu's version check before it runs; tests point it at a server of their own.
    using UpdateCheckService = platform::Replaceable<void(VersionCheck &check)>;
    static UpdateCheckService &UpdateCheckProvider();

    // The menu's cache clearing: the shared browser cache normally; true when it was cleared.
    using CacheCleanerService =
        platform::Replaceable<bool(const QString &pattern, quint32 keepMask)>;
    static CacheCleanerService &CacheCleanerProvider();

    static constexpr char CacheClearedText[] = "缓存已清理完毕！";
    static constexpr char CacheNotClearedText[] = "缓存未能清理，请稍后再试。";
    static constexpr char CacheTitle[] = "缓存清理";

    WebMainFrm();
    ~WebMainFrm() override;

    // Opens the game page at the address in a tab of its own, or selects the tab that shows it.
    void SetURL(const QString &strURL);

    // Gives window hWnd the shape of a rectangle from (0, 0) to (Top, Buttom) pixels with
    // corners of an X by Y ellipse.
    void RectRgn(platform::HWND hWnd, int Top, int Buttom, int X, int Y);

    // The page form of a tab; null for an index without one.
    WebUrl *PageOf(int index) const;

    // Pops the program menu up at the mouse position.
    void PopupAppMenu();

    // The tray icon; null once the window is on its way out.
    KubNotifyIcon *NotifyIcon() const { return m_NotifyIcon.get(); }

    bool m_bExit = false;

    QWidget *Picture1 = nullptr;
    platform::WebBrowser *WebBrowser1 = nullptr;
    iButton *OtherUserBtn = nullptr;
    iButton *GameSpaceBtn = nullptr;
    QLabel *PicLogo = nullptr;
    QWidget *pCnt = nullptr;
    uTab *WebuTab = nullptr;
    iButton *web_tool = nullptr;
    iButton *web_min = nullptr;
    iButton *web_minmax = nullptr;
    iButton *web_close = nullptr;
    BForm *WebBForm = nullptr;
    std::unique_ptr<cSetStyle> objStyle;

    // The program menu, shown only as a pop-up.
    QMenu *appmenu = nullptr;
    struct AppMenuItems {
        QAction *refresh = nullptr;
        QAction *hiderestore = nullptr;
        QAction *clearcache = nullptr;
        QAction *line = nullptr;
        QAction *update = nullptr;
        QAction *version = nullptr;
        QAction *exit = nullptr;
    } appmenuItems;

public slots:
    void WebuTab_TabChanged();
    void WebuTab_OnMouseDown(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void WebuTab_OnMouseHover(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void WebuTab_OnMouseMove(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void WebuTab_OnItemColose(int ItemIndex, bool &Cancel);
    void WebuTab_OnDrawBackground(MemDC *hdc, int cx, int cy, bool &bSkipDefault);
    void GameSpaceBtn_Click();
    void OtherUserBtn_Click();
    void objStyle_CloseClick();
    void web_tool_Click();
    void web_min_Click();
    void web_minmax_Click();
    void web_close_Click();
    void refresh_Click();
    void hiderestore_Click();
    void clearcache_Click();
    void update_Click();
    void exit_Click();
    // A command from another program over the link: an http(s) address to open or select, or
    // the toggle word. Anything else is refused (Cancel).
    void Form_LinkExecute(const QString &CmdStr, bool &Cancel);

signals:
    // The first game page has finished loading.
    void GamePageComplete();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void BuildCaptionButtons();
    void BuildBrowserPanel();
    void BuildAppMenu();
    QIcon FormIcon() const;
    void Picture1_Show();
    void Picture1_Hide();
    void ConnectControls();
    void Form_Load();
    void Form_Resize();
    void Picture1_Resize();
    void Form_QueryUnload(bool &Cancel);
    void Form_Unload();
    void FinishUnload();
    void OpenGameTab(const QString &url);
    int FindGameTab(const QString &url) const;
    void FocusSelectedPage();
    void ArrowCursor();

    std::unique_ptr<KubNotifyIcon> m_NotifyIcon;
    KubDownLoadFile *m_DownLoadFile = nullptr;
    platform::DdeSource *m_Link = nullptr;
    VersionCheck *m_RunningCheck = nullptr; // the menu's update, while it runs
    bool m_UnloadPending = false;           // unloaded while the update ran; finished after it

    bool m_Asking = false;   // the exit dialog is open
    bool m_Unloaded = false; // the close was allowed; the window is on its way out
    bool m_GamePageSeen = false;
};
