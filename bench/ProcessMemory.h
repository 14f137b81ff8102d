#pragma once

// Proportional set size (PSS) of a process and of the processes it started, as the kernel
// reports it. PSS divides shared pages among the processes that map them, so it only means
// something on a quiet machine: another web-engine program running meanwhile lowers it.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// PSS of one process in KiB; 0 when it cannot be read.
inline long pssKiB(const QString &pid)
{
    QFile rollup(QString("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:")) {
            return line.mid(4).trimmed().split(' ').first().toLong();
        }
    }
    return 0;
}

inline QString parentOf(const QString &pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray text = stat.readAll();
    // The command name may hold spaces; the fields after its closing parenthesis do not.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? QString::fromLatin1(fields.at(1)) : QString();
}

// The process and all its descendants.
inline QStringList processTree(qint64 root)
{
    QStringList tree{QString::number(root)};
    const QStringList all = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (bool grew = true; grew;) {
        grew = false;
        for (const QString &pid : all) {
            if (!tree.contains(pid) && tree.contains(parentOf(pid))) {
                tree << pid;
                grew = true;
            }
        }
    }
    return tree;
}
