#pragma once

#include "platform/web/DialogFlood.h"
#include "platform/web/PageDialogRequest.h"
#include "platform/web/PagePolicy.h"

#include <QPointer>
#include <QWebEnginePage>

namespace platform {

class WebBrowser;

// The page behind a WebBrowser: asks the browser about every navigation, shows the page's own
// dialogs as its policy says, and hands new-window requests to the browser, which makes no page
// for any.
class WebBrowserPage : public QWebEnginePage {
    Q_OBJECT

public:
    WebBrowserPage(QWebEngineProfile *profile, WebBrowser *browser);

    // The kind of page its browser shows; a page without a browser is a plain one.
    PagePolicy::Kind Kind() const;

    // A dialog of this page is open: the engine waits inside it.
    bool InDialog() const { return m_dialogDepth > 0; }

    // No dialog of this page shows any more, not even after a new load.
    void EndDialogs() { m_dialogsEnded = true; }
    bool DialogsEnded() const { return m_dialogsEnded || m_dialogsStopped; }

    // The browser goes while a dialog is open: the engine still runs inside this page, which
    // therefore stays until the dialog has returned, and then goes by itself.
    void OutliveBrowser();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                          const QString &defaultValue, QString *result) override;
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    PageDialogRequest::Answer RunDialog(PageDialogRequest request);

    QPointer<WebBrowser> m_browser;
    DialogFlood m_flood;
    bool m_dialogsStopped = false; // by the player, until the next load
    bool m_dialogsEnded = false;
    int m_dialogDepth = 0;
    bool m_orphan = false;
};

} // namespace platform
