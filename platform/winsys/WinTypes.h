#pragma once

#include <QtGlobal>

namespace platform {

// The scalar types of window-system calls, 32-bit as on the system the client was written for;
// nothing depends on pointer size.
using UINT = quint32;
using WPARAM = quint32;
using LPARAM = qint32;
using LRESULT = qint32;

} // namespace platform
