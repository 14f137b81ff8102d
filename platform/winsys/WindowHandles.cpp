#include "WindowHandles.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace platform {
namespace {

struct HandleRegistry {
    QHash<HWND, QPointer<QWidget>> widgets;
    QHash<const QWidget *, HWND> handles;
    // Windows-like values: never 0, never a small number that looks like a flag or an index.
    HWND next = 0x10000;
};

HandleRegistry &registry()
{
    static HandleRegistry instance;
    return instance;
}

HWND issueHandle(QWidget *widget)
{
    HandleRegistry &reg = registry();
    const HWND handle = reg.next++;
    reg.widgets.insert(handle, widget);
    reg.handles.insert(widget, handle);
    // destroyed() runs inside ~QObject, before the address can be handed to a new widget.
    QObject::connect(widget, &QObject::destroyed, [handle](QObject *object) {
        HandleRegistry &r = registry();
        r.widgets.remove(handle);
        r.handles.remove(static_cast<QWidget *>(object));
    });
    return handle;
}

} // namespace

HWND HandleOf(QWidget *widget)
{
    if (!widget) {
        return 0;
    }
    const HWND known = registry().handles.value(widget, 0);
    return known ? known : issueHandle(widget);
}

QWidget *WidgetOf(HWND hWnd)
{
    return registry().widgets.value(hWnd).data();
}

bool IsWindow(HWND hWnd)
{
    return WidgetOf(hWnd) != nullptr;
}

} // namespace platform
