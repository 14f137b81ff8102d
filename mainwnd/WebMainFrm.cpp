#include "WebMainFrm.h"

#include "AppMenu.h"
#include "FullScreen.h"
#include "GameTabs.h"
#include "KubNotifyIcon.h"
#include "MainLayout.h"
#include "ModMainProc.h"
#include "PageDialog.h"
#include "WebUrl.h"
#include "app/Forms.h"
#include "app/MsgFrm.h"
#include "app/PublicData.h"
#include "cSetStyle.h"
#include "controls/BForm.h"
#include "controls/ButtonStrip.h"
#include "controls/iButton.h"
#include "login/LoginFrm.h"
#include "net/AppConfig.h"
#include "net/ServerAddress.h"
#include "platform/os/DdeLink.h"
#include "platform/os/Program.h"
#include "platform/os/Resources.h"
#include "platform/os/Shell.h"
#include "platform/os/WebAddress.h"
#include "platform/web/PageDownloads.h"
#include "platform/web/PageNotifications.h"
#include "platform/web/WebBrowser.h"
#include "platform/winsys/MemDC.h"
#include "platform/winsys/Region.h"
#include "platform/winsys/Twips.h"
#include "platform/winsys/WinApi.h"
#include "platform/winsys/WindowProc.h"
#include "tabstrip/CTabItem.h"
#include "tabstrip/CTabItems.h"
#include "tabstrip/uTab.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace {

const int MinBitmapId = 101;
const int MinMaxBitmapId = 102;
const int CloseBitmapId = 103;
const int ToolBitmapId = 104;
const int LogoBitmapId = 105;
const int ProgramIconId = 101;
const int CornerEllipse = 6;

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

iButton *captionButton(QWidget *parent, const char *name)
{
    auto *button = new iButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// Applies one layout rule; a rule that gave nothing leaves the control where it was.
void put(QWidget *control, const std::optional<QRect> &twips)
{
    if (control && twips) {
        control->setGeometry(MainLayout::ToPixels(*twips));
    }
}

QSize twips(QSize pixels)
{
    return pixels * platform::TwipsPerPixel;
}

} // namespace

WebMainFrm::WebMainFrm() : QWidget(nullptr, Qt::Window)
{
    setObjectName("WebMainFrm");
    setWindowTitle(text("Marova客户端"));
    // While hidden by the player this is still the program's window: closing any other window
    // must not end the game. The program ends when this window unloads.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    resize(MainLayout::ToPixels(QRect(QPoint(), MainLayout::DesignClientTwips)).size());
    BuildControls();
    ConnectControls();
    Form_Load();
}

WebMainFrm::~WebMainFrm()
{
    Forms<WebMainFrm>::Forget(this);
}

// Created from the lowest control to the top-most, which is the order they stack in.
void WebMainFrm::BuildControls()
{
    WebBForm = new BForm(this);
    WebBForm->setObjectName("WebBForm");
    // The logo is a picture of the window's own; the caption starts after it.
    WebBForm->SetHasLogo(true);
    BuildCaptionButtons();

    WebuTab = new uTab(this);
    WebuTab->setObjectName("WebuTab");
    // The skin that lies on the caption bar, tabs from just inside the strip's left end.
    WebuTab->SetTabStyle(1);
    WebuTab->SetTabLeftSize(10);
    WebuTab->SetTabRight(0);
    pCnt = new QWidget(this);
    pCnt->setObjectName("pCnt");
    pCnt->installEventFilter(this);

    PicLogo = new QLabel(this);
    PicLogo->setObjectName("PicLogo");
    PicLogo->setGeometry(MainLayout::ToPixels(QRect(100, 30, 440, 440)));
    PicLogo->installEventFilter(this);

    GameSpaceBtn = captionButton(this, "GameSpaceBtn");
    GameSpaceBtn->SetBackPicture(platform::LoadDesignPicture("gamespace_btn.png"));
    OtherUserBtn = captionButton(this, "OtherUserBtn");
    OtherUserBtn->SetBackPicture(platform::LoadDesignPicture("otheruser_btn.png"));
    Picture1 = new QWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->installEventFilter(this);
    m_AppMenu = new AppMenu(*this);
    m_Tabs = new GameTabs(*WebuTab, this);
    m_FullScreen = new FullScreen(*this, *pCnt);
}

void WebMainFrm::BuildCaptionButtons()
{
    web_close = captionButton(this, "web_close");
    web_minmax = captionButton(this, "web_minmax");
    web_minmax->SetStyle(ButtonStrip::ToggleStyle);
    web_min = captionButton(this, "web_min");
    web_tool = captionButton(this, "web_tool");
}

// The start browser shows only until the first tab opens, and the login opens one before the
// window ever shows: it is made when the panel really shows and let go when the panel hides,
// so no hidden web page is kept for nothing. It is never sent anywhere.
void WebMainFrm::Picture1_Show()
{
    if (!WebBrowser1) {
        WebBrowser1 = new platform::WebBrowser(Picture1);
        WebBrowser1->setObjectName("WebBrowser1");
        Picture1_Resize();
        WebBrowser1->show();
    }
}

void WebMainFrm::Picture1_Hide()
{
    if (WebBrowser1) {
        WebBrowser1->deleteLater();
        WebBrowser1 = nullptr;
    }
}

void WebMainFrm::ConnectControls()
{
    connect(WebuTab, &uTab::TabChanged, this, &WebMainFrm::WebuTab_TabChanged);
    connect(WebuTab, &uTab::OnMouseDown, this, &WebMainFrm::WebuTab_OnMouseDown,
            Qt::DirectConnection);
    connect(WebuTab, &uTab::OnMouseHover, this, &WebMainFrm::WebuTab_OnMouseHover,
            Qt::DirectConnection);
    connect(WebuTab, &uTab::OnMouseMove, this, &WebMainFrm::WebuTab_OnMouseMove,
            Qt::DirectConnection);
    connect(WebuTab, &uTab::OnItemColose, this, &WebMainFrm::WebuTab_OnItemColose,
            Qt::DirectConnection);
    connect(WebuTab, &uTab::OnDrawBackground, this, &WebMainFrm::WebuTab_OnDrawBackground,
            Qt::DirectConnection);
    connect(WebBForm, &BForm::MouseMove, this, &WebMainFrm::ArrowCursor);
    connect(GameSpaceBtn, &iButton::Click, this, &WebMainFrm::GameSpaceBtn_Click);
    connect(OtherUserBtn, &iButton::Click, this, &WebMainFrm::OtherUserBtn_Click);
    connect(web_tool, &iButton::Click, this, &WebMainFrm::web_tool_Click);
    connect(web_min, &iButton::Click, this, &WebMainFrm::web_min_Click);
    connect(web_minmax, &iButton::Click, this, &WebMainFrm::web_minmax_Click);
    connect(web_close, &iButton::Click, this, &WebMainFrm::web_close_Click);
    connect(m_Tabs, &GameTabs::GamePageComplete, this, &WebMainFrm::GamePageComplete);
    connect(m_Tabs, &GameTabs::PageFullScreen, this, &WebMainFrm::Page_FullScreen,
            Qt::DirectConnection);
    connect(m_Tabs, &GameTabs::PageFullScreenKey, this, [this](WebUrl *page) {
        if (page == m_Tabs->SelectedPage()) {
            m_FullScreen->Toggle(page);
        }
    });
    connect(m_FullScreen, &FullScreen::Left, this, &WebMainFrm::Form_Resize);
    // A game page's notifications, and what became of its downloads, come as balloons of the
    // tray icon.
    const auto balloon = [this](const QString &title, const QString &message) {
        if (m_NotifyIcon) {
            m_NotifyIcon->ShowBubble(title, message, platform::NIIF_INFO);
        }
    };
    connect(&platform::PageNotifications::Instance(), &platform::PageNotifications::Shown, this,
            balloon);
    connect(&platform::PageDownloads::Instance(), &platform::PageDownloads::Reported, this,
            [balloon](const QString &report) { balloon(text(AppConfig::GameTitle), report); });
}

// The icon file the login left; without it the program's own icon, since a tray icon without a
// picture is not shown at all and a hidden window could then only come back by F10.
QIcon WebMainFrm::FormIcon() const
{
    const QString folder = PublicData::GetTempFolder();
    QIcon icon;
    if (!folder.isEmpty() && QFile::exists(folder + PublicData::IconFileName)) {
        icon = QIcon(folder + PublicData::IconFileName);
    }
    return icon.isNull() ? platform::LoadIconResource(ProgramIconId) : icon;
}

void WebMainFrm::Form_Load()
{
    const platform::HWND hWnd = platform::HandleOf(this);
    const QIcon icon = FormIcon();
    setWindowIcon(icon);
    m_NotifyIcon = std::make_unique<KubNotifyIcon>();
    m_NotifyIcon->AddNotifyIcon(hWnd, icon,
                                text(AppConfig::GameTitle) + text(AppConfig::CaptionSuffix));
    if (!ModMainProc::HookMainWindow(hWnd)) {
        // F10 then still works while the window has the keyboard; the desktop's own binding of
        // vantor-link --toggle brings a hidden window back.
        auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
        f10->setObjectName("F10Shortcut");
        connect(f10, &QShortcut::activated, this, [hWnd] { ModMainProc::ToggleMainWindow(hWnd); });
    }
    m_Link = new platform::DdeSource(this);
    connect(m_Link, &platform::DdeSource::LinkExecute, this, &WebMainFrm::Form_LinkExecute,
            Qt::DirectConnection);
    m_Link->Listen(text(AppConfig::LinkTopic));
    WebBForm->SetCaption(text(AppConfig::GameTitle));
    setWindowTitle(text(AppConfig::GameTitle) + text(AppConfig::CaptionSuffix));

    objStyle = std::make_unique<cSetStyle>();
    connect(objStyle.get(), &cSetStyle::CloseClick, this, &WebMainFrm::objStyle_CloseClick);
    objStyle->SetobjForm(this);
    objStyle->SetWindowStyle(hWnd);
    WebBForm->SetfrmHwnd(hWnd);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize free = twips(screen->size()) - twips(size());
        move(platform::TwipsToPixels(free.width() / 2), platform::TwipsToPixels(free.height() / 2));
    }
    LoadCaptionPictures();
    WebuTab->SethContainerWnd(platform::HandleOf(pCnt));
    WebuTab->LockReDraw(false);
    web_minmax_Click();
}

void WebMainFrm::LoadCaptionPictures()
{
    web_close->SetBackPicture(platform::LoadBitmapResource(CloseBitmapId));
    web_minmax->SetBackPicture(platform::LoadBitmapResource(MinMaxBitmapId));
    web_min->SetBackPicture(platform::LoadBitmapResource(MinBitmapId));
    web_minmax->SetValue(true);
    web_tool->SetBackPicture(platform::LoadBitmapResource(ToolBitmapId));
    PicLogo->setPixmap(QPixmap::fromImage(platform::LoadBitmapResource(LogoBitmapId)));
}

void WebMainFrm::SetURL(const QString &strURL)
{
    ShowGameTab(strURL);
}

// Past the cap the player hears why nothing opened, in the tray's balloon: the request may
// come from another program while the window is hidden.
bool WebMainFrm::ShowGameTab(const QString &url)
{
    if (!m_Tabs->Open(url)) {
        if (m_NotifyIcon) {
            m_NotifyIcon->ShowBubble(text(AppConfig::GameTitle), text(GameTabs::TooManyTabsText),
                                     platform::NIIF_WARNING);
        }
        return false;
    }
    Picture1->hide();
    m_Tabs->FocusSelectedPage();
    return true;
}

void WebMainFrm::RectRgn(platform::HWND hWnd, int Top, int Buttom, int X, int Y)
{
    platform::SetWindowRgn(hWnd, platform::CreateRoundRectRgn(0, 0, Top, Buttom, X, Y), true);
}

void WebMainFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void WebMainFrm::Form_Resize()
{
    if (isMinimized()) {
        return;
    }
    if (m_FullScreen->IsOn()) {
        m_FullScreen->Fit();
        return;
    }
    const MainLayout::Placement place = MainLayout::Place(twips(size()));
    put(WebBForm, place.WebBForm);
    WebBForm->Printform(this);
    RectRgn(platform::HandleOf(this), width(), height(), CornerEllipse, CornerEllipse);
    put(web_close, place.web_close);
    put(web_minmax, place.web_minmax);
    put(web_min, place.web_min);
    put(web_tool, place.web_tool);
    put(WebuTab, place.WebuTab);
    put(GameSpaceBtn, place.GameSpaceBtn);
    put(OtherUserBtn, place.OtherUserBtn);
    put(Picture1, place.Picture1);
    put(pCnt, place.Picture1);
}

void WebMainFrm::Picture1_Resize()
{
    if (!WebBrowser1) {
        return;
    }
    put(WebBrowser1, MainLayout::StartBrowserRect(twips(Picture1->size())));
}

bool WebMainFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1 && event->type() == QEvent::Resize) {
        Picture1_Resize();
    } else if (watched == Picture1 && event->type() == QEvent::Show) {
        Picture1_Show();
    } else if (watched == Picture1 && event->type() == QEvent::Hide) {
        Picture1_Hide();
    } else if ((watched == pCnt || watched == PicLogo) &&
               (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        ArrowCursor();
    }
    return QWidget::eventFilter(watched, event);
}

void WebMainFrm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    activateWindow();
    m_Tabs->FocusSelectedPage();
}

// A minimised window skips its layout; a size it was given meanwhile is laid out on its return.
void WebMainFrm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        Form_Resize();
    }
}

void WebMainFrm::ArrowCursor()
{
    setCursor(Qt::ArrowCursor);
}

void WebMainFrm::WebuTab_TabChanged()
{
    Picture1->hide();
    m_Tabs->FocusSelectedPage();
}

void WebMainFrm::WebuTab_OnMouseDown(int ItemIndex, short &, short &, float &, float &)
{
    ArrowCursor();
    if (!web_minmax->Value() && ItemIndex < 0) {
        platform::SendMessage(platform::HandleOf(this), platform::wm::NcLButtonDown,
                              platform::HTCAPTION, 0);
    }
}

void WebMainFrm::WebuTab_OnMouseHover(int ItemIndex, short &, short &, float &, float &)
{
    const std::shared_ptr<CTabItem> item = WebuTab->TabItems()->Item(ItemIndex);
    WebuTab->setToolTip(item ? item->Caption() : QString());
}

void WebMainFrm::WebuTab_OnMouseMove(int, short &, short &, float &, float &)
{
    ArrowCursor();
}

// The last tab never goes by its close mark: closing it means leaving the game, so ask.
void WebMainFrm::WebuTab_OnItemColose(int, bool &Cancel)
{
    if (WebuTab->TabItems()->Count() <= 1) {
        web_close_Click();
        Cancel = true;
    }
}

// The strip lies on the caption bar: behind its tabs it shows the bar, so the two read as one.
void WebMainFrm::WebuTab_OnDrawBackground(MemDC *hdc, int cx, int cy, bool &bSkipDefault)
{
    const QImage bar = WebBForm->Image();
    if (!hdc || bar.isNull()) {
        return;
    }
    QPainter painter(&hdc->Bitmap());
    painter.drawImage(QRect(0, 0, cx, cy), bar,
                      QRect(WebuTab->pos() - WebBForm->pos(), QSize(cx, cy)));
    bSkipDefault = true;
}

void WebMainFrm::GameSpaceBtn_Click()
{
    platform::ShellOpen(ServerAddress(AppConfig::GameHome));
}

void WebMainFrm::OtherUserBtn_Click()
{
    LoginFrm::ShowAgain();
}

void WebMainFrm::objStyle_CloseClick()
{
    web_close_Click();
}

void WebMainFrm::PopupAppMenu()
{
    m_AppMenu->Popup(QCursor::pos());
}

void WebMainFrm::web_tool_Click()
{
    PopupAppMenu();
}

void WebMainFrm::web_min_Click()
{
    showMinimized();
}

void WebMainFrm::web_minmax_Click()
{
    const bool maximised = objStyle->CallWindowStateChange();
    // A maximised window stays put: its caption bar does not drag it.
    WebBForm->SetfrmHwnd(maximised ? 0 : platform::HandleOf(this));
}

void WebMainFrm::web_close_Click()
{
    close();
}

void WebMainFrm::RefreshShownPage()
{
    if (!Picture1->isHidden()) {
        if (WebBrowser1) {
            WebBrowser1->Refresh();
        }
    } else {
        WebuTab->RefreshPage();
    }
}

void WebMainFrm::Page_FullScreen(WebUrl *page, bool on, bool &accept)
{
    if (!on) {
        if (page == m_FullScreen->Page()) {
            m_FullScreen->Leave();
        }
        return;
    }
    accept = page == m_Tabs->SelectedPage() && !isMinimized() && m_FullScreen->Enter(page);
}

void WebMainFrm::Form_LinkExecute(const QString &CmdStr, bool &Cancel)
{
    const platform::HWND hWnd = platform::HandleOf(this);
    if (m_Unloaded) {
        Cancel = true;
    } else if (CmdStr == text(AppConfig::LinkToggleCommand)) {
        ModMainProc::ToggleMainWindow(hWnd);
    } else if (!platform::IsWebAddress(CmdStr)) {
        Cancel = true;
    } else {
        WinApi::ShowWindow(hWnd, WinApi::SW_RESTORE);
        Cancel = !ShowGameTab(CmdStr);
    }
}

void WebMainFrm::closeEvent(QCloseEvent *event)
{
    bool Cancel = false;
    Form_QueryUnload(Cancel);
    if (Cancel) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void WebMainFrm::Form_QueryUnload(bool &Cancel)
{
    // The question is asked over the window as it was, not over a fullscreen page.
    m_FullScreen->Leave();
    if (m_bExit || m_Unloaded || platform::ProgramEnding()) {
        return;
    }
    // One question at a time: a second close while it is open (the tray, the last tab's mark)
    // waits for the answer to the first.
    if (m_Asking) {
        Cancel = true;
        return;
    }
    m_Asking = true;
    QPointer<MsgFrm> dialog = new MsgFrm(m_bExit, this);
    dialog->exec();
    delete dialog;
    m_Asking = false;
    Cancel = !m_bExit;
}

// The close may have come from inside a handler of the strip, of a tab's page or of the styling
// hook; they are torn down once that delivery has returned.
void WebMainFrm::Form_Unload()
{
    if (std::exchange(m_Unloaded, true)) {
        return;
    }
    ModMainProc::UnhookMainWindow(platform::HandleOf(this));
    m_Tabs->StopPageDialogs();
    PageDialog::CloseAll();
    m_Link->Close();
    m_NotifyIcon.reset();
    Forms<WebMainFrm>::Forget(this);
    hide();
    QTimer::singleShot(0, this, &WebMainFrm::FinishUnload);
}

void WebMainFrm::FinishUnload()
{
    if (m_AppMenu->DeferWhileChecking([this] { FinishUnload(); })) {
        return;
    }
    // A closed page dialog's wait is still on the stack until its loop has returned; its page
    // goes only after that.
    if (PageDialog::Waiting() > 0) {
        QTimer::singleShot(0, this, &WebMainFrm::FinishUnload);
        return;
    }
    WebuTab->TabItems()->Clear();
    objStyle.reset();
    deleteLater();
    platform::EndProgram(0);
}
