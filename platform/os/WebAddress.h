#pragma once

#include <QString>
#include <QUrl>

namespace platform {

// Only http and https addresses leave the client: to the browser, to the downloader, to a tab.
inline bool IsWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == "http" || scheme == "https");
}

inline bool IsWebAddress(const QString &text)
{
    return IsWebAddress(QUrl(text, QUrl::StrictMode));
}

} // namespace platform
