#pragma once

#include "platform/web/PageDialogRequest.h"
#include "platform/web/PagePolicy.h"
#include "platform/web/PopupGate.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <functional>

class QWebEngineFullScreenRequest;
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
//
// What the page may do beyond that (its own dialogs, fullscreen, the pointer, the clipboard,
// devices, notifications, its zoom) follows its kind, in PagePolicy; a new browser is Plain.
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

    // Silent: the browser reports no script error and asks no security question of its own (the
    // engine shows none either). The page's own alert, confirm and prompt do not depend on it:
    // they follow the page's kind.
    void SetSilent(bool silent);
    bool Silent() const;

    void SetPageKind(PagePolicy::Kind kind);
    PagePolicy::Kind PageKind() const { return m_kind; }

    // The page shows an element of its own over the whole screen (requestFullscreen, accepted).
    bool IsFullScreen() const { return m_fullScreen; }
    // As the page's own exitFullscreen(); FullScreenRequested(false) follows.
    void ExitFullScreen();

    // The page's zoom, as Ctrl+wheel changes it; a game page keeps it for its site.
    void ZoomIn();
    void ZoomOut();
    void ResetZoom();
    double ZoomFactor() const;

    // No dialog of this page shows any more (the open one closes without an answer): the page is
    // on its way out.
    void StopPageDialogs();

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
    // The page asks the player (its own dialogs, a device it wants). Nobody answering is the
    // answer of a page whose dialogs are not shown.
    void PageDialog(const platform::PageDialogRequest &request,
                    platform::PageDialogRequest::Answer &answer);
    // The open dialog of the page is to close without an answer (the page reloads or goes).
    void CancelPageDialog();
    // The page asks to show an element over the whole screen (on), or to leave that. Entering
    // needs someone to set accept; leaving is always accepted.
    void FullScreenRequested(bool on, bool &accept);

private:
    friend class WebBrowserPage;
    friend class WebBrowserBridge;

    PageDialogRequest::Answer AskPageDialog(const PageDialogRequest &request);
    bool DeferWhileInDialog(const std::function<void()> &action);
    void OnFeatureRequest(const QUrl &origin, QWebEnginePage::Feature feature);
    void AskPermission(const QUrl &origin, QWebEnginePage::Feature feature);
    void OnFullScreenRequest(QWebEngineFullScreenRequest request);
    void SetZoom(double factor);
    void ApplySiteZoom();
    void OnResized();

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
    PagePolicy::Kind m_kind = PagePolicy::Kind::Plain;
    bool m_fullScreen = false;
    // Top-window navigations refused before they began: the engine may end each one as a load of
    // its own, which is then no completion of the document shown.
    QList<QUrl> m_cancelled;
    // Commands already reported that go ahead as ordinary navigations of the top window.
    QList<QUrl> m_reported;
    PopupGate m_popups;
};

} // namespace platform
