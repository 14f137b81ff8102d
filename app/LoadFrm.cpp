#include "LoadFrm.h"

#include "PublicData.h"
#include "net/AppConfig.h"
#include "net/KubDownLoadFile.h"
#include "net/ServerAddress.h"
#include "net/VersionCheck.h"
#include "platform/os/Connection.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Shell.h"

#include <QCloseEvent>

namespace {
const int SplashResourceId = 102;
const char NoConnectionText[] = "未能连接到服务器，请检查网络连接是否正常！";
} // namespace

QString CommandLineOf(const QStringList &arguments)
{
    return arguments.mid(1).join(' ');
}

LoadFrm::LoadFrm()
    : platform::LayeredWindow(Qt::SplashScreen), m_manifestAddress(VersionCheck::ManifestAddress())
{
    setObjectName("LoadFrm");
    setWindowTitle("Form1");
    setFixedSize(356, 122);
}

LoadFrm::~LoadFrm()
{
    Form_Unload();
}

LoadFrm::Outcome LoadFrm::Start(const QString &commandLine)
{
    if (Form_Initialize() == Outcome::EndProgram) {
        return Outcome::EndProgram;
    }
    if (Form_Load(commandLine) == Outcome::EndProgram) {
        return Outcome::EndProgram;
    }
    show();
    return Outcome::Continue;
}

LoadFrm::Outcome LoadFrm::Form_Initialize()
{
    if (!platform::InternetConnected()) {
        platform::MessageBox(QString::fromUtf8(NoConnectionText),
                             QString::fromUtf8(AppConfig::MessageTitle),
                             platform::mb::Ok | platform::mb::IconWarning);
        return Outcome::EndProgram;
    }
    return CheckVersion() ? Outcome::Continue : Outcome::EndProgram;
}

// True when start-up goes on; false when the updater has taken over.
bool LoadFrm::CheckVersion()
{
    if (!m_DownLoadFile) {
        m_DownLoadFile = std::make_unique<KubDownLoadFile>();
    }
    VersionCheck check(*m_DownLoadFile, VersionCheck::Caller::Startup, &platform::MessageBox);
    check.SetManifestAddress(m_manifestAddress);
    if (m_updateKey) {
        check.SetUpdateKey(*m_updateKey);
    }
    return check.Run() == VersionCheck::Outcome::Continue;
}

LoadFrm::Outcome LoadFrm::Form_Load(const QString &commandLine)
{
    if (commandLine == QLatin1String("/web")) {
        platform::ShellOpen(ServerAddress(AppConfig::GamePortal));
        return Outcome::EndProgram;
    }
    BuildSplash();
    emit LoadLoginWindow();
    return Outcome::Continue;
}

void LoadFrm::BuildSplash()
{
    m_Image = PublicData::LoadPngResource(SplashResourceId, "PNG");
    UpdateLayeredWindow(m_Image);
    CentreOnScreen(ScreenArea::Whole);
}

void LoadFrm::Form_Unload()
{
    if (m_unloaded) {
        return;
    }
    m_unloaded = true;
    hide();
    // Released in reverse order of creation: the window's copy, then the picture.
    ClearLayeredWindow();
    m_Image = QImage();
}

void LoadFrm::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
