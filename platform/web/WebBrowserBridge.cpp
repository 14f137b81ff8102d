#include "WebBrowserBridge.h"

#include "platform/web/WebBrowser.h"

namespace platform {

void WebBrowserBridge::navigate(const QString &url, const QString &origin, bool isTop)
{
    m_browser->PageNavigation(url, origin, isTop);
}

void WebBrowserBridge::complete(const QString &url)
{
    emit m_browser->DocumentComplete(url, false);
}

void WebBrowserBridge::resized()
{
    m_browser->OnResized();
}

} // namespace platform
