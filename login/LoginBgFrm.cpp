#include "LoginBgFrm.h"

#include "BackdropProc.h"
#include "LoginFrm.h"
#include "app/Forms.h"
#include "app/PublicData.h"
#include "net/AppConfig.h"
#include "platform/os/Resources.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace {
const int BackdropResourceId = 101;
}

LoginBgFrm::LoginBgFrm()
{
    setObjectName("LoginBgFrm");
    Form_Load();
}

void LoginBgFrm::PreloadPicture()
{
    platform::PreloadPictureResource("PNG", BackdropResourceId);
}

LoginBgFrm::~LoginBgFrm()
{
    Form_Unload();
}

void LoginBgFrm::Form_Load()
{
    m_Image = PublicData::LoadPngResource(BackdropResourceId, "PNG");
    UpdateLayeredWindow(m_Image);
    PublicData::HookBackdrop(platform::HandleOf(this));
    setWindowTitle(QString::fromUtf8(AppConfig::GameTitle) +
                   QString::fromUtf8(AppConfig::CaptionSuffix));
    CentreOnScreen(ScreenArea::WorkArea);
}

void LoginBgFrm::Form_Unload()
{
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    Forms<LoginBgFrm>::Forget(this);
    ClearLayeredWindow();
    m_Image = QImage();
    PublicData::UnhookBackdrop(platform::HandleOf(this));
    if (LoginFrm *login = Forms<LoginFrm>::IfLoaded()) {
        login->Form_Unload();
    }
    // Closing, not hiding: the program ends when its last window is closed.
    close();
    deleteLater();
}

void LoginBgFrm::Form_MouseDown()
{
    platform::SendMessage(platform::HandleOf(this), platform::wm::NcLButtonDown,
                          platform::HTCAPTION, 0);
}

void LoginBgFrm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        Form_MouseDown();
    }
}

// The login window (a separate window, or part of this one) goes and comes back with the
// backdrop.
void LoginBgFrm::changeEvent(QEvent *event)
{
    LayeredWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    if (LoginFrm *login = Forms<LoginFrm>::IfLoaded()) {
        login->setVisible(!isMinimized() && isVisible());
        if (login->isVisible()) {
            login->FollowBackdrop();
            login->raise();
        }
    }
}

void LoginBgFrm::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
