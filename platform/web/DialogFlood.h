#pragma once

#include <QtGlobal>

#include <optional>

// A page that opens its dialogs one after another, each within a few seconds of the last one's
// answer, would hold the player in them for ever: from the third of such a run the player is
// offered to stop them. The time a dialog stays open does not count, so a slow player is
// protected as well as a quick one.
class DialogFlood {
public:
    static constexpr int OfferFrom = 3;
    static constexpr qint64 GapMs = 3000;

    // A dialog opens now; true when the player is to be offered to stop them.
    bool Opening(qint64 nowMs)
    {
        const bool inRun = m_lastClosedMs && nowMs - *m_lastClosedMs <= GapMs;
        m_run = inRun ? m_run + 1 : 1;
        return m_run >= OfferFrom;
    }

    void Closed(qint64 nowMs) { m_lastClosedMs = nowMs; }

private:
    int m_run = 0;
    std::optional<qint64> m_lastClosedMs;
};
