#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

// The game's web side in miniature: update manifest (signed with the demo key as it is served),
// login page, portal, home site, a small game and a set of deliberately faulty download routes,
// served from a background thread over HTTP, or HTTPS when given a certificate.
//
// start() and stop() belong to the owning thread; the setters may be called from any thread while
// the server runs. See demo/README.md for the routes.
class DemoServer {
public:
    DemoServer();
    ~DemoServer();
    DemoServer(const DemoServer &) = delete;
    DemoServer &operator=(const DemoServer &) = delete;

    // Port 0 lets the system pick a free port. False when already running or the address is taken.
    bool start(quint16 port = 0, const QString &host = QStringLiteral("127.0.0.1"));
    // Serves HTTPS with this certificate chain and key (PEM files) from the next start() on.
    void setTls(const QString &certificateFile, const QString &keyFile);
    void stop();
    bool isRunning() const;
    quint16 port() const;
    QString baseUrl() const;

    static QByteArray defaultManifest();
    void setManifest(const QByteArray &text);
    // Read again on every request, so the file can be edited while the server runs; a missing
    // file is answered with 404.
    void setManifestFile(const QString &path);

    // Answers `path` (exact match, query ignored) with this body, and these headers, before any
    // built-in route.
    void setFile(const QString &path, const QByteArray &body, const QByteArray &contentType,
                 int status = 200, const QList<QPair<QByteArray, QByteArray>> &headers = {});
    void removeFile(const QString &path);

    // The login page fills in a demo user and logs in by itself, for runs nobody watches.
    void setAutoLogin(bool on);

    // What reached the server for a path (query ignored): how many requests, and the Cookie
    // header of the last one.
    int requestCount(const QString &path) const;
    QByteArray lastCookies(const QString &path) const;
    // The query of the last request for a path, without its "?".
    QByteArray lastQuery(const QString &path) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
