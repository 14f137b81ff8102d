#include "app/Forms.h"
#include "app/HeadlessRun.h"
#include "app/LoadFrm.h"
#include "login/GameWindow.h"
#include "login/LoginFrm.h"
#include "mainwnd/WebMainFrm.h"
#include "net/AppConfig.h"
#include "platform/WebBrowser.h"

#include <QApplication>

namespace {

void OpenMainWindow(const QString &address)
{
    const bool first = !Forms<WebMainFrm>::IfLoaded();
    WebMainFrm &main = Forms<WebMainFrm>::Get();
    if (first) {
        QObject::connect(&main, &WebMainFrm::GamePageComplete,
                         [] { HeadlessRun::ReachWhenSettled("main"); });
    }
    main.SetURL(address);
    main.show();
}

} // namespace

int main(int argc, char *argv[])
{
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor");
    QApplication::setApplicationVersion(AppConfig::Version);

    const auto headless = HeadlessRun::FromEnvironment();
    GameWindow::OpenProvider().Replace(OpenMainWindow);
    // The version check waits on the network; the engine starts meanwhile.
    platform::WebBrowser::StartEngineSoon();
    LoadFrm &loadFrm = Forms<LoadFrm>::Get();
    QObject::connect(&loadFrm, &LoadFrm::LoadLoginWindow, [] { Forms<LoginFrm>::Get(); });
    if (loadFrm.Start(CommandLineOf(QApplication::arguments())) == LoadFrm::Outcome::EndProgram) {
        return 0;
    }
    return QApplication::exec();
}
