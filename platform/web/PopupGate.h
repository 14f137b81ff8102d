#pragma once

#include <QList>
#include <QtGlobal>

namespace platform {

// How many new windows a page may open, as a browser's popup blocker lets them through: each one
// the player asks for with a click, but never more than a few a second, however fast the page
// makes the clicks count.
class PopupGate {
public:
    static constexpr int PerSecond = 2;

    // Whether a window asked for at nowMs (a steady clock's milliseconds) may open; one that may
    // counts against the next second.
    bool Allow(qint64 nowMs);

private:
    QList<qint64> m_opened; // when the windows of the last second opened
};

} // namespace platform
