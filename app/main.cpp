#include "HeadlessRun.h"
#include "LoadFrm.h"
#include "app/AppConfig.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor");
    QApplication::setApplicationVersion(AppConfig::Version);

    const auto headless = HeadlessRun::FromEnvironment();
    LoadFrm loadFrm;
    if (loadFrm.Start(CommandLineOf(QApplication::arguments())) == LoadFrm::Outcome::EndProgram) {
        return 0;
    }
    return QApplication::exec();
}
