#include "CacheMain.h"

#include "CookieMirror.h"
#include "NetworkProbe.h"
#include "WebBrowser.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include <optional>

namespace CacheMain {
namespace {

const int ClearDeadlineMs = 10000;

struct Kinds {
    bool files = false;
    bool cookies = false;
    bool visited = false;
};

std::optional<Kinds> KindsOfPattern(const QString &pattern)
{
    const QString p = pattern.trimmed().toLower();
    if (p.isEmpty() || p == "*.*" || p == "*") {
        return Kinds{true, true, true};
    }
    if (p == "cookie:") {
        return Kinds{false, true, false};
    }
    if (p == "visited:") {
        return Kinds{false, false, true};
    }
    return std::nullopt;
}

} // namespace

bool DeleteCacheEntries(const QString &pattern, quint32 keepMask)
{
    const std::optional<Kinds> kinds = KindsOfPattern(pattern);
    QWebEngineProfile *profile = platform::WebBrowser::SharedProfile();
    if (!kinds || !profile) {
        return false;
    }
    if (kinds->files && !(keepMask & (NORMAL_CACHE_ENTRY | STICKY_CACHE_ENTRY))) {
        profile->clearHttpCache();
        // Until the clear is over the engine answers no request: a page loaded now would hang.
        if (!NetworkProbe::WaitUntilAnswered(profile, ClearDeadlineMs)) {
            return false;
        }
        if (CookieMirror *cookies = CookieMirror::Of(profile->cookieStore())) {
            cookies->Restore();
        }
    }
    if (kinds->cookies && !(keepMask & COOKIE_CACHE_ENTRY)) {
        profile->cookieStore()->deleteAllCookies();
    }
    if (kinds->visited && !(keepMask & URLHISTORY_CACHE_ENTRY)) {
        profile->clearAllVisitedLinks();
    }
    return true;
}

} // namespace CacheMain
