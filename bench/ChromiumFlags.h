#pragma once

#include <QStringList>

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
