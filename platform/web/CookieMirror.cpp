#include "CookieMirror.h"

#include <QUrl>
#include <QWebEngineCookieStore>

CookieMirror::CookieMirror(QWebEngineCookieStore *store) : QObject(store), m_store(store)
{
    connect(store, &QWebEngineCookieStore::cookieAdded, this,
            [this](const QNetworkCookie &cookie) { m_cookies.insert(KeyOf(cookie), cookie); });
    connect(store, &QWebEngineCookieStore::cookieRemoved, this,
            [this](const QNetworkCookie &cookie) { m_cookies.remove(KeyOf(cookie)); });
    store->loadAllCookies();
}

CookieMirror *CookieMirror::Of(QWebEngineCookieStore *store)
{
    return store ? store->findChild<CookieMirror *>(QString(), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

QByteArray CookieMirror::KeyOf(const QNetworkCookie &cookie)
{
    return cookie.domain().toUtf8() + '\n' + cookie.path().toUtf8() + '\n' + cookie.name();
}

// A cookie without a leading dot belongs to its host alone: it is set again for that host and
// without a domain, so it never widens to the host's subdomains.
void CookieMirror::Restore() const
{
    for (QNetworkCookie cookie : m_cookies) {
        const bool hostOnly = !cookie.domain().startsWith('.');
        QUrl origin;
        origin.setScheme(cookie.isSecure() ? "https" : "http");
        origin.setHost(hostOnly ? cookie.domain() : cookie.domain().mid(1));
        origin.setPath(cookie.path().isEmpty() ? QString("/") : cookie.path());
        if (hostOnly) {
            cookie.setDomain(QString());
        }
        m_store->setCookie(cookie, origin);
    }
}
