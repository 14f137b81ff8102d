#include "GameWindow.h"

namespace GameWindow {

OpenService &OpenProvider()
{
    static OpenService service([](const QString &) {});
    return service;
}

void Open(const QString &address)
{
    OpenProvider()(address);
}

} // namespace GameWindow
