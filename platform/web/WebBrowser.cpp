#include "WebBrowser.h"

#include "CookieMirror.h"
#include "PageDownloads.h"
#include "PageNotifications.h"
#include "ProfilePaths.h"
#include "SiteZoom.h"
#include "WebBrowserBridge.h"
#include "WebBrowserPage.h"

#include "platform/os/WebAddress.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QTimer>
#include <QUuid>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {
namespace {

const char AppScheme[] = "app";
const char ProfileName[] = "vantor";
const char StyleScriptName[] = "vantor-document-style";

// app: addresses are commands for the client, never documents.
class AppSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
};

QString readResource(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QWebEngineScript observerScript()
{
    const QString nonce = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString source = readResource(":/qtwebchannel/qwebchannel.js");
    source += readResource(":/vantor-web/observer.js").replace("@NONCE@", nonce);
    QWebEngineScript script;
    script.setName("vantor-observer");
    script.setSourceCode(source);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(true);
    return script;
}

QString originOf(const QUrl &url)
{
    return url
        .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                  QUrl::RemoveUserInfo)
        .toString(QUrl::StripTrailingSlash);
}

// The engine calls a page without a title by its address; that is not a title of the page's.
bool isStandInTitle(const QString &title, const QUrl &url)
{
    return title.isEmpty() || title == url.toString() ||
           title == url.toString(QUrl::RemoveScheme).mid(2) || title == url.toDisplayString();
}

// A text as a script literal.
QString jsString(const QString &text)
{
    QString quoted = text;
    quoted.replace('\\', "\\\\").replace('\'', "\\'").replace('\n', "\\n");
    return '\'' + quoted + '\'';
}

// When OpenGL is itself drawn by the processor, every web view's scene in it costs a context
// and its buffers of its own (some 70 MB a game tab here) and gains nothing over drawing the
// scene without OpenGL; the engine then composes its pages in software as well.
bool openGLIsSoftware()
{
    QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    if (!shared) {
        return false;
    }
    QOffscreenSurface surface;
    surface.setFormat(shared->format());
    surface.create();
    QOpenGLContext probe;
    probe.setShareContext(shared);
    probe.setFormat(shared->format());
    if (!probe.create() || !probe.makeCurrent(&surface)) {
        return false;
    }
    const auto *renderer =
        reinterpret_cast<const char *>(probe.functions()->glGetString(GL_RENDERER));
    const QByteArray name = QByteArray(renderer ? renderer : "").toLower();
    probe.doneCurrent();
    return name.contains("llvmpipe") || name.contains("softpipe") || name.contains("swrast") ||
           name.contains("software");
}

// The engine's flags with ours added: a flag the player already gave, with whatever value,
// stays as the player gave it.
QByteArray withEngineFlags(const QByteArray &flags, std::initializer_list<QByteArray> ours)
{
    QByteArray result = flags;
    const QList<QByteArray> given = flags.split(' ');
    for (const QByteArray &flag : ours) {
        const QByteArray name = flag.split('=').first();
        const bool set = std::any_of(given.cbegin(), given.cend(), [&](const QByteArray &g) {
            return g == name || g.startsWith(name + '=');
        });
        if (!set) {
            result += ' ' + flag;
        }
    }
    return result.trimmed();
}

void addEngineFlags(std::initializer_list<QByteArray> ours)
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            withEngineFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), ours));
}

// The engine reads the scene graph and its own flags once, when it starts (the profile or the
// first view, whichever comes first). Drawn without OpenGL, the scene can only take frames the
// engine composed in software: a page composed on the GPU (the blocklist ignored, as players are
// told to do for games) brought the program down at its first frame. WebGL still runs on the
// processor's OpenGL in the engine's GPU process, and its frames are read back into the
// software composition; a game without WebGL would not start at all.
void chooseRendering()
{
    static const bool chosen = [] {
        const QByteArray asked = qgetenv("QT_QUICK_BACKEND");
        const bool software = asked.isEmpty() ? openGLIsSoftware() : asked == "software";
        if (software && asked.isEmpty()) {
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        }
        if (software) {
            addEngineFlags({"--disable-gpu-compositing", "--enable-webgl-software-rendering"});
        }
        return true;
    }();
    Q_UNUSED(chosen);
}

QWebEngineView *newView(QWidget *parent)
{
    chooseRendering();
    return new QWebEngineView(parent);
}

} // namespace

void WebBrowser::PrepareEngine()
{
    QWebEngineUrlScheme scheme(AppScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(scheme);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine lists its start-up parameters on every run; that is for its own developers.
    // QT_LOGGING_RULES still brings it back.
    QLoggingCategory::setFilterRules("qt.webenginecontext.debug=false\n"
                                     "qt.webenginecontext.info=false");
#ifdef Q_OS_UNIX
    if (::geteuid() == 0) {
        addEngineFlags({"--no-sandbox"});
    }
#endif
    // Every site has renderer processes of its own, and the pages of one site share one: a
    // renderer for each game tab cost every tab after the first some 15 MiB.
    addEngineFlags({"--site-per-process", "--process-per-site"});
}

QWebEngineProfile *WebBrowser::SharedProfile()
{
    static QWebEngineProfile *profile = [] {
        chooseRendering();
        auto *shared = new QWebEngineProfile(ProfileName, qApp);
        shared->setPersistentStoragePath(
            ProfilePaths::MoveOver(ProfilePaths::EarlierStorage(), ProfilePaths::Storage()));
        shared->setCachePath(ProfilePaths::Cache());
        shared->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
        shared->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
        new CookieMirror(shared->cookieStore()); // a cache clear must not log the player out
        shared->installUrlSchemeHandler(AppScheme, new AppSchemeHandler(shared));
        // A clicked mailto: or made-up scheme would otherwise go to the desktop's handler.
        shared->settings()->setUnknownUrlSchemePolicy(
            QWebEngineSettings::DisallowUnknownUrlSchemes);
        // A window a script opens without a click of the player's is refused inside the page,
        // before the engine builds anything for it.
        shared->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        // Only pages the policy let ask for notifications ever get here.
        shared->setNotificationPresenter(&PageNotifications::Present);
        QObject::connect(shared, &QWebEngineProfile::downloadRequested, &PageDownloads::Instance(),
                         &PageDownloads::Take);
        return shared;
    }();
    return profile;
}

void WebBrowser::StartEngineSoon()
{
    QTimer::singleShot(0, qApp, [] { SharedProfile(); });
}

WebBrowser::WebBrowser(QWidget *parent)
    : QWidget(parent), m_view(newView(this)), m_page(new WebBrowserPage(SharedProfile(), this)),
      m_bridge(new WebBrowserBridge(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setPage(m_page);

    auto *channel = new QWebChannel(m_page);
    channel->registerObject("vantorBrowser", m_bridge);
    m_page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
    m_page->scripts().insert(observerScript());

    connect(m_page, &QWebEnginePage::loadStarted, this, &WebBrowser::DownloadBegin);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebBrowser::OnLoadingChanged);
    connect(m_page, &QWebEnginePage::titleChanged, this, &WebBrowser::OnTitleChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus) {
                    m_fullScreen = false;
                    emit CancelPageDialog();
                    emit RendererGone();
                }
            });
    connect(m_page, &QWebEnginePage::featurePermissionRequested, this,
            &WebBrowser::OnFeatureRequest);
    connect(m_page, &QWebEnginePage::fullScreenRequested, this, &WebBrowser::OnFullScreenRequest);
    connect(m_page, &QWebEnginePage::urlChanged, this, &WebBrowser::ApplySiteZoom);
    SetPageKind(m_kind);
}

WebBrowser::~WebBrowser()
{
    // The page must go before the view that shows it and before the shared profile; one whose
    // dialog is still open goes once the engine has left it.
    m_view->setPage(nullptr);
    if (m_page->InDialog()) {
        emit CancelPageDialog();
        m_page->OutliveBrowser();
    } else {
        delete m_page;
    }
    delete m_bridge;
}

void WebBrowser::Navigate(const QString &url)
{
    if (!DeferWhileInDialog([this, url] { Navigate(url); })) {
        m_page->load(QUrl(url));
    }
}

void WebBrowser::Refresh()
{
    if (!DeferWhileInDialog([this] { Refresh(); })) {
        m_page->triggerAction(QWebEnginePage::Reload);
    }
}

// The engine waits inside an open dialog of the page and would take a new load only once the
// player answered; the dialog closes first, as in a browser, and the load follows.
bool WebBrowser::DeferWhileInDialog(const std::function<void()> &action)
{
    if (!m_page->InDialog()) {
        return false;
    }
    emit CancelPageDialog();
    QTimer::singleShot(0, this, action);
    return true;
}

void WebBrowser::SetPageKind(PagePolicy::Kind kind)
{
    m_kind = kind;
    PagePolicy::ApplySettings(kind, *m_page->settings());
}

void WebBrowser::StopPageDialogs()
{
    m_page->EndDialogs();
    emit CancelPageDialog();
}

PageDialogRequest::Answer WebBrowser::AskPageDialog(const PageDialogRequest &request)
{
    PageDialogRequest::Answer answer;
    const QPointer<WebBrowser> self(this);
    // Nothing the player does to the page meanwhile would reach it before the answer.
    m_view->setEnabled(false);
    emit PageDialog(request, answer);
    if (self) {
        m_view->setEnabled(true);
        if (isVisible()) {
            m_view->setFocus(Qt::OtherFocusReason);
        }
    }
    return answer;
}

void WebBrowser::OnFeatureRequest(const QUrl &origin, QWebEnginePage::Feature feature)
{
    std::optional<bool> grant;
    switch (PagePolicy::ForFeature(m_kind, feature)) {
    case PagePolicy::Answer::Grant:
        grant = true;
        break;
    case PagePolicy::Answer::Refuse:
        grant = false;
        break;
    case PagePolicy::Answer::AskOncePerOrigin:
        grant = m_page->DialogsEnded() ? std::optional<bool>(false)
                                       : PagePolicy::Remembered(origin, feature);
        break;
    }
    if (grant) {
        m_page->setFeaturePermission(origin, feature,
                                     *grant ? QWebEnginePage::PermissionGrantedByUser
                                            : QWebEnginePage::PermissionDeniedByUser);
        return;
    }
    // Asked from the event loop, not from inside the engine's call.
    QTimer::singleShot(0, this, [this, origin, feature] { AskPermission(origin, feature); });
}

// Only a press of an answer is kept: a question closed for the player is asked again next time.
void WebBrowser::AskPermission(const QUrl &origin, QWebEnginePage::Feature feature)
{
    std::optional<bool> grant = PagePolicy::Remembered(origin, feature);
    if (!grant && !m_page->DialogsEnded()) {
        const QPointer<WebBrowser> self(this);
        const PageDialogRequest::Answer answer = AskPageDialog({PageDialogRequest::Kind::Permission,
                                                                OriginOf(origin.toString()),
                                                                PagePolicy::Question(feature),
                                                                {},
                                                                false});
        if (!self) {
            return;
        }
        if (answer.chosen) {
            PagePolicy::Remember(origin, feature, answer.accepted);
        }
        grant = answer.accepted;
    }
    m_page->setFeaturePermission(origin, feature,
                                 grant.value_or(false) ? QWebEnginePage::PermissionGrantedByUser
                                                       : QWebEnginePage::PermissionDeniedByUser);
}

void WebBrowser::OnFullScreenRequest(QWebEngineFullScreenRequest request)
{
    bool accept = !request.toggleOn();
    emit FullScreenRequested(request.toggleOn(), accept);
    if (accept || !request.toggleOn()) {
        m_fullScreen = request.toggleOn();
        request.accept();
    } else {
        request.reject();
    }
}

void WebBrowser::ExitFullScreen()
{
    if (m_fullScreen) {
        m_page->triggerAction(QWebEnginePage::ExitFullScreen);
    }
}

double WebBrowser::ZoomFactor() const
{
    return m_page->zoomFactor();
}

void WebBrowser::ZoomIn()
{
    SetZoom(SiteZoom::Stepped(m_page->zoomFactor(), 1));
}

void WebBrowser::ZoomOut()
{
    SetZoom(SiteZoom::Stepped(m_page->zoomFactor(), -1));
}

void WebBrowser::ResetZoom()
{
    SetZoom(SiteZoom::Stepped(m_page->zoomFactor(), 0));
}

void WebBrowser::SetZoom(double factor)
{
    m_page->setZoomFactor(factor);
    if (PagePolicy::ZoomsPerSite(m_kind)) {
        SiteZoom::Shared().Set(SiteZoom::SiteOf(m_page->url()), factor);
    }
}

// The engine keeps a page's zoom from one document to the next; a site of its own gets its own.
void WebBrowser::ApplySiteZoom()
{
    if (PagePolicy::ZoomsPerSite(m_kind)) {
        m_page->setZoomFactor(SiteZoom::Shared().For(SiteZoom::SiteOf(m_page->url())));
    }
}

// Ctrl+wheel zooms inside the engine, which says nothing of it; the document sees its viewport
// change, and the new factor is kept for the site.
void WebBrowser::OnResized()
{
    const QString site = SiteZoom::SiteOf(m_page->url());
    if (PagePolicy::ZoomsPerSite(m_kind) && !site.isEmpty()) {
        SiteZoom::Shared().Set(site, m_page->zoomFactor());
    }
}

void WebBrowser::SetSilent(bool silent)
{
    m_silent = silent;
}

bool WebBrowser::Silent() const
{
    return m_silent;
}

QString WebBrowser::LocationURL() const
{
    return m_page->url().toString();
}

void WebBrowser::RootInnerHtml(const std::function<void(const QString &)> &callback) const
{
    m_page->runJavaScript("document.documentElement ? document.documentElement.innerHTML : ''",
                          QWebEngineScript::ApplicationWorld,
                          [callback](const QVariant &result) { callback(result.toString()); });
}

void WebBrowser::SetRootStyle(const QString &property, const QString &value)
{
    const QString script = QString("document.documentElement && "
                                   "document.documentElement.style.setProperty(%1, %2);")
                               .arg(jsString(property), jsString(value));
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void WebBrowser::ShowNotice(const QString &html)
{
    if (!DeferWhileInDialog([this, html] { ShowNotice(html); })) {
        m_page->setHtml(html);
    }
}

void WebBrowser::SetDocumentStyle(const QString &css)
{
    QWebEngineScriptCollection &scripts = m_page->scripts();
    for (const QWebEngineScript &old : scripts.find(StyleScriptName)) {
        scripts.remove(old);
    }
    QString literal = css;
    literal.replace('\\', "\\\\").replace('`', "\\`").replace("${", "\\${");
    QWebEngineScript script;
    script.setName(StyleScriptName);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setSourceCode(QString("(function(){var s=document.createElement('style');"
                                 "s.textContent=`%1`;document.documentElement.appendChild(s);})();")
                             .arg(literal));
    scripts.insert(script);
}

void WebBrowser::SetCommandOrigin(const QString &origin)
{
    m_commandOrigin = origin;
}

bool WebBrowser::CarriesCommand(const QString &url)
{
    return url.startsWith(QLatin1String("app:"), Qt::CaseInsensitive) ||
           url.contains(QLatin1String("app://"));
}

bool WebBrowser::AcceptNavigation(const QUrl &url, bool isMainFrame)
{
    // The page holds app: navigations back itself and reports them with their exact text; one
    // that slipped past it (no script in that document) is dropped here.
    bool cancel = url.scheme() == QLatin1String(AppScheme) || url.isEmpty();
    if (!cancel) {
        if (isMainFrame && m_reported.removeOne(url)) {
            return true;
        }
        // The engine does not say which document asked for this one; the page's own commands
        // have been reported already, with their origin.
        if (!m_commandOrigin.isEmpty() && CarriesCommand(url.toString())) {
            return true;
        }
        emit BeforeNavigate(url.toString(), cancel);
    }
    if (isMainFrame) {
        m_cancelled.removeAll(url);
        if (cancel) {
            m_cancelled.append(url);
        }
    }
    return !cancel;
}

// A navigation refused before it began may end as a load of its own; the document shown is still
// the one that completed before, so it does not complete again. A refused navigation that never
// became a load leaves nothing behind that could swallow the next completion.
void WebBrowser::OnLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        return;
    }
    if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus &&
        m_cancelled.removeOne(info.url())) {
        return;
    }
    emit DocumentComplete(LocationURL(), true);
}

void WebBrowser::PageNavigation(const QString &url, const QString &origin, bool isTop)
{
    if (!m_commandOrigin.isEmpty() && origin != m_commandOrigin) {
        return;
    }
    bool cancel = false;
    emit BeforeNavigate(url, cancel);
    // The page held the navigation back; an ordinary address that carried the command goes
    // ahead unless the command cancelled it. A frame's stays held back: it cannot be resumed in
    // its frame from here.
    const QUrl address(url);
    if (!cancel && isTop && IsWebAddress(address)) {
        m_reported = {address};
        m_page->load(address);
    }
}

// As a browser's popup blocker does: a page opens a window only when the player clicked for it,
// only one that says where it goes, and only a few a second.
void WebBrowser::OpenNewWindow(const QUrl &url, bool userInitiated)
{
    if (!userInitiated || !IsWebAddress(url) ||
        !m_popups.Allow(QDeadlineTimer::current().deadline())) {
        return;
    }
    bool processed = false;
    emit NewWindow(url.toString(), processed);
}

void WebBrowser::OnTitleChanged(const QString &title)
{
    if (!isStandInTitle(title, m_page->url())) {
        emit TitleChange(title);
    }
}

QString WebBrowser::OriginOf(const QString &url)
{
    return originOf(QUrl(url));
}

} // namespace platform
