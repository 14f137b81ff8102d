#include "GameWindow.h"

#include "app/HeadlessRun.h"

#include <cstdio>

namespace GameWindow {
namespace {

QStringList &handedOver()
{
    static QStringList addresses;
    return addresses;
}

void recordAddress(const QString &address)
{
    handedOver().append(address);
    std::printf("game address handed to the main window: %s\n", qPrintable(address));
    std::fflush(stdout);
    HeadlessRun::Reach("handoff");
}

} // namespace

OpenService &OpenProvider()
{
    static OpenService service(recordAddress);
    return service;
}

void Open(const QString &address)
{
    OpenProvider()(address);
}

QStringList HandedOver()
{
    return handedOver();
}

} // namespace GameWindow
