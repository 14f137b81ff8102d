#include "WebBrowserPage.h"

#include "platform/web/WebBrowser.h"

#include <QWebEngineNewWindowRequest>

namespace platform {

WebBrowserPage::WebBrowserPage(QWebEngineProfile *profile, WebBrowser *browser)
    : QWebEnginePage(profile, browser), m_browser(browser)
{
    // A request left unhandled is closed by the engine at once, with its page and its script.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest &request) {
                m_browser->OpenNewWindow(request.requestedUrl(), request.isUserInitiated());
            });
}

bool WebBrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    return m_browser->AcceptNavigation(url, isMainFrame);
}

void WebBrowserPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    if (!m_browser->Silent()) {
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
    }
}

bool WebBrowserPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return !m_browser->Silent() && QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}

bool WebBrowserPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                                      const QString &defaultValue, QString *result)
{
    return !m_browser->Silent() &&
           QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

// No page is made for a new window: the engine then asks through newWindowRequested, which says
// where the window goes and whether the player asked for it. A page kept to learn that later
// (window.open('') filled in by script) would run hidden script for as long as it was kept.
QWebEnginePage *WebBrowserPage::createWindow(WebWindowType)
{
    return nullptr;
}

} // namespace platform
