#include "app/Forms.h"
#include "app/HeadlessRun.h"
#include "app/LoadFrm.h"
#include "login/LoginFrm.h"
#include "net/AppConfig.h"
#include "platform/WebBrowser.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor");
    QApplication::setApplicationVersion(AppConfig::Version);

    const auto headless = HeadlessRun::FromEnvironment();
    LoadFrm &loadFrm = Forms<LoadFrm>::Get();
    QObject::connect(&loadFrm, &LoadFrm::LoadLoginWindow, [] { Forms<LoginFrm>::Get(); });
    if (loadFrm.Start(CommandLineOf(QApplication::arguments())) == LoadFrm::Outcome::EndProgram) {
        return 0;
    }
    return QApplication::exec();
}
