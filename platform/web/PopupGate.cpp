#include "PopupGate.h"

namespace platform {

bool PopupGate::Allow(qint64 nowMs)
{
    m_opened.removeIf([nowMs](qint64 opened) { return nowMs - opened >= 1000; });
    if (m_opened.size() >= PerSecond) {
        return false;
    }
    m_opened << nowMs;
    return true;
}

} // namespace platform
