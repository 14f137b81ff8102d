#include "Program.h"

#include <QApplication>

namespace platform {

EndProgramService &EndProgramProvider()
{
    static EndProgramService service([](int exitCode) {
        QApplication::closeAllWindows();
        QCoreApplication::exit(exitCode);
    });
    return service;
}

void EndProgram(int exitCode)
{
    EndProgramProvider()(exitCode);
}

} // namespace platform
