#pragma once

#include <QWebEnginePage>

namespace platform {

class WebBrowser;

// The page behind a WebBrowser: asks the browser about every navigation, keeps dialogs away
// while silent, and hands new-window requests to the browser, which makes no page for any.
class WebBrowserPage : public QWebEnginePage {
    Q_OBJECT

public:
    WebBrowserPage(QWebEngineProfile *profile, WebBrowser *browser);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg,
                          const QString &defaultValue, QString *result) override;
    QWebEnginePage *createWindow(WebWindowType type) override;

private:
    WebBrowser *m_browser;
};

} // namespace platform
