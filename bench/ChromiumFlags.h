#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

#include <unistd.h>

// Chromium as every benchmark runs it beside the client: nothing of its own on the network, no
// first-run pages, no sync; without the sandbox as root, as the client's engine runs there. Each
// run adds a fresh profile of its own (--user-data-dir).
inline QStringList quietChromiumFlags()
{
    QStringList flags{"--disable-background-networking", "--disable-component-update",
                      "--no-first-run", "--disable-sync"};
    if (::geteuid() == 0) {
        flags << "--no-sandbox";
    }
    return flags;
}

// The benchmarks' command line, in any order: a count (rounds, seconds) and --chromium PROGRAM,
// the Chromium to measure beside the client (none when not given).
struct BenchArguments {
    int count;
    QString chromium;
};

inline BenchArguments benchArguments(int argc, char *argv[], int defaultCount)
{
    BenchArguments arguments{defaultCount, {}};
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--chromium" && i + 1 < argc) {
            arguments.chromium = QString::fromLocal8Bit(argv[++i]);
        } else {
            arguments.count = std::max(1, std::atoi(argv[i]));
        }
    }
    return arguments;
}
