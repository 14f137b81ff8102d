#pragma once

#include <QHash>
#include <QNetworkCookie>
#include <QObject>

class QWebEngineCookieStore;

// The cookies a store holds, as the store reports them. After clearing its HTTP cache the engine
// starts its network afresh and reads the cookies back from disk, where one set a moment before
// may not have arrived yet: the player would be logged out by a cache clear. The mirror puts back
// what it saw.
class CookieMirror : public QObject {
    Q_OBJECT

public:
    // Watches the store from now on and asks it for what it holds already.
    explicit CookieMirror(QWebEngineCookieStore *store);

    // The mirror of the store, if it has one.
    static CookieMirror *Of(QWebEngineCookieStore *store);

    // Sets every cookie seen and not removed again, each for the site it came from.
    void Restore() const;

    int Count() const { return int(m_cookies.size()); }

private:
    static QByteArray KeyOf(const QNetworkCookie &cookie);

    QWebEngineCookieStore *m_store;
    QHash<QByteArray, QNetworkCookie> m_cookies;
};
