#include "NetworkProbe.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

namespace NetworkProbe {
namespace {

// Answers every request with an empty page and closes.
void answerEmpty(QTcpServer &server)
{
    while (QTcpSocket *socket = server.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 0\r\n"
                          "Cache-Control: no-store\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace

bool WaitUntilAnswered(QWebEngineProfile *profile, int deadlineMs)
{
    QTcpServer server;
    if (!profile || !server.listen(QHostAddress::LocalHost)) {
        return false;
    }
    QObject::connect(&server, &QTcpServer::newConnection, [&server] { answerEmpty(server); });
    QWebEnginePage page(profile);
    QEventLoop loop;
    bool answered = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
        answered = ok;
        if (ok) {
            loop.quit();
        }
    });
    int asked = 0;
    const auto ask = [&] {
        page.load(QUrl(QString("http://vantor-probe.localhost:%1/probe?%2")
                           .arg(server.serverPort())
                           .arg(++asked)));
    };
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, &loop, ask);
    QTimer::singleShot(deadlineMs, &loop, &QEventLoop::quit);
    ask();
    again.start(AskEveryMs);
    loop.exec();
    return answered;
}

} // namespace NetworkProbe
