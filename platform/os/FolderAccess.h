#pragma once

#include <QString>

namespace platform {

// Whether this user may replace the program file: create files in its folder and write the file
// itself. A system-wide install is not the user's to change; the package manager updates it.
bool CanReplaceProgram(const QString &programFile);

} // namespace platform
