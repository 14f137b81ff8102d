#pragma once

#include "WindowMessages.h"

class QEvent;
class QWidget;

namespace platform {

// Translation of a Qt event of the widget into the message a window procedure sees, with the
// Win32 number and parameter packing. False for events that have no message.
bool MessageFromEvent(QWidget *widget, const QEvent *event, Message &message);

} // namespace platform
