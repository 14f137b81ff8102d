#pragma once

#include "Replaceable.h"

#include <QString>
#include <QStringList>

namespace platform {

using ShellOpenService = Replaceable<bool(const QString &target, const QStringList &arguments)>;
using StartProgramService = Replaceable<bool(const QString &program, const QStringList &arguments)>;

ShellOpenService &ShellOpenProvider();
StartProgramService &StartProgramProvider();

// Opens an http(s) address in the user's browser, starts a local executable detached with the
// given arguments, or opens any other local file with its associated program. A file marked
// executable is only ever started, never handed to the desktop's opener. Addresses of other
// schemes are refused. Returns whether the shell accepted the request.
bool ShellOpen(const QString &target, const QStringList &arguments = {});

// Starts the program detached, by itself, with its arguments, in its own folder. False when it
// is not a regular file or the system would not run it (no execute permission, a folder mounted
// noexec, a missing interpreter): a program is never handed to another program to be opened.
bool StartProgram(const QString &program, const QStringList &arguments = {});

} // namespace platform
