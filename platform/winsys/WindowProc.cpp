#include "WindowProc.h"

#include "DefaultWindowProc.h"
#include "EventMessages.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace platform {
namespace {

class FunctionProcedure : public WindowProcedure {
public:
    explicit FunctionProcedure(WindowProcFunction function) : m_function(std::move(function)) {}
    LRESULT Call(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        return m_function(hWnd, uMsg, wParam, lParam);
    }

private:
    WindowProcFunction m_function;
};

// A Qt event on its way through a window's chain; the original procedure hands it to the
// widget when the message reaches the bottom unchanged.
struct PendingEvent {
    QEvent *event;
    Message message;
    bool delivered = false;
};

struct Chain {
    QPointer<QWidget> widget;
    WNDPROC original;
    WNDPROC top;
    bool trackLeave = false;
    bool filtering = false;
    QList<PendingEvent *> pending;
};

class ChainRegistry : public QObject {
public:
    Chain *find(HWND hWnd)
    {
        auto it = m_chains.find(hWnd);
        return it == m_chains.end() ? nullptr : &it.value();
    }
    Chain *findOrCreate(HWND hWnd);
    void updateFilter(HWND hWnd);
    void windowDestroyed(HWND hWnd);
    QList<HWND> handles() const { return m_chains.keys(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchWorkArea();

    QHash<HWND, Chain> m_chains;
    QHash<const QObject *, HWND> m_byWidget;
    bool m_watchingWorkArea = false;
};

ChainRegistry &registry()
{
    static ChainRegistry *instance = new ChainRegistry; // lives as long as the process
    return *instance;
}

bool sameMessage(const Message &a, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return a.uMsg == uMsg && a.wParam == wParam && a.lParam == lParam;
}

class OriginalProcedure : public WindowProcedure {
public:
    LRESULT Call(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        Chain *chain = registry().find(hWnd);
        if (!chain || !chain->widget) {
            return 0;
        }
        QWidget *widget = chain->widget;
        if (!chain->pending.isEmpty()) {
            PendingEvent *pending = chain->pending.last();
            if (!pending->delivered && sameMessage(pending->message, uMsg, wParam, lParam)) {
                pending->delivered = true;
                // Filters run inside the event's delivery, so handing it on is the widget's
                // own handling of it, mouse propagation to parents included.
                static_cast<QObject *>(widget)->event(pending->event);
                return 0;
            }
        }
        return DefaultWindowAction(widget, uMsg, wParam);
    }
};

Chain *ChainRegistry::findOrCreate(HWND hWnd)
{
    if (Chain *chain = find(hWnd)) {
        return chain;
    }
    QWidget *widget = WidgetOf(hWnd);
    if (!widget) {
        return nullptr;
    }
    Chain chain;
    chain.widget = widget;
    chain.original = std::make_shared<OriginalProcedure>();
    chain.top = chain.original;
    m_byWidget.insert(widget, hWnd);
    connect(widget, &QObject::destroyed, this, [this, hWnd] { windowDestroyed(hWnd); });
    watchWorkArea();
    return &m_chains.insert(hWnd, chain).value();
}

void ChainRegistry::updateFilter(HWND hWnd)
{
    Chain *chain = find(hWnd);
    if (!chain || !chain->widget) {
        return;
    }
    // Windows that kept their own procedure pay nothing for the machinery.
    const bool wanted = chain->top != chain->original || chain->trackLeave;
    if (wanted != chain->filtering) {
        chain->filtering = wanted;
        if (wanted) {
            chain->widget->installEventFilter(this);
        } else {
            chain->widget->removeEventFilter(this);
        }
    }
}

void ChainRegistry::windowDestroyed(HWND hWnd)
{
    Chain *chain = find(hWnd);
    if (!chain) {
        return;
    }
    if (chain->top != chain->original) {
        WNDPROC top = chain->top;
        CallWindowProc(top, hWnd, wm::NcDestroy, 0, 0);
    }
    for (auto it = m_byWidget.begin(); it != m_byWidget.end();) {
        it = it.value() == hWnd ? m_byWidget.erase(it) : std::next(it);
    }
    m_chains.remove(hWnd);
}

bool ChainRegistry::eventFilter(QObject *watched, QEvent *event)
{
    const HWND hWnd = m_byWidget.value(watched, 0);
    Chain *chain = hWnd ? find(hWnd) : nullptr;
    if (!chain || !chain->widget) {
        return false;
    }
    Message message;
    if (event->type() == QEvent::Leave) {
        if (!chain->trackLeave) {
            return false;
        }
        chain->trackLeave = false;
        message.uMsg = wm::MouseLeave;
    } else if (!MessageFromEvent(chain->widget, event, message)) {
        return false;
    }
    if (event->type() == QEvent::Paint) {
        WNDPROC top = chain->top;
        CallWindowProc(top, hWnd, wm::EraseBkgnd, 0, 0);
        chain = find(hWnd);
        if (!chain) {
            return true;
        }
    }
    PendingEvent pending{event, message};
    chain->pending.append(&pending);
    WNDPROC top = chain->top; // a procedure may replace itself while it runs
    CallWindowProc(top, hWnd, message.uMsg, message.wParam, message.lParam);
    if (Chain *after = find(hWnd)) {
        after->pending.removeOne(&pending);
        updateFilter(hWnd);
    }
    return true;
}

void ChainRegistry::watchWorkArea()
{
    if (m_watchingWorkArea || !qGuiApp) {
        return;
    }
    m_watchingWorkArea = true;
    const auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &BroadcastWorkAreaChange);
    };
    for (QScreen *screen : QGuiApplication::screens()) {
        watch(screen);
    }
    connect(qGuiApp, &QGuiApplication::screenAdded, this, watch);
}

} // namespace

WNDPROC MakeWindowProc(WindowProcFunction function)
{
    return std::make_shared<FunctionProcedure>(std::move(function));
}

WNDPROC SetWindowProc(HWND hWnd, WNDPROC procedure)
{
    Chain *chain = registry().findOrCreate(hWnd);
    if (!chain || !procedure) {
        return nullptr;
    }
    WNDPROC previous = std::exchange(chain->top, std::move(procedure));
    registry().updateFilter(hWnd);
    return previous;
}

WNDPROC GetWindowProc(HWND hWnd)
{
    Chain *chain = registry().findOrCreate(hWnd);
    return chain ? chain->top : nullptr;
}

bool HasOriginalWindowProc(HWND hWnd)
{
    Chain *chain = registry().find(hWnd);
    return chain ? chain->top == chain->original : IsWindow(hWnd);
}

LRESULT CallWindowProc(const WNDPROC &procedure, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return procedure ? procedure->Call(hWnd, uMsg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC top = GetWindowProc(hWnd);
    return CallWindowProc(top, hWnd, uMsg, wParam, lParam);
}

bool PostMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(hWnd)) {
        return false;
    }
    QTimer::singleShot(0, &registry(), [=] {
        if (IsWindow(hWnd)) {
            SendMessage(hWnd, uMsg, wParam, lParam);
        }
    });
    return true;
}

void TrackMouseLeave(HWND hWnd)
{
    Chain *chain = registry().findOrCreate(hWnd);
    if (!chain) {
        return;
    }
    if (!chain->widget->underMouse()) {
        // Already outside: the notification comes at once, as the system would post it.
        PostMessage(hWnd, wm::MouseLeave, 0, 0);
        return;
    }
    chain->trackLeave = true;
    registry().updateFilter(hWnd);
}

void BroadcastWorkAreaChange()
{
    for (HWND hWnd : registry().handles()) {
        Chain *chain = registry().find(hWnd);
        if (chain && chain->widget && chain->widget->isWindow() && chain->top != chain->original) {
            SendMessage(hWnd, wm::SettingChange, SPI_SETWORKAREA, 0);
        }
    }
}

} // namespace platform
