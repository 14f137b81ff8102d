#include "Connection.h"

#include <QNetworkInterface>

namespace platform {
namespace {

bool hasUsableAddress(const QNetworkInterface &iface)
{
    const auto entries = iface.addressEntries();
    return std::any_of(entries.begin(), entries.end(), [](const QNetworkAddressEntry &entry) {
        const QHostAddress ip = entry.ip();
        return !ip.isNull() && !ip.isLoopback();
    });
}

bool probeInterfaces()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    return std::any_of(interfaces.begin(), interfaces.end(), [](const QNetworkInterface &iface) {
        const auto flags = iface.flags();
        return flags.testFlag(QNetworkInterface::IsUp) &&
               flags.testFlag(QNetworkInterface::IsRunning) &&
               !flags.testFlag(QNetworkInterface::IsLoopBack) && hasUsableAddress(iface);
    });
}

} // namespace

ConnectionService &ConnectionProvider()
{
    static ConnectionService service(probeInterfaces);
    return service;
}

bool InternetConnected()
{
    return ConnectionProvider()();
}

} // namespace platform
