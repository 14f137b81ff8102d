#pragma once

#include "platform/Replaceable.h"

#include <QString>

// Where the login hands over the game address. The login knows nothing of the main window; the
// program connects this to the main window's SetURL and show. Unconnected, the address goes
// nowhere.
namespace GameWindow {

using OpenService = platform::Replaceable<void(const QString &address)>;

OpenService &OpenProvider();

void Open(const QString &address);

} // namespace GameWindow
