#include "WebUrl.h"

#include "PageDialog.h"
#include "PageKeys.h"
#include "platform/os/Shell.h"
#include "platform/os/WebAddress.h"
#include "platform/web/WebBrowser.h"
#include "tabstrip/CTabItem.h"

#include <QDateTime>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWebEngineView>

namespace {

const char BlankPage[] = "about:blank";
const int ReloadDelayMs = 1500;

QString noticePage(const QString &text, const QString &link = {})
{
    QString html = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head>"
                   "<body style=\"margin:0;height:100vh;display:flex;align-items:center;"
                   "justify-content:center;background:#0d2238;color:#dbe7f5;"
                   "font:15px sans-serif\"><p>" +
                   text.toHtmlEscaped();
    if (!link.isEmpty()) {
        html += " <a style=\"color:#7fc1ff\" href=\"" + link.toHtmlEscaped() + "\">" +
                QString::fromUtf8("重新加载") + "</a>";
    }
    return html + "</p></body></html>";
}

} // namespace

WebUrl::WebUrl(QWidget *parent) : QWidget(parent)
{
    setObjectName("WebUrl");
    Picture1 = new QWidget(this);
    Picture1->setObjectName("Picture1");
    Picture1->installEventFilter(this);
    wb = new platform::WebBrowser(Picture1);
    wb->setObjectName("wb");
    wb->SetPageKind(platform::PagePolicy::Kind::Game);
    // The keyboard belongs to the game: focusing the tab's window focuses its page.
    setFocusProxy(wb->View());
    connect(wb, &platform::WebBrowser::DownloadBegin, this, &WebUrl::wb_DownloadBegin);
    connect(wb, &platform::WebBrowser::TitleChange, this, &WebUrl::wb_TitleChange);
    connect(wb, &platform::WebBrowser::DocumentComplete, this, &WebUrl::wb_DocumentComplete);
    connect(wb, &platform::WebBrowser::NewWindow, this, &WebUrl::Web_V1_NewWindow,
            Qt::DirectConnection);
    connect(wb, &platform::WebBrowser::RendererGone, this, &WebUrl::wb_RendererGone);
    // The browser may be gone when the dialog returns (its tab closed meanwhile): nothing of
    // this form is touched after it.
    connect(
        wb, &platform::WebBrowser::PageDialog, wb,
        [browser = wb](const platform::PageDialogRequest &request,
                       platform::PageDialogRequest::Answer &answer) {
            answer = PageDialog::Ask(browser, request);
        },
        Qt::DirectConnection);
    connect(
        wb, &platform::WebBrowser::FullScreenRequested, this,
        [this](bool on, bool &accept) { emit FullScreenRequested(this, on, accept); },
        Qt::DirectConnection);
    Form_Load();
}

WebUrl::~WebUrl() = default;

void WebUrl::Form_Load()
{
    wb->Navigate(BlankPage);
}

platform::HWND WebUrl::hWnd()
{
    return platform::HandleOf(this);
}

void WebUrl::Initialize(const std::weak_ptr<IuTab> &Implement,
                        const std::shared_ptr<CTabItem> &Item)
{
    m_Implement = Implement;
    m_Item = Item;
}

void WebUrl::RefreshPage()
{
    wb->Refresh();
}

void WebUrl::OpenURL(const QString &szURL)
{
    m_Address = szURL;
    wb->Navigate(szURL);
}

void WebUrl::wb_DownloadBegin()
{
    wb->SetSilent(true);
}

void WebUrl::wb_TitleChange(const QString &Text)
{
    if (m_Item) {
        m_Item->SetCaption(Text);
    }
}

void WebUrl::wb_DocumentComplete(const QString &URL, bool isTop)
{
    wb->SetSilent(true);
    wb->SetRootStyle("overflow", "hidden");
    if (isTop && URL != QLatin1String(BlankPage)) {
        emit PageComplete();
    }
}

void WebUrl::Web_V1_NewWindow(const QString &URL, bool &Processed)
{
    Processed = true;
    if (platform::IsWebAddress(URL)) {
        platform::ShellOpen(URL);
    }
}

void WebUrl::wb_RendererGone()
{
    // The page the player was on; the notice shown after a first crash is not one.
    const QString current = wb->LocationURL();
    const QString address = platform::IsWebAddress(current) ? current : m_Address;
    switch (m_Recovery.OnCrash(QDateTime::currentMSecsSinceEpoch())) {
    case CrashRecovery::Action::Reload:
        wb->ShowNotice(noticePage(QString::fromUtf8("页面意外停止，正在重新加载…")));
        QTimer::singleShot(ReloadDelayMs, this, [this, address] { wb->Navigate(address); });
        break;
    case CrashRecovery::Action::Notice:
        wb->ShowNotice(noticePage(QString::fromUtf8("页面再次意外停止。"), address));
        break;
    }
}

void WebUrl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Picture1->setGeometry(0, 0, width(), height());
}

// Keys the page left to the client come back here through the browser.
void WebUrl::keyPressEvent(QKeyEvent *event)
{
    switch (PageKeys::CommandOf(event->key(), event->modifiers())) {
    case PageKeys::Command::Reload:
        RefreshPage();
        break;
    case PageKeys::Command::ZoomIn:
        wb->ZoomIn();
        break;
    case PageKeys::Command::ZoomOut:
        wb->ZoomOut();
        break;
    case PageKeys::Command::ZoomReset:
        wb->ResetZoom();
        break;
    case PageKeys::Command::FullScreen:
        if (!event->isAutoRepeat()) {
            emit FullScreenKey(this);
        }
        break;
    case PageKeys::Command::None:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool WebUrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1 && event->type() == QEvent::Resize) {
        Picture1_Resize();
    }
    return QWidget::eventFilter(watched, event);
}

// The browser's 2-pixel border lies outside the visible panel.
void WebUrl::Picture1_Resize()
{
    wb->setGeometry(-2, -2, Picture1->width() + 4, Picture1->height() + 4);
}
