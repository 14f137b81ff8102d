#include "WinApi.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace WinApi {
namespace {

const char StyleProperty[] = "vantor_window_style";

bool isFrameless(const QWidget *widget)
{
    return widget->windowFlags().testFlag(Qt::FramelessWindowHint);
}

// What a window was created with, for a widget whose style nobody set yet.
quint32 initialStyle(const QWidget *widget)
{
    if (!widget->isWindow()) {
        return 0;
    }
    return isFrameless(widget) ? WS_POPUP : WS_OVERLAPPEDWINDOW;
}

quint32 storedStyle(const QWidget *widget)
{
    const QVariant stored = widget->property(StyleProperty);
    return stored.isValid() ? stored.toUInt() : initialStyle(widget);
}

// Changing window flags re-creates the window and hides it; a shown window stays shown.
void setFrameless(QWidget *widget, bool frameless)
{
    if (isFrameless(widget) == frameless) {
        return;
    }
    const bool shown = !widget->isHidden();
    widget->setWindowFlag(Qt::FramelessWindowHint, frameless);
    if (shown) {
        widget->show();
    }
}

void placeInZOrder(QWidget *widget, HWND hWndInsertAfter)
{
    if (hWndInsertAfter == HWND_TOP) {
        widget->raise();
    } else if (hWndInsertAfter == HWND_BOTTOM) {
        widget->lower();
    } else if (QWidget *above = platform::WidgetOf(hWndInsertAfter)) {
        widget->stackUnder(above);
    }
}

void showWindow(QWidget *widget, bool activate)
{
    if (widget->isWindow() && !activate) {
        const bool was = widget->testAttribute(Qt::WA_ShowWithoutActivating);
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        widget->show();
        widget->setAttribute(Qt::WA_ShowWithoutActivating, was);
        return;
    }
    widget->show();
    if (widget->isWindow()) {
        widget->activateWindow();
    }
}

} // namespace

quint32 GetWindowLong(HWND hWnd, int nIndex)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    if (!widget || nIndex != GWL_STYLE) {
        return 0;
    }
    quint32 style = storedStyle(widget) & ~(WS_CHILD | WS_VISIBLE);
    style |= widget->isWindow() ? 0 : WS_CHILD;
    style |= widget->isHidden() ? 0 : WS_VISIBLE;
    return style;
}

quint32 SetWindowLong(HWND hWnd, int nIndex, quint32 dwNewLong)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    if (!widget || nIndex != GWL_STYLE) {
        return 0;
    }
    const quint32 previous = GetWindowLong(hWnd, nIndex);
    widget->setProperty(StyleProperty, dwNewLong);
    setFrameless(widget, !(dwNewLong & WS_CAPTION));
    return previous;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    QWidget *child = platform::WidgetOf(hWndChild);
    if (!child) {
        return 0;
    }
    QWidget *parent = platform::WidgetOf(hWndNewParent);
    const HWND previous = platform::HandleOf(child->parentWidget());
    if (parent == child->parentWidget() && !(parent && child->isWindow())) {
        return previous;
    }
    // The style a window was made with is read from what it is; keep it before that changes.
    child->setProperty(StyleProperty, storedStyle(child));
    const bool shown = !child->isHidden();
    Qt::WindowFlags flags = child->windowFlags() & ~Qt::WindowType_Mask;
    if (!parent) {
        flags |= Qt::Window;
    }
    child->setParent(parent, flags);
    if (shown) {
        child->show();
    }
    return previous;
}

bool SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    if (!widget) {
        return false;
    }
    if (!(uFlags & SWP_NOMOVE)) {
        widget->move(x, y);
    }
    if (!(uFlags & SWP_NOSIZE)) {
        widget->resize(qMax(cx, 0), qMax(cy, 0));
    }
    if (!(uFlags & SWP_NOZORDER)) {
        placeInZOrder(widget, hWndInsertAfter);
    }
    if (uFlags & SWP_HIDEWINDOW) {
        widget->hide();
    } else if (uFlags & SWP_SHOWWINDOW) {
        showWindow(widget, !(uFlags & SWP_NOACTIVATE));
    }
    return true;
}

QRect GetClientRect(HWND hWnd)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    return widget ? QRect(QPoint(0, 0), widget->size()) : QRect();
}

QRect GetWindowRect(HWND hWnd)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    if (!widget) {
        return QRect();
    }
    if (widget->isWindow()) {
        return widget->frameGeometry();
    }
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

int GetSystemMetrics(int nIndex)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return 0;
    }
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen->geometry().width();
    case SM_CYSCREEN:
        return screen->geometry().height();
    default:
        return 0;
    }
}

bool ShowWindow(HWND hWnd, int nCmdShow)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    if (!widget) {
        return false;
    }
    const bool wasVisible = widget->isVisible();
    switch (nCmdShow) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_SHOWMINIMIZED:
        widget->showMinimized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        // Only the minimised state is left: a window's own maximise is its geometry, not a state.
        widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
        showWindow(widget, true);
        break;
    default:
        showWindow(widget, true);
        break;
    }
    return wasVisible;
}

bool IsWindowVisible(HWND hWnd)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    return widget && widget->isVisible();
}

bool RedrawWindow(HWND hWnd, UINT flags)
{
    QWidget *widget = platform::WidgetOf(hWnd);
    if (!widget) {
        return false;
    }
    if (flags & (RDW_INVALIDATE | RDW_INTERNALPAINT)) {
        widget->update();
    }
    return true;
}

HWND SetActiveWindow(HWND hWnd)
{
    const HWND previous = platform::HandleOf(QApplication::activeWindow());
    QWidget *widget = platform::WidgetOf(hWnd);
    if (widget && widget->window()->isVisible()) {
        widget->window()->activateWindow();
    }
    return previous;
}

} // namespace WinApi
