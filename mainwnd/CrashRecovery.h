#pragma once

#include <QtGlobal>

#include <optional>

// What a game page does when its renderer dies: the first time it reloads by itself; a second
// death within a minute of the last one leaves a notice with a reload link, so a page that kills
// its renderer every time cannot keep the client reloading it forever.
class CrashRecovery {
public:
    enum class Action { Reload, Notice };
    static constexpr qint64 WindowMs = 60 * 1000;

    Action OnCrash(qint64 nowMs)
    {
        const bool again = m_lastCrashMs && nowMs - *m_lastCrashMs < WindowMs;
        m_lastCrashMs = nowMs;
        return again ? Action::Notice : Action::Reload;
    }

private:
    std::optional<qint64> m_lastCrashMs;
};
