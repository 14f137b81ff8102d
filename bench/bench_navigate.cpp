// Time of one navigation to a local page: a bare QWebEngineView with the default profile beside
// the client's WebBrowser (shared named profile, observer script, web channel).
//   bench_navigate [navigations]     (default 5; run with a display)
#include "DemoServer.h"
#include "Percentile.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const int LoadTimeoutMs = 30000;

// Milliseconds from load() to loadFinished, per navigation.
std::vector<double> navigate(QWebEnginePage *page, const QString &base, int count)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QSignalSpy finished(page, &QWebEnginePage::loadFinished);
        QElapsedTimer timer;
        timer.start();
        page->load(QUrl(base + QString("/game/?seed=%1").arg(i + 1)));
        if (!finished.wait(LoadTimeoutMs)) {
            std::fprintf(stderr, "bench_navigate: a load never finished\n");
            return {};
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return times;
}

void report(const char *name, const std::vector<double> &times)
{
    std::printf("  %-28s first %6.0f ms   median %6.0f ms\n", name, times.empty() ? 0 : times[0],
                median(times));
}

} // namespace

int main(int argc, char *argv[])
{
    const EngineHome home;
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    DemoServer server;
    if (!server.start()) {
        std::fprintf(stderr, "bench_navigate: the demo server did not start\n");
        return 1;
    }
    std::printf("navigation to a local game page, %d each\n", count);
    {
        QWebEngineView bare;
        bare.resize(800, 600);
        bare.show();
        report("bare QWebEngineView", navigate(bare.page(), server.baseUrl(), count));
    }
    {
        QWebEngineProfile profile("bench-named");
        QWebEngineView named;
        auto *page = new QWebEnginePage(&profile, &named);
        named.setPage(page);
        named.resize(800, 600);
        named.show();
        report("QWebEngineView, named profile", navigate(page, server.baseUrl(), count));
        named.setPage(nullptr);
        delete page;
    }
    {
        platform::WebBrowser browser;
        browser.resize(800, 600);
        browser.show();
        report("WebBrowser", navigate(browser.View()->page(), server.baseUrl(), count));
    }
    return 0;
}
