#include "Program.h"

#include <QApplication>

namespace platform {
namespace {

bool ending = false;

} // namespace

EndProgramService &EndProgramProvider()
{
    static EndProgramService service([](int exitCode) {
        ending = true;
        QApplication::closeAllWindows();
        QCoreApplication::exit(exitCode);
    });
    return service;
}

void EndProgram(int exitCode)
{
    EndProgramProvider()(exitCode);
}

bool ProgramEnding()
{
    return ending;
}

} // namespace platform
