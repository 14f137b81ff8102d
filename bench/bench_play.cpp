// A game page as a player meets it, in the client's main window beside Chromium's app mode on the
// same page: the time from a key's X event to the page's keydown handler, and what the page costs
// while nobody plays (processor time, user + system, of the whole process tree, and wake-ups a
// second), shown and then, for the client, hidden by F10.
//   bench_play [seconds] [--chromium PROGRAM]    (run with a display; 60 s idle by default)
// The same program is the contender: `--client URL` opens the main window with one game tab.
#include "ChromiumFlags.h"
#include "DemoServer.h"
#include "Percentile.h"
#include "ProcessTime.h"
#include "RealKeys.h"
#include "app/Forms.h"
#include "mainwnd/WebMainFrm.h"
#include "platform/os/Program.h"
#include "platform/web/WebBrowser.h"
#include "tests/support/EngineHome.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

const int SettleMs = 5000;
const int KeyPresses = 40;
const int KeyGapMs = 150;
const int KeyTimeoutMs = 3000;
const int FramesTimeoutMs = 30000;
const int LoadTimeoutMs = 60000;

// A game page between two moves: laid out, drawn once, nothing running.
const char StaticGamePage[] = R"(<!doctype html>
<html><head><meta charset="utf-8"><title>Vantor</title>
<style>body{margin:0;background:#0b1a2e;color:#dbe7f5;font:14px sans-serif}
header{padding:12px 24px;border-bottom:1px solid #c9a44c}main{display:flex;gap:16px;padding:16px}
canvas{border:1px solid #c9a44c}aside{width:240px}li{margin:6px 0}</style></head>
<body><header>VANTOR · 金穹</header><main><canvas id="board" width="800" height="500"></canvas>
<aside><h3>战况播报</h3><ul><li>游侠・白羽 完成了每日试炼</li><li>星卫・赤焰 加入了公会</li>
<li>秘术师・夜岚 击败了深渊守卫</li></ul></aside></main>
<script>
  var c = document.getElementById('board').getContext('2d');
  for (var i = 0; i < 60; ++i) {
    c.fillStyle = 'hsl(' + (i * 37 % 360) + ',60%,60%)';
    c.beginPath(); c.arc(20 + i * 13 % 760, 20 + i * 29 % 460, 6 + i % 9, 0, 7); c.fill();
  }
  // When the handler ran, on the wall clock the driver reads too.
  document.addEventListener('keydown', function () {
    fetch('/bench/key?at=' + (performance.timeOrigin + performance.now()).toFixed(3));
  });
  addEventListener('load', function () { fetch('/bench/loaded?' + Date.now()); });
</script></body></html>)";

int runClient(int argc, char *argv[])
{
    const EngineHome home;
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --no-sandbox");
    }
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    platform::EndProgramProvider().Replace([](int) {});
    WebMainFrm &main = Forms<WebMainFrm>::Get();
    main.SetURL(QString::fromLocal8Bit(argv[2]));
    main.show();
    return app.exec();
}

struct Reading {
    double corePercent;
    double wakeUpsPerSecond;
};

Reading idleFor(qint64 root, int seconds)
{
    const TreeTime before = treeTime(root);
    QThread::sleep(seconds);
    const TreeTime after = treeTime(root);
    return {100.0 * (after.cpuSeconds - before.cpuSeconds) / seconds,
            double(wakeUpsBetween(before, after)) / seconds};
}

void print(const char *program, const char *state, Reading reading)
{
    std::printf("  %-16s %-8s %10.2f %12.1f\n", program, state, reading.corePercent,
                reading.wakeUpsPerSecond);
    std::fflush(stdout);
}

// Key presses, one at a time, each timed from just before its X event to the page's handler.
bool keyLatency(const char *program, DemoServer &server)
{
    RealKeys keys;
    std::vector<double> ms;
    for (int press = 0; press < KeyPresses && keys.ready(); ++press) {
        const int before = server.requestCount("/bench/key");
        const double sent = wallClockMs();
        keys.tap();
        QElapsedTimer timer;
        timer.start();
        while (server.requestCount("/bench/key") == before && timer.elapsed() < KeyTimeoutMs) {
            QThread::usleep(200);
        }
        if (server.requestCount("/bench/key") == before) {
            std::fprintf(stderr, "bench_play: %s never saw the key\n", program);
            return false;
        }
        ms.push_back(server.lastQuery("/bench/key").mid(3).toDouble() - sent);
        QThread::msleep(KeyGapMs);
    }
    std::printf("  %-16s key -> keydown  median %.2f ms, p95 %.2f ms, %zu presses\n", program,
                median(ms), percentile(ms, 95), ms.size());
    std::fflush(stdout);
    return true;
}

// The frame-rate pages and what they draw with, from the source tree; false when three.js has not
// been installed (npm ci --prefix bench/frames).
bool serveFramePages(DemoServer &server)
{
    const QDir frames(VANTOR_BENCH_FRAMES_DIR);
    const auto serve = [&](const QString &path, const QString &file, const QByteArray &type) {
        QFile source(frames.filePath(file));
        const bool read = source.open(QIODevice::ReadOnly);
        server.setFile(path, read ? source.readAll() : QByteArray(), type);
        return read;
    };
    serve("/bench/frames/measure.js", "measure.js", "text/javascript");
    serve("/bench/frames/sprites/", "sprites.html", "text/html; charset=utf-8");
    serve("/bench/frames/three/", "three.html", "text/html; charset=utf-8");
    server.setFile("/bench/frames", "", "text/plain");
    return serve("/bench/three/three.module.js", "node_modules/three/build/three.module.js",
                 "text/javascript") &&
           serve("/bench/three/three.core.js", "node_modules/three/build/three.core.js",
                 "text/javascript");
}

QString field(const QByteArray &query, const char *name)
{
    for (const QByteArray &pair : query.split('&')) {
        if (pair.startsWith(QByteArray(name) + '=')) {
            return QString::fromLatin1(pair.mid(int(qstrlen(name)) + 1));
        }
    }
    return {};
}

// The page measures itself once loaded and reports; false when it never does.
bool frameRate(const char *program, const char *page, DemoServer &server, int before)
{
    QElapsedTimer timer;
    timer.start();
    while (server.requestCount("/bench/frames") == before && timer.elapsed() < FramesTimeoutMs) {
        QThread::msleep(50);
    }
    if (server.requestCount("/bench/frames") == before) {
        std::fprintf(stderr, "bench_play: %s never finished the %s page\n", program, page);
        return false;
    }
    const QByteArray query = server.lastQuery("/bench/frames");
    const double median = field(query, "median").toDouble();
    std::printf("  %-16s %-8s %8.2f %8.2f %8s %8s %8.1f%s\n", program, page, median,
                field(query, "p95").toDouble(), qPrintable(field(query, "over20")),
                qPrintable(field(query, "frames")), median > 0 ? 1000 / median : 0.0,
                field(query, "webgl") == "0" && QByteArray(page) == "webgl" ? "  (no WebGL)" : "");
    std::fflush(stdout);
    return true;
}

// Starts the program on the page and waits until the page has loaded and settled.
bool launch(QProcess &process, const QString &program, const QStringList &arguments,
            DemoServer &server, QTemporaryDir &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const int before = server.requestCount("/bench/loaded");
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (server.requestCount("/bench/loaded") == before && timer.elapsed() < LoadTimeoutMs &&
           process.state() != QProcess::NotRunning) {
        QThread::msleep(20);
    }
    QThread::msleep(SettleMs);
    return server.requestCount("/bench/loaded") > before && process.state() == QProcess::Running;
}

bool showsAWindow(qint64 pid)
{
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished();
    return !search.readAllStandardOutput().trimmed().isEmpty();
}

void end(QProcess &process)
{
    for (const QString &pid : processTree(process.processId())) {
        ::kill(pid.toInt(), SIGKILL);
    }
    process.waitForFinished(5000);
}

int runDriver(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const auto [seconds, chromium] = benchArguments(argc, argv, 60);
    DemoServer server;
    if (!server.start()) {
        std::fprintf(stderr, "bench_play: the demo server did not start\n");
        return 1;
    }
    server.setFile("/bench/static/", StaticGamePage, "text/html; charset=utf-8");
    server.setFile("/bench/loaded", "", "text/plain");
    const QString page = server.baseUrl() + "/bench/static/";
    std::printf("a static game page, after %d ms to settle: %d key presses, then %d s idle\n",
                SettleMs, KeyPresses, seconds);
    std::printf("  %-16s %-8s %10s %12s\n", "program", "window", "% of core", "wake-ups/s");

    QTemporaryDir home;
    QTemporaryDir profiles;
    int runs = 0;
    // Each contender starts afresh on a page: the client with its main window, Chromium in app
    // mode with a profile of its own.
    std::vector<std::pair<const char *, std::function<bool(QProcess &, const QString &)>>>
        contenders{{"client", [&](QProcess &process, const QString &address) {
                        return launch(process, QCoreApplication::applicationFilePath(),
                                      {"--client", address}, server, home);
                    }}};
    if (!chromium.isEmpty()) {
        contenders.push_back({"chromium --app", [&](QProcess &process, const QString &address) {
                                  const QStringList flags =
                                      QStringList{"--app=" + address, "--window-size=1600,870",
                                                  "--user-data-dir=" +
                                                      profiles.filePath(QString::number(++runs))} +
                                      quietChromiumFlags();
                                  return launch(process, chromium, flags, server, home);
                              }});
    }
    for (const auto &[name, start] : contenders) {
        QProcess process;
        if (!start(process, page) || !keyLatency(name, server)) {
            std::fprintf(stderr, "bench_play: %s never loaded the page or saw its keys\n", name);
            end(process);
            return 1;
        }
        print(name, "shown", idleFor(process.processId(), seconds));
        if (QByteArray(name) == "client") {
            QProcess::execute("xdotool", {"key", "F10"});
            QThread::msleep(1000);
            if (showsAWindow(process.processId())) {
                std::fprintf(stderr, "bench_play: F10 did not hide the client\n");
                end(process);
                return 1;
            }
            print(name, "hidden", idleFor(process.processId(), seconds));
        }
        end(process);
    }

    const bool three = serveFramePages(server);
    std::printf("frame rate: requestAnimationFrame intervals over 10 s after 2 s of warm-up%s\n",
                three ? "" : " (three.js missing: npm ci --prefix bench/frames)");
    std::printf("  %-16s %-8s %8s %8s %8s %8s %8s\n", "program", "page", "median", "p95", ">20 ms",
                "frames", "fps");
    for (const auto &[pagePath, pageName] : std::vector<std::pair<QString, const char *>>{
             {"/bench/frames/sprites/", "canvas"}, {"/bench/frames/three/", "webgl"}}) {
        if (!three && QByteArray(pageName) == "webgl") {
            continue;
        }
        for (const auto &[name, start] : contenders) {
            const int before = server.requestCount("/bench/frames");
            QProcess process;
            const bool ok = start(process, server.baseUrl() + pagePath) &&
                            frameRate(name, pageName, server, before);
            end(process);
            if (!ok) {
                return 1;
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--client") {
        return runClient(argc, argv);
    }
    return runDriver(argc, argv);
}
