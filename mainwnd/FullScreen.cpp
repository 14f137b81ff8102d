#include "FullScreen.h"

#include "WebUrl.h"
#include "platform/web/WebBrowser.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

FullScreen::FullScreen(QWidget &window, QWidget &content)
    : QObject(&window), m_window(window), m_content(content)
{
}

bool FullScreen::Enter(WebUrl *page)
{
    if (!page || !m_window.isVisible()) {
        return false;
    }
    if (m_on) {
        return page == m_page;
    }
    m_on = true;
    m_page = page;
    m_normal = m_window.geometry();
    m_states = m_window.windowState();
    for (QWidget *child : m_window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child != &m_content && !child->isWindow() && child->isVisible()) {
            m_hidden.append(child);
            child->hide();
        }
    }
    connect(page, &QObject::destroyed, this, &FullScreen::Leave);
    connect(page->wb, &platform::WebBrowser::RendererGone, this, &FullScreen::Leave);
    m_window.setWindowState((m_states & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
    Fit();
    m_window.activateWindow();
    qApp->installEventFilter(this);
    return true;
}

void FullScreen::Toggle(WebUrl *page)
{
    if (m_on) {
        Leave();
    } else {
        Enter(page);
    }
}

void FullScreen::Leave()
{
    if (!m_on) {
        return;
    }
    m_on = false;
    qApp->removeEventFilter(this);
    if (m_page) {
        disconnect(m_page, nullptr, this, nullptr);
        disconnect(m_page->wb, nullptr, this, nullptr);
        // The page hears that it left, as after its own exitFullscreen().
        m_page->wb->ExitFullScreen();
    }
    m_page = nullptr;
    m_window.setWindowState(m_states & ~Qt::WindowFullScreen);
    // A window the compositor maximised gets its rectangle from the compositor again.
    if (!(m_states & Qt::WindowMaximized)) {
        m_window.setGeometry(m_normal);
    }
    for (const QPointer<QWidget> &child : std::exchange(m_hidden, {})) {
        if (child) {
            child->show();
        }
    }
    emit Left();
}

void FullScreen::Fit()
{
    if (m_on) {
        m_window.clearMask();
        m_content.setGeometry(m_window.rect());
    }
}

// Keys for the window's own widgets, before the page sees them; a page dialog's Esc is its own.
// The page leaving the screen (another tab, the window hidden or minimised) ends it as well.
bool FullScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && event->type() == QEvent::Hide) {
        Leave();
        return false;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (!widget || widget->window() != &m_window || key->modifiers() != Qt::NoModifier) {
        return false;
    }
    if (key->key() == Qt::Key_F11) {
        if (!key->isAutoRepeat()) {
            Leave();
        }
        return true;
    }
    // Esc goes on to the page as well: the engine lets go of a locked pointer with it.
    if (key->key() == Qt::Key_Escape && m_page && m_page->wb->IsFullScreen()) {
        Leave();
    }
    return false;
}
