#pragma once

#include <QByteArray>
#include <QTest>

#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

// What another user's program does, for suites that run as root: a piece of the test runs in a
// child process as user nobody.

inline constexpr uid_t NobodyId = 65534;

inline sockaddr_un unixAddress(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    return address;
}

// Starts body in a child process as nobody; the child ends with body's result (255 when it could
// not become nobody), and is killed after 20 s whatever it waits for.
inline pid_t startAsNobody(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        if (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0) {
            ::_exit(255);
        }
        ::_exit(body());
    }
    return child;
}

// The child's exit status, waited for while the event loop runs; -1 when it did not end by itself.
inline int exitStatusOf(pid_t child, int timeoutMs = 10000)
{
    int status = 0;
    if (!QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, timeoutMs)) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
