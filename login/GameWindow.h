#pragma once

#include "platform/os/Replaceable.h"

#include <QString>

// Where the login hands over the game address. The login knows nothing of the main window; the
// program connects this to the main window's SetURL and show, and tells whether a main window is
// open. Unconnected, the address goes nowhere and no main window is open.
namespace GameWindow {

using OpenService = platform::Replaceable<void(const QString &address)>;
using IsOpenService = platform::Replaceable<bool()>;

OpenService &OpenProvider();
IsOpenService &IsOpenProvider();

void Open(const QString &address);

// A game runs: whatever the login meets, ending the program is not its call.
bool IsOpen();

} // namespace GameWindow
