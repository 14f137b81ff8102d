#pragma once

#include "platform/web/PopupGate.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

namespace platform {

class WebBrowserPage;
class WebBrowserBridge;

// The embedded browser of the client's windows. Every browser shares one named, persistent
// profile, so a login survives a restart (session cookies included) and one cache can be cleared.
//
// Navigations to app: addresses, and to any address that carries one ("app://" anywhere), are
// commands for the client: they are seen as the exact text the page navigated to, from the top
// document and from its frames, together with the origin of the document that asked, and are held
// back until they have been reported. Other navigations are reported before they happen and can
// be cancelled.
//
// Only http and https ever leave the client, and only through the shell: the engine itself never
// hands an address of another scheme to the desktop.
class WebBrowser : public QWidget {
    Q_OBJECT

public:
    // Must run before the QApplication is created: registers the app: scheme with the engine and
    // prepares the engine's process (no sandbox when running as root, where it cannot start).
    static void PrepareEngine();

    static QWebEngineProfile *SharedProfile();

    // Brings the engine and the shared profile up at the event loop's next turn, so that their
    // start overlaps whatever start-up waits for meanwhile (the network, say).
    static void StartEngineSoon();

    // "scheme://host:port" of an address, as a document reports its own origin.
    static QString OriginOf(const QString &url);

    explicit WebBrowser(QWidget *parent = nullptr);
    ~WebBrowser() override;

    void Navigate(const QString &url);
    void Refresh();

    // No alert, confirm or prompt dialog ever appears while silent.
    void SetSilent(bool silent);
    bool Silent() const;

    QString LocationURL() const;

    // The top document's root element content, delivered asynchronously.
    void RootInnerHtml(const std::function<void(const QString &)> &callback) const;

    // Sets one style property of the top document's root element, now.
    void SetRootStyle(const QString &property, const QString &value);

    // Replaces the page with a notice of the client's own; its links lead back to real pages.
    void ShowNotice(const QString &html);

    // A style sheet applied to every top document from now on.
    void SetDocumentStyle(const QString &css);

    // Commands are reported only when a document of this origin ("http://host:port") asked for
    // them; others are dropped silently. A command the engine reports without saying which
    // document asked (a frame of another origin sending the top window there, say) goes ahead as
    // an ordinary navigation, unreported. Empty: every document may give commands.
    void SetCommandOrigin(const QString &origin);

    // Whether an address is a command for the client: an app: address or one that carries one.
    static bool CarriesCommand(const QString &url);

    QWebEngineView *View() const { return m_view; }

signals:
    void DownloadBegin();
    void BeforeNavigate(const QString &url, bool &Cancel);
    void DocumentComplete(const QString &url, bool isTop);
    void TitleChange(const QString &text);
    // A new window the player clicked for, at an http(s) address; a few a second at most. Every
    // other new-window request is dropped, and no page is ever kept for one.
    void NewWindow(const QString &url, bool &Processed);
    // The process that rendered the page crashed or was killed; the page shows nothing now.
    void RendererGone();

private:
    friend class WebBrowserPage;
    friend class WebBrowserBridge;

    bool AcceptNavigation(const QUrl &url, bool isMainFrame);
    void PageNavigation(const QString &url, const QString &origin, bool isTop);
    void OpenNewWindow(const QUrl &url, bool userInitiated);
    void OnTitleChanged(const QString &title);
    void OnLoadingChanged(const QWebEngineLoadingInfo &info);

    QWebEngineView *m_view;
    WebBrowserPage *m_page;
    WebBrowserBridge *m_bridge;
    QString m_commandOrigin;
    bool m_silent = false;
    // Top-window navigations refused before they began: the engine may end each one as a load of
    // its own, which is then no completion of the document shown.
    QList<QUrl> m_cancelled;
    // Commands already reported that go ahead as ordinary navigations of the top window.
    QList<QUrl> m_reported;
    PopupGate m_popups;
};

} // namespace platform
