#include "DefaultWindowProc.h"

#include "WindowMove.h"

#include <QWidget>

namespace platform {
namespace {

LRESULT systemCommand(QWidget *window, WPARAM command)
{
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        window->close();
        break;
    case SC_MINIMIZE:
        window->showMinimized();
        break;
    case SC_MAXIMIZE:
        window->showMaximized();
        break;
    case SC_RESTORE:
        window->showNormal();
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

LRESULT DefaultWindowAction(QWidget *widget, UINT uMsg, WPARAM wParam)
{
    switch (uMsg) {
    case wm::NcLButtonDown:
        if (wParam == HTCAPTION) {
            StartWindowMove(widget->window());
        }
        return 0;
    case wm::SysCommand:
        return systemCommand(widget->window(), wParam);
    case wm::Close:
        widget->close();
        return 0;
    default:
        return 0;
    }
}

} // namespace platform
