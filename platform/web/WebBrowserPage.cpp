#include "WebBrowserPage.h"

#include "platform/web/PagePolicy.h"
#include "platform/web/WebBrowser.h"

#include <QDateTime>
#include <QTimer>
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
    // A stop the player asked for holds for the document that earned it, as in a browser.
    connect(this, &QWebEnginePage::loadStarted, this, [this] { m_dialogsStopped = false; });
}

void WebBrowserPage::OutliveBrowser()
{
    m_orphan = true;
    setParent(nullptr);
}

PagePolicy::Kind WebBrowserPage::Kind() const
{
    return m_browser ? m_browser->PageKind() : PagePolicy::Kind::Plain;
}

bool WebBrowserPage::acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame)
{
    return m_browser && m_browser->AcceptNavigation(url, isMainFrame);
}

PageDialogRequest::Answer WebBrowserPage::RunDialog(PageDialogRequest request)
{
    if (!m_browser || DialogsEnded() || !PagePolicy::ShowsDialogs(m_browser->PageKind())) {
        return {};
    }
    request.offerStop = m_flood.Opening(QDateTime::currentMSecsSinceEpoch());
    ++m_dialogDepth;
    // The player may close the tab or the window meanwhile: the browser may be gone after this.
    const PageDialogRequest::Answer answer = m_browser->AskPageDialog(request);
    --m_dialogDepth;
    m_flood.Closed(QDateTime::currentMSecsSinceEpoch());
    m_dialogsStopped = m_dialogsStopped || (request.offerStop && answer.stop);
    if (m_orphan && !InDialog()) {
        deleteLater();
    }
    return answer;
}

void WebBrowserPage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    RunDialog({PageDialogRequest::Kind::Alert,
               WebBrowser::OriginOf(securityOrigin.toString()),
               msg,
               {},
               false});
}

bool WebBrowserPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    return RunDialog({PageDialogRequest::Kind::Confirm,
                      WebBrowser::OriginOf(securityOrigin.toString()),
                      msg,
                      {},
                      false})
        .accepted;
}

bool WebBrowserPage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                                      const QString &defaultValue, QString *result)
{
    const PageDialogRequest::Answer answer =
        RunDialog({PageDialogRequest::Kind::Prompt, WebBrowser::OriginOf(securityOrigin.toString()),
                   msg, defaultValue, false});
    if (answer.accepted && result) {
        *result = answer.text;
    }
    return answer.accepted;
}

// No page is made for a new window: the engine then asks through newWindowRequested, which says
// where the window goes and whether the player asked for it. A page kept to learn that later
// (window.open('') filled in by script) would run hidden script for as long as it was kept.
QWebEnginePage *WebBrowserPage::createWindow(WebWindowType)
{
    return nullptr;
}

} // namespace platform
