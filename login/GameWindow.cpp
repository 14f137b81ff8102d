#include "GameWindow.h"

namespace GameWindow {

OpenService &OpenProvider()
{
    static OpenService service([](const QString &) {});
    return service;
}

IsOpenService &IsOpenProvider()
{
    static IsOpenService service([] { return false; });
    return service;
}

bool IsOpen()
{
    return IsOpenProvider()();
}

void Open(const QString &address)
{
    OpenProvider()(address);
}

} // namespace GameWindow
