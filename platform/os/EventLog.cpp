#include "EventLog.h"

#include <QCoreApplication>

#ifdef Q_OS_UNIX
#include <syslog.h>
#endif

namespace platform {
namespace {

void writeSystemLog(const QString &message)
{
#ifdef Q_OS_UNIX
    // syslog copies the identity pointer, so it must outlive every later call.
    static const QByteArray identity = QCoreApplication::applicationName().toUtf8();
    static const bool opened = (::openlog(identity.constData(), LOG_PID, LOG_USER), true);
    Q_UNUSED(opened);
    ::syslog(LOG_USER | LOG_WARNING, "%s", message.toUtf8().constData());
#else
    qWarning("%s", qUtf8Printable(message));
#endif
}

} // namespace

EventLogService &EventLogProvider()
{
    static EventLogService service(writeSystemLog);
    return service;
}

void WriteEventLog(const QString &message)
{
    EventLogProvider()(message);
}

} // namespace platform
