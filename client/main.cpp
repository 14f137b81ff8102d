#include "app/Forms.h"
#include "app/HeadlessRun.h"
#include "app/LoadFrm.h"
#include "login/GameWindow.h"
#include "login/LoginFrm.h"
#include "mainwnd/WebMainFrm.h"
#include "net/AppConfig.h"
#include "platform/web/WebBrowser.h"

#include <QApplication>
#include <QPointer>

namespace {

void openMainWindow(const QString &address)
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

// The windows the loop left behind go before the application, and with it the web profile their
// pages belong to: a page must never outlive its profile.
void closeRemainingWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        windows.append(window);
    }
    for (const QPointer<QWidget> &window : windows) {
        delete window.data();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor");
    QApplication::setApplicationVersion(AppConfig::Version);

    const auto headless = HeadlessRun::FromEnvironment();
    GameWindow::OpenProvider().Replace(openMainWindow);
    GameWindow::IsOpenProvider().Replace([] { return Forms<WebMainFrm>::IfLoaded() != nullptr; });
    // The version check waits on the network; the engine starts meanwhile.
    platform::WebBrowser::StartEngineSoon();
    LoadFrm &loadFrm = Forms<LoadFrm>::Get();
    QObject::connect(&loadFrm, &LoadFrm::LoadLoginWindow, [] { Forms<LoginFrm>::Get(); });
    if (loadFrm.Start(CommandLineOf(QApplication::arguments())) == LoadFrm::Outcome::EndProgram) {
        return 0;
    }
    const int status = QApplication::exec();
    closeRemainingWindows();
    return status;
}
