// Memory of the main window with 1, 2 and 5 game tabs of the demo game page: the proportional
// set size (PSS) summed over the client's process and every web-engine process it started; with
// --chromium, beside one Chromium window with the same pages in as many tabs.
//   bench_tabmemory [--chromium PROGRAM]    (run with a display; scripts/with-display.sh gives one)
// PSS divides shared pages among the processes that map them, so the figures only mean
// something on a quiet machine: another web-engine program running meanwhile lowers them.
#include "ChromiumFlags.h"
#include "DemoServer.h"
#include "ProcessMemory.h"
#include "app/Forms.h"
#include "mainwnd/GameTabs.h"
#include "mainwnd/WebMainFrm.h"
#include "mainwnd/WebUrl.h"
#include "platform/os/Program.h"
#include "platform/web/WebBrowser.h"
#include "tabstrip/uTab.h"
#include "tests/support/EngineHome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

const int SettleMs = 3000;
const int LoadTimeoutMs = 30000;

// The kind of engine process ("renderer", "zygote", …); "client" for this one.
QString kindOf(const QString &pid)
{
    QFile file(QString("/proc/%1/cmdline").arg(pid));
    if (pid.toLongLong() == ::getpid() || !file.open(QIODevice::ReadOnly)) {
        return "client";
    }
    for (const QByteArray &argument : file.readAll().split('\0')) {
        if (argument.startsWith("--type=")) {
            return QString::fromLatin1(argument.mid(7));
        }
    }
    return "other";
}

// This process and all its descendants; `kinds` gets the PSS of each kind of process.
long treePssKiB(QMap<QString, long> *kinds = nullptr)
{
    const QStringList tree = processTree(::getpid());
    long total = 0;
    for (const QString &pid : tree) {
        const long kib = pssKiB(pid);
        total += kib;
        if (kinds && kib) {
            (*kinds)[kindOf(pid) + "s"] += kib;
        }
    }
    return total;
}

QString gamePage(const DemoServer &server, int tab)
{
    return server.baseUrl() + QString("/game/?seed=%1").arg(tab + 1);
}

// One Chromium window as big as the client's, fresh profile, the first `tabs` game pages in its
// tabs, once every page has been asked for and the window has settled; 0 when the pages never
// came. (The pages' pictures grow with the window: Chromium's own first window is smaller.)
long chromiumPssKiB(const QString &chromium, DemoServer &server, int tabs, const QRect &window)
{
    QTemporaryDir profile;
    QStringList arguments =
        QStringList{"--user-data-dir=" + profile.path(), "--new-window",
                    QString("--window-position=%1,%2").arg(window.x()).arg(window.y()),
                    QString("--window-size=%1,%2").arg(window.width()).arg(window.height())} +
        quietChromiumFlags();
    for (int tab = 0; tab < tabs; ++tab) {
        arguments << gamePage(server, tab);
    }
    const int before = server.requestCount("/game/");
    QProcess browser;
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.setStandardErrorFile(QProcess::nullDevice());
    browser.start(chromium, arguments);
    const bool loaded =
        browser.waitForStarted() &&
        QTest::qWaitFor([&] { return server.requestCount("/game/") >= before + tabs; },
                        LoadTimeoutMs);
    QTest::qWait(SettleMs);
    long kib = 0;
    const QStringList tree = processTree(browser.processId());
    for (const QString &pid : tree) {
        kib += pssKiB(pid);
    }
    for (const QString &pid : tree) {
        ::kill(pid.toInt(), SIGKILL);
    }
    browser.waitForFinished(5000);
    return loaded ? kib : 0;
}

bool openTab(WebMainFrm &main, const QString &address)
{
    main.SetURL(address);
    WebUrl *page = main.Tabs().SelectedPage();
    if (!page) {
        return false;
    }
    QSignalSpy complete(page, &WebUrl::PageComplete);
    return complete.wait(LoadTimeoutMs);
}

} // namespace

int main(int argc, char *argv[])
{
    const EngineHome home;
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    platform::EndProgramProvider().Replace([](int) {});

    const QString chromium = benchArguments(argc, argv, 0).chromium;
    DemoServer server;
    if (!server.start()) {
        std::fprintf(stderr, "bench_tabmemory: the demo server did not start\n");
        return 1;
    }
    std::printf("%-24s %10s\n", "main window", "PSS MiB");
    WebMainFrm &main = Forms<WebMainFrm>::Get();
    main.show();
    int tabs = 0;
    long previous = 0;
    QMap<int, long> client; // tabs → PSS KiB
    for (int wanted : {1, 2, 5}) {
        const int before = tabs;
        for (; tabs < wanted; ++tabs) {
            const QString address = gamePage(server, tabs);
            if (!openTab(main, address)) {
                std::fprintf(stderr, "bench_tabmemory: %s did not load\n", qPrintable(address));
                return 1;
            }
        }
        QTest::qWait(SettleMs);
        QMap<QString, long> kinds;
        const long kib = treePssKiB(&kinds);
        std::printf("%-24s %10.1f", qPrintable(QString("%1 game tab(s)").arg(tabs)), kib / 1024.0);
        if (previous) {
            std::printf("   +%.1f MiB per added tab", (kib - previous) / 1024.0 / (tabs - before));
        }
        std::printf("\n   ");
        for (auto kind = kinds.cbegin(); kind != kinds.cend(); ++kind) {
            std::printf(" %s %.1f", qPrintable(kind.key()), kind.value() / 1024.0);
        }
        std::printf("\n");
        std::fflush(stdout);
        previous = kib;
        client[tabs] = kib;
    }
    const QRect window = main.geometry();
    main.m_bExit = true;
    main.close();
    QTest::qWait(200);
    if (chromium.isEmpty()) {
        return 0;
    }
    std::printf("%-24s %10s %12s\n",
                qPrintable(QString("chromium, %1x%2").arg(window.width()).arg(window.height())),
                "PSS MiB", "client/it");
    for (auto count = client.cbegin(); count != client.cend(); ++count) {
        const long kib = chromiumPssKiB(chromium, server, count.key(), window);
        if (!kib) {
            std::fprintf(stderr, "bench_tabmemory: chromium never asked for its pages\n");
            return 1;
        }
        std::printf("%-24s %10.1f %12.2f\n", qPrintable(QString("%1 tab(s)").arg(count.key())),
                    kib / 1024.0, double(count.value()) / kib);
        std::fflush(stdout);
    }
    return 0;
}
