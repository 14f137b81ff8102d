#pragma once

#include <QObject>

namespace platform {

class WebBrowser;

// What the observer script in the page calls over the web channel.
class WebBrowserBridge : public QObject {
    Q_OBJECT

public:
    explicit WebBrowserBridge(WebBrowser *browser) : QObject(nullptr), m_browser(browser) {}

public slots:
    void navigate(const QString &url, const QString &origin, bool isTop);
    void complete(const QString &url);
    void resized();

private:
    WebBrowser *m_browser;
};

} // namespace platform
