#include "WebBrowserPage.h"

#include "platform/web/WebBrowser.h"

#include <QTimer>

namespace platform {

namespace {
// A new window that never says where it goes is given up after this long.
const int NewWindowPatienceMs = 5000;
} // namespace

WebBrowserPage::WebBrowserPage(QWebEngineProfile *profile, WebBrowser *browser)
    : QWebEnginePage(profile, browser), m_browser(browser)
{
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

QWebEnginePage *WebBrowserPage::createWindow(WebWindowType)
{
    auto *catcher = new NewWindowCatcher(profile(), m_browser);
    QTimer::singleShot(NewWindowPatienceMs, catcher, &QObject::deleteLater);
    return catcher;
}

NewWindowCatcher::NewWindowCatcher(QWebEngineProfile *profile, WebBrowser *browser)
    : QWebEnginePage(profile, browser), m_browser(browser)
{
}

bool NewWindowCatcher::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    if (!isMainFrame || url.isEmpty() || url.scheme() == QLatin1String("about")) {
        return true;
    }
    m_browser->OpenNewWindow(url);
    deleteLater();
    return false;
}

} // namespace platform
