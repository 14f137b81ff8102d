#pragma once

#include "Replaceable.h"

#include <QString>

namespace platform {

using EventLogService = Replaceable<void(const QString &message)>;

// Where reports of misuse go: the system log (syslog, LOG_USER) in the product; tests redirect it.
EventLogService &EventLogProvider();

void WriteEventLog(const QString &message);

} // namespace platform
