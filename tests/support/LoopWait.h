#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// Waits for a condition inside a running event loop, looking every few milliseconds. The web
// engine's work hops between its own threads and the main thread many times per page; under
// QTest::qWaitFor, which sleeps 10 ms between turns of the loop, each hop waits out a sleep and
// a local page takes seconds to load instead of tens of milliseconds.
inline bool waitInLoop(const std::function<bool()> &condition, int timeoutMs)
{
    if (condition()) {
        return true;
    }
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        // As qWaitFor does: what was let go meanwhile is gone before the condition is asked.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (condition() || deadline.hasExpired()) {
            loop.quit();
        }
    });
    poll.start(5);
    loop.exec();
    return condition();
}
