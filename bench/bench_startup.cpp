// Start-up time and memory of the client beside a bare Qt web view and, when given, Chromium's
// app mode, all on the same small local page, in the same run, medians over the rounds.
//   bench_startup [rounds] [--chromium PROGRAM]    (run with a display)
// Time runs from launching the program until the page, once loaded, calls back to the server;
// memory is the proportional set size (PSS) summed over the program's process tree, taken after
// the page has settled. PSS divides shared pages among the processes that map them, so it only
// means something on a quiet machine.
//
// The same program is the contender: `--client BASE` runs the client's start-up against the server
// at BASE (login page replaced by the benchmark page) and prints when each phase ended;
// `--bare URL` shows a plain QWebEngineView with the default profile.
#include "ChromiumFlags.h"
#include "DemoServer.h"
#include "Percentile.h"
#include "ProcessMemory.h"
#include "app/Forms.h"
#include "app/LoadFrm.h"
#include "login/LoginBgFrm.h"
#include "login/LoginFrm.h"
#include "platform/os/Connection.h"
#include "platform/web/WebBrowser.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWebEngineView>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

const char LaunchVariable[] = "VANTOR_BENCH_LAUNCH_MS";
const int SettleMs = 2000;
const int LoadTimeoutMs = 60000;

const char BenchPage[] = R"(<!doctype html>
<html><head><meta charset="utf-8"><title>Vantor</title>
<style>body{margin:0;background:#1d2633;color:#e8e0c8;font:14px sans-serif}
form{margin:60px auto;width:260px}input,button{display:block;width:100%;margin:8px 0}</style>
</head><body><form><h2>Vantor</h2><input name="account" placeholder="账号">
<input name="password" type="password" placeholder="密码"><button type="button">登录</button></form>
<script>addEventListener('load', function () { fetch('/bench/loaded?' + Date.now()); });</script>
</body></html>)";

qint64 sinceLaunch()
{
    return QDateTime::currentMSecsSinceEpoch() - qEnvironmentVariable(LaunchVariable).toLongLong();
}

void mark(const char *phase)
{
    std::printf("phase %s %lld\n", phase, static_cast<long long>(sinceLaunch()));
    std::fflush(stdout);
}

// The client's main() with the servers at `base`, marking the end of each phase.
int runClient(int argc, char *argv[], const QString &base)
{
    mark("process");
    platform::WebBrowser::PrepareEngine();
    QApplication app(argc, argv);
    mark("application");
    LoginFrm::SetLoginPage(base + "/bench/");
    auto &connection = platform::ConnectionProvider();
    const auto probe = connection.Replace({});
    connection.Replace([probe] {
        const bool up = probe();
        mark("connection");
        return up;
    });
    platform::WebBrowser::StartEngineSoon();
    LoginBgFrm::PreloadPicture();
    LoadFrm &loadFrm = Forms<LoadFrm>::Get();
    loadFrm.SetManifestAddress(base + "/gamehome/qvmr/update.txt");
    QObject::connect(&loadFrm, &LoadFrm::LoadLoginWindow, [] {
        mark("splash");
        platform::WebBrowser::SharedProfile();
        mark("profile");
        Forms<LoginFrm>::Get();
        mark("engine");
    });
    if (loadFrm.Form_Initialize() == LoadFrm::Outcome::EndProgram) {
        return 1;
    }
    mark("manifest");
    if (loadFrm.Form_Load(QString()) == LoadFrm::Outcome::EndProgram) {
        return 1;
    }
    loadFrm.show();
    return QApplication::exec();
}

int runBare(int argc, char *argv[], const QString &url)
{
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --no-sandbox");
    }
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(767, 475);
    view.load(QUrl(url));
    view.show();
    return QApplication::exec();
}

struct Contender {
    Contender(QString name_, QString program_, QStringList arguments_, bool fresh = false)
        : name(name_), program(program_), arguments(arguments_), freshProfile(fresh)
    {
    }
    QString name;
    QString program;
    QStringList arguments;
    bool freshProfile;
    std::vector<double> loadMs, pssMiB;
    QMap<QString, std::vector<double>> phases;
};

// One launch: false when the page never called back.
bool measure(Contender &contender, DemoServer &server)
{
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    QStringList arguments = contender.arguments;
    if (contender.freshProfile) {
        arguments << "--user-data-dir=" + home.filePath("chromium");
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    const int before = server.requestCount("/bench/loaded");
    const qint64 launch = QDateTime::currentMSecsSinceEpoch();
    environment.insert(LaunchVariable, QString::number(launch));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(contender.program, arguments);
    while (server.requestCount("/bench/loaded") == before && timer.elapsed() < LoadTimeoutMs &&
           process.state() != QProcess::NotRunning) {
        QThread::usleep(2000);
    }
    const bool loaded = server.requestCount("/bench/loaded") > before;
    const double loadMs = timer.nsecsElapsed() / 1e6;
    QThread::msleep(SettleMs);
    const QStringList tree = processTree(process.processId());
    long kib = 0;
    for (const QString &pid : tree) {
        kib += pssKiB(pid);
    }
    for (const QString &pid : tree) {
        ::kill(pid.toInt(), SIGKILL);
    }
    process.waitForFinished(5000);
    if (!loaded) {
        std::fprintf(stderr, "bench_startup: %s never loaded the page\n",
                     qPrintable(contender.name));
        return false;
    }
    contender.loadMs.push_back(loadMs);
    contender.pssMiB.push_back(kib / 1024.0);
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 3 && fields[0] == "phase") {
            contender.phases[QString::fromLatin1(fields[1])].push_back(fields[2].toDouble());
        }
    }
    return true;
}

int runDriver(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const auto [rounds, chromium] = benchArguments(argc, argv, 3);
    DemoServer server;
    if (!server.start()) {
        std::fprintf(stderr, "bench_startup: the demo server did not start\n");
        return 1;
    }
    server.setFile("/bench/", BenchPage, "text/html; charset=utf-8");
    server.setFile("/bench/loaded", "", "text/plain");
    const QString page = server.baseUrl() + "/bench/";
    const QString self = QCoreApplication::applicationFilePath();

    std::vector<Contender> contenders;
    contenders.emplace_back("client", self, QStringList{"--client", server.baseUrl()});
    contenders.emplace_back("bare Qt web view", self, QStringList{"--bare", page});
    if (!chromium.isEmpty()) {
        const QStringList flags =
            QStringList{"--app=" + page, "--window-size=767,475"} + quietChromiumFlags();
        contenders.emplace_back("chromium --app", chromium, flags, true);
    }
    bool ok = true;
    // Taking turns spreads whatever else the machine does over all contenders alike.
    for (int round = 0; round < rounds; ++round) {
        for (Contender &contender : contenders) {
            ok = measure(contender, server) && ok;
        }
    }
    const Contender *reference = contenders.size() > 2 ? &contenders[2] : nullptr;
    std::printf("start-up: launch -> page loaded, PSS after %d ms, median of %d\n", SettleMs,
                rounds);
    std::printf("  %-20s %9s %9s %14s\n", "program", "ms", "PSS MiB", "vs chromium");
    for (const Contender &contender : contenders) {
        const double ms = median(contender.loadMs);
        const double mib = median(contender.pssMiB);
        std::printf("  %-20s %9.0f %9.1f", qPrintable(contender.name), ms, mib);
        if (reference && &contender != reference && median(reference->loadMs) > 0) {
            std::printf("   %.2fx / %.2fx", ms / median(reference->loadMs),
                        mib / median(reference->pssMiB));
        }
        std::printf("\n");
    }
    const Contender &client = contenders.front();
    std::printf("  client phases (ms since launch):");
    for (const char *phase :
         {"process", "application", "connection", "manifest", "splash", "profile", "engine"}) {
        std::printf(" %s %.0f", phase, median(client.phases.value(phase)));
    }
    std::printf(" page %.0f\n", median(client.loadMs));
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && QByteArray(argv[1]) == "--client") {
        return runClient(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    if (argc > 2 && QByteArray(argv[1]) == "--bare") {
        return runBare(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    return runDriver(argc, argv);
}
