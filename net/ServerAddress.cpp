#include "ServerAddress.h"

#include <QUrl>

QString ServerAddress(const char *builtIn)
{
    const QString address = QString::fromUtf8(builtIn);
    const QUrl server(qEnvironmentVariable("VANTOR_SERVER"), QUrl::StrictMode);
    if (!server.isValid() || server.host().isEmpty() ||
        (server.scheme() != "http" && server.scheme() != "https")) {
        return address;
    }
    QUrl moved(address);
    moved.setScheme(server.scheme());
    moved.setHost(server.host());
    moved.setPort(server.port());
    return moved.toString();
}
