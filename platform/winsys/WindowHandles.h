#pragma once

#include <QtGlobal>

class QWidget;

namespace platform {

// A window handle is a small number issued once per widget and never reused, so a handle kept
// after its window died is recognised as stale instead of pointing at freed memory.
using HWND = quint32;

// Issues the widget's handle on first use; 0 for no widget.
HWND HandleOf(QWidget *widget);

// The live widget behind a handle, or nullptr when the handle is 0, unknown or its window is gone.
QWidget *WidgetOf(HWND hWnd);

bool IsWindow(HWND hWnd);

} // namespace platform
