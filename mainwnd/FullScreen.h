#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;
class WebUrl;

// A game page alone over the whole screen: the window goes fullscreen and its content (the tab
// container) covers it, caption bar, strip and buttons hidden; leaving puts the window back
// exactly as it was, maximised or not, on the same rectangle. While it lasts, Esc (when the page
// itself asked) and F11 always leave it: no page can keep the player there. Whatever takes the
// page off the screen (another tab, F10, the tray, a minimise) leaves it first.
class FullScreen : public QObject {
    Q_OBJECT

public:
    FullScreen(QWidget &window, QWidget &content);

    bool IsOn() const { return m_on; }
    WebUrl *Page() const { return m_page; }

    // The page shows alone over the screen; false when it cannot (nothing changes then).
    bool Enter(WebUrl *page);
    void Toggle(WebUrl *page);
    void Leave();
    // While on: the content covers the whole window.
    void Fit();

signals:
    // The window is back as it was and lays itself out again.
    void Left();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    QWidget &m_content;
    QPointer<WebUrl> m_page;
    bool m_on = false;
    QRect m_normal;
    Qt::WindowStates m_states;
    QList<QPointer<QWidget>> m_hidden;
};
