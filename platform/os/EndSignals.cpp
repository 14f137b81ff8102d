#include "EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

int signalPipe[2] = {-1, -1};
const int Watched[] = {SIGTERM, SIGHUP, SIGINT};

void onSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    // A full pipe already holds a request to end; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : Watched) {
        ::sigaction(number, &action, nullptr);
    }
}

} // namespace

EndSignals::EndSignals(QObject *parent) : QObject(parent)
{
    if (signalPipe[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalPipe) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EndSignals::Deliver);
    setHandler(onSignal);
}

EndSignals::~EndSignals()
{
    if (!m_notifier) {
        return;
    }
    setHandler(SIG_DFL);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void EndSignals::Deliver()
{
    unsigned char byte = 0;
    bool first = true;
    int number = 0;
    while (::read(signalPipe[0], &byte, 1) == 1) {
        if (first) {
            number = byte;
            first = false;
        }
    }
    if (!first) {
        emit EndRequested(number);
    }
}

} // namespace platform
