#include "LoginFrm.h"

#include "GameWindow.h"
#include "LoginBgFrm.h"
#include "LoginCommand.h"
#include "PictureButton.h"
#include "app/Forms.h"
#include "app/HeadlessRun.h"
#include "app/LoadFrm.h"
#include "app/PublicData.h"
#include "net/AppConfig.h"
#include "net/ServerAddress.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Program.h"
#include "platform/os/Resources.h"
#include "platform/web/WebBrowser.h"
#include "platform/winsys/LayeredWindow.h"
#include "platform/winsys/WindowMove.h"
#include "platform/winsys/WindowProc.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPointer>

namespace {

const QSize WindowSize(1237, 696);
const QRect PanelRect(399, 119, 748, 456);
// The browser is larger than its panel: its border and scroll bars fall outside and are clipped.
const QRect BrowserRect(-1, -1, 767, 475);
const QPoint MiniBtnPos(1130, 116);
const QPoint CloseBtnPos(1146, 147);
const char NoConnectionText[] = "未能连接到服务器，请检查网络连接是否正常！";

QString &loginPage()
{
    static QString address = ServerAddress(AppConfig::LoginServer) + "/qvmrwd/";
    return address;
}

// A document from which nothing was received: the engine still builds an empty head and body.
bool isEmptyRoot(QString html)
{
    html.remove(QStringLiteral("<head></head>")).remove(QStringLiteral("<body></body>"));
    return html.trimmed().isEmpty();
}

} // namespace

QString LoginFrm::LoginPage()
{
    return loginPage();
}

void LoginFrm::SetLoginPage(const QString &address)
{
    loginPage() = address;
}

void LoginFrm::ShowAgain()
{
    LoginFrm &login = Forms<LoginFrm>::Get();
    LoginBgFrm &backdrop = Forms<LoginBgFrm>::Get();
    if (backdrop.isVisible()) {
        backdrop.showNormal(); // brings the login window back with it
        backdrop.raise();
        login.raise();
        login.activateWindow();
    }
}

LoginFrm::LoginFrm()
{
    setObjectName("LoginFrm");
    setWindowTitle("Marova客户端");
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(WindowSize);
    BuildControls();
    Form_Load();
}

LoginFrm::~LoginFrm() = default;

void LoginFrm::BuildControls()
{
    Picture1 = new QWidget(this);
    Picture1->setGeometry(PanelRect);
    WebBrowser1 = new platform::WebBrowser(Picture1);
    WebBrowser1->setGeometry(BrowserRect);
    MiniBtn = new PictureButton(platform::LoadDesignPicture("login_minimize.png"), this);
    MiniBtn->move(MiniBtnPos);
    CloseBtn = new PictureButton(platform::LoadDesignPicture("login_close.png"), this);
    CloseBtn->move(CloseBtnPos);

    connect(WebBrowser1, &platform::WebBrowser::DownloadBegin, this,
            &LoginFrm::WebBrowser1_DownloadBegin);
    connect(WebBrowser1, &platform::WebBrowser::BeforeNavigate, this,
            &LoginFrm::WebBrowser1_BeforeNavigate);
    connect(WebBrowser1, &platform::WebBrowser::DocumentComplete, this,
            &LoginFrm::WebBrowser1_DocumentComplete);
    connect(MiniBtn, &PictureButton::Click, this, &LoginFrm::MiniBtn_Click);
    connect(CloseBtn, &PictureButton::Click, this, &LoginFrm::CloseBtn_Click);
}

void LoginFrm::Form_Load()
{
    // The page loads while the backdrop is built; nothing it reports arrives before that.
    WebBrowser1->SetCommandOrigin(platform::WebBrowser::OriginOf(LoginPage()));
    WebBrowser1->Navigate(LoginPage());
    SetBackdropIcons();
    UpdateShape();
    // Owned by the backdrop: above it, no taskbar button of its own. Where the compositor
    // places every window itself, two windows would not stay together: the login window is then
    // part of the backdrop's own surface.
    LoginBgFrm &backdrop = Forms<LoginBgFrm>::Get();
    setParent(&backdrop, platform::CompositorPlacesWindows() ? Qt::WindowFlags(Qt::Widget)
                                                             : Qt::Tool | Qt::FramelessWindowHint);
    FollowBackdrop();
}

void LoginFrm::FollowBackdrop()
{
    move(isWindow() ? Forms<LoginBgFrm>::Get().pos() : QPoint(0, 0));
}

// Without a private folder there is nowhere safe to write the icon file; the windows then go
// without it rather than leave it in whatever folder the program was started from.
void LoginFrm::SetBackdropIcons()
{
    const QString folder = PublicData::GetTempFolder();
    LoginBgFrm &backdrop = Forms<LoginBgFrm>::Get();
    const QString iconFile = folder + PublicData::IconFileName;
    if (folder.isEmpty() || !PublicData::SaveResourceToFile(101, "ICON", iconFile)) {
        return;
    }
    backdrop.setWindowIcon(QIcon(iconFile));
}

// Only the browser panel and the two picture buttons are part of the window; everything else
// shows the backdrop beneath and lets the mouse through to it.
void LoginFrm::UpdateShape()
{
    QRegion shape(Picture1->geometry());
    shape += platform::OpaqueRegion(MiniBtn->Image()).translated(MiniBtn->pos());
    shape += platform::OpaqueRegion(CloseBtn->Image()).translated(CloseBtn->pos());
    setMask(shape);
}

void LoginFrm::Form_Unload()
{
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    Forms<LoginFrm>::Forget(this);
    // Closing, not hiding: the program ends when its last window is closed.
    close();
    deleteLater();
}

void LoginFrm::WebBrowser1_DownloadBegin()
{
    WebBrowser1->SetSilent(true);
}

// An unloaded login window may still hear from its page until it is deleted; it then acts on
// nothing, so a late command cannot bring up a new backdrop or login window.
void LoginFrm::WebBrowser1_BeforeNavigate(const QString &url, bool &Cancel)
{
    const LoginCommand command = LoginCommand::FromAddress(url);
    if (m_unloaded) {
        Cancel = Cancel || command.kind != LoginCommand::None;
        return;
    }
    switch (command.kind) {
    case LoginCommand::Exit:
        Cancel = true;
        Forms<LoginBgFrm>::Get().Form_Unload();
        break;
    case LoginCommand::Minimize:
        Cancel = true;
        Forms<LoginBgFrm>::Get().showMinimized();
        break;
    case LoginCommand::LoadGame:
        LoadGame(command.gameAddress);
        break;
    case LoginCommand::Refused:
        Cancel = true;
        break;
    case LoginCommand::None:
        break;
    }
}

// The main window is up before the backdrop goes, so the program never has a moment without a
// window (it would end there).
void LoginFrm::LoadGame(const QString &address)
{
    HeadlessRun::Reach("handoff");
    GameWindow::Open(address);
    Forms<LoginBgFrm>::Get().Form_Unload();
}

void LoginFrm::WebBrowser1_DocumentComplete(const QString &url, bool)
{
    WebBrowser1->SetSilent(true);
    if (m_unloaded) {
        return;
    }
    QPointer<LoginFrm> self(this);
    WebBrowser1->RootInnerHtml([self, url](const QString &html) {
        if (!self || self->m_unloaded) {
            return;
        }
        if (isEmptyRoot(html)) {
            platform::MessageBox(QString::fromUtf8(NoConnectionText),
                                 QString::fromUtf8(AppConfig::MessageTitle),
                                 platform::mb::Ok | platform::mb::IconWarning);
            // Switching account from a running game: the game stays, only the login goes.
            if (GameWindow::IsOpen()) {
                Forms<LoginBgFrm>::Get().Form_Unload();
            } else {
                platform::EndProgram(0);
            }
            return;
        }
        if (self->WebBrowser1->LocationURL().contains(url)) {
            self->ShowLoginScreen();
        }
    });
}

void LoginFrm::ShowLoginScreen()
{
    LoginBgFrm &backdrop = Forms<LoginBgFrm>::Get();
    backdrop.show();
    FollowBackdrop();
    show();
    raise();
    if (LoadFrm *splash = Forms<LoadFrm>::IfLoaded()) {
        splash->Form_Unload();
    }
}

void LoginFrm::MiniBtn_Click()
{
    if (!m_unloaded) {
        Forms<LoginBgFrm>::Get().showMinimized();
    }
}

void LoginFrm::CloseBtn_Click()
{
    if (!m_unloaded) {
        Forms<LoginBgFrm>::Get().Form_Unload();
    }
}

// The pair moves as one: a press on the login window's own surface drags the backdrop, which
// carries this window along.
void LoginFrm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !m_unloaded) {
        platform::SendMessage(platform::HandleOf(&Forms<LoginBgFrm>::Get()),
                              platform::wm::NcLButtonDown, platform::HTCAPTION, 0);
    }
}
