#pragma once

// What a process tree costs while it should be doing nothing: processor time (user + system)
// and wake-ups, counted as context switches of every thread (each wake-up ends in one).

#include "ProcessMemory.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QString>

#include <unistd.h>

struct TreeTime {
    double cpuSeconds = 0;
    QHash<QString, long long> switchesByThread; // "pid/tid" → context switches so far
};

inline double cpuSecondsOf(const QString &pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray text = stat.readAll();
    // utime and stime are the 14th and 15th fields; the 3rd is the first after the name.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) {
        return 0;
    }
    return (fields[11].toLongLong() + fields[12].toLongLong()) / double(::sysconf(_SC_CLK_TCK));
}

inline long long switchesOf(const QString &pid, const QString &tid)
{
    QFile status(QString("/proc/%1/task/%2/status").arg(pid, tid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    long long switches = 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("voluntary_ctxt_switches:") ||
            line.startsWith("nonvoluntary_ctxt_switches:")) {
            switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    return switches;
}

inline TreeTime treeTime(qint64 root)
{
    TreeTime time;
    for (const QString &pid : processTree(root)) {
        time.cpuSeconds += cpuSecondsOf(pid);
        const QDir tasks(QString("/proc/%1/task").arg(pid));
        for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            time.switchesByThread.insert(pid + '/' + tid, switchesOf(pid, tid));
        }
    }
    return time;
}

// Wake-ups between two readings: threads that came meanwhile count from zero. Processes that
// ended meanwhile take their time with them.
inline long long wakeUpsBetween(const TreeTime &before, const TreeTime &after)
{
    long long wakeUps = 0;
    for (auto thread = after.switchesByThread.cbegin(); thread != after.switchesByThread.cend();
         ++thread) {
        wakeUps += thread.value() - before.switchesByThread.value(thread.key(), 0);
    }
    return wakeUps;
}
