#pragma once

#include "Replaceable.h"

#include <QString>
#include <QStringList>

namespace platform {

using ShellOpenService = Replaceable<bool(const QString &target, const QStringList &arguments)>;

ShellOpenService &ShellOpenProvider();

// Opens an http(s) address in the user's browser, starts a local executable detached with the
// given arguments, or opens any other local file with its associated program. Addresses of other
// schemes are refused. Returns whether the shell accepted the request.
bool ShellOpen(const QString &target, const QStringList &arguments = {});

// Starts a local executable detached, in its own folder, and nothing else: a path that is not an
// executable regular file is refused, never handed to the desktop's opener of its type.
bool StartProgram(const QString &program, const QStringList &arguments = {});

} // namespace platform
