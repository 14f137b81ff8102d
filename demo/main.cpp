#include "DemoServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct Options {
    quint16 port = VANTOR_DEMO_PORT;
    QString host;
    QString manifestFile;
    bool autoLogin = false;
};

int signalPipe[2] = {-1, -1};

void onQuitSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// Signal handlers may not touch Qt; they poke a socket that the event loop watches instead.
bool quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGTERM, &action, nullptr) == 0;
}

std::optional<Options> parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Serves the Vantor demo site, update manifest and fault routes.");
    parser.addHelpOption();
    const QCommandLineOption port("port", "Port to listen on, 0 for any free one.", "N",
                                  QString::number(VANTOR_DEMO_PORT));
    const QCommandLineOption host("host", "Address to listen on.", "H", "127.0.0.1");
    const QCommandLineOption manifest("manifest", "Serve the update manifest from FILE.", "FILE");
    const QCommandLineOption autoLogin(
        "autologin", "Make the login page log the demo user in by itself, for unattended runs.");
    parser.addOptions({port, host, manifest, autoLogin});
    parser.process(app);

    bool portIsNumber = false;
    const uint portNumber = parser.value(port).toUInt(&portIsNumber);
    if (!portIsNumber || portNumber > 65535) {
        std::fprintf(stderr, "vantor-demo-server: --port wants 0..65535\n");
        return std::nullopt;
    }
    const QString manifestFile = parser.value(manifest);
    if (!manifestFile.isEmpty() && !QFileInfo(manifestFile).isReadable()) {
        std::fprintf(stderr, "vantor-demo-server: cannot read %s\n", qPrintable(manifestFile));
        return std::nullopt;
    }
    return Options{static_cast<quint16>(portNumber), parser.value(host), manifestFile,
                   parser.isSet(autoLogin)};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("vantor-demo-server");
    const std::optional<Options> options = parseOptions(app);
    if (!options)
        return 2;

    if (!quitOnSignals(app)) {
        std::perror("vantor-demo-server: signal setup");
        return 1;
    }
    DemoServer server;
    if (!options->manifestFile.isEmpty())
        server.setManifestFile(options->manifestFile);
    server.setAutoLogin(options->autoLogin);
    if (!server.start(options->port, options->host)) {
        std::fprintf(stderr, "vantor-demo-server: cannot listen on %s port %u\n",
                     qPrintable(options->host), unsigned(options->port));
        return 1;
    }
    std::printf("demo server listening on %s\n", qPrintable(server.baseUrl()));
    std::fflush(stdout);
    const int exitCode = app.exec();
    server.stop();
    return exitCode;
}
