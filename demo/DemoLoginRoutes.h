#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <map>
#include <mutex>

namespace httplib {
class Server;
}

// The login server's side of /qvmrwd/: the login page with its per-visitor settings, the login
// itself with its session cookie, and the pages the client's browser tests load. Pages that need
// nothing from the request stay plain files in DemoSite.
class DemoLoginRoutes {
public:
    static constexpr const char *SessionCookie = "vantor_session";

    // Routes are registered ahead of the catch-all site route, which would otherwise answer them
    // with the raw templates. The object must outlive `server`.
    void addRoutes(httplib::Server &server);

    // Read on every request to the login page, so it may change while the server runs.
    void setAutoLogin(bool on);

private:
    std::atomic<bool> autoLogin{false};
    mutable std::mutex mutex;
    std::map<QByteArray, QString> usersBySession;

    QByteArray openSession(const QString &user);
    QString userOfSession(const QByteArray &session) const;
};
