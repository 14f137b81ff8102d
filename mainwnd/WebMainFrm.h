#pragma once

#include "platform/winsys/WindowHandles.h"

#include <QWidget>

#include <memory>

class AppMenu;
class BForm;
class FullScreen;
class GameTabs;
class KubNotifyIcon;
class MemDC;
class QLabel;
class cSetStyle;
class iButton;
class uTab;
class WebUrl;
namespace platform {
class DdeSource;
class WebBrowser;
} // namespace platform

// The client's main window: borderless and skinned, with its own caption bar and buttons, and
// the game's pages in its own tab strip, one page form per tab. Every close asks the player
// first (the exit dialog) unless m_bExit already says the exit is confirmed. Its controls are
// its own; tests find them by their object names.
class WebMainFrm : public QWidget {
    Q_OBJECT

public:
    WebMainFrm();
    ~WebMainFrm() override;

    // Opens the game page at the address in a tab of its own, or selects the tab that shows it.
    void SetURL(const QString &strURL);

    // Gives window hWnd the shape of a rectangle from (0, 0) to (Top, Buttom) pixels with
    // corners of an X by Y ellipse.
    void RectRgn(platform::HWND hWnd, int Top, int Buttom, int X, int Y);

    // Reloads what the window shows: the start browser before the first tab, then the selected
    // tab's page.
    void RefreshShownPage();

    // Pops the program menu up at the mouse position.
    void PopupAppMenu();

    GameTabs &Tabs() const { return *m_Tabs; }

    // The close was allowed: the window is on its way out.
    bool IsUnloaded() const { return m_Unloaded; }

    bool m_bExit = false;

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
    // A game page asks to show alone over the screen, or leaves that: only the selected page of
    // a window that shows.
    void Page_FullScreen(WebUrl *page, bool on, bool &accept);
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
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void BuildCaptionButtons();
    QIcon FormIcon() const;
    void Picture1_Show();
    void Picture1_Hide();
    void ConnectControls();
    void Form_Load();
    void LoadCaptionPictures();
    void Form_Resize();
    void Picture1_Resize();
    void Form_QueryUnload(bool &Cancel);
    void Form_Unload();
    void FinishUnload();
    bool ShowGameTab(const QString &url);
    void ArrowCursor();

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
    AppMenu *m_AppMenu = nullptr;
    GameTabs *m_Tabs = nullptr;
    FullScreen *m_FullScreen = nullptr;

    std::unique_ptr<KubNotifyIcon> m_NotifyIcon;
    platform::DdeSource *m_Link = nullptr;
    bool m_Asking = false;   // the exit dialog is open
    bool m_Unloaded = false; // the close was allowed; the window is on its way out
};
