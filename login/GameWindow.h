#pragma once

#include "platform/Replaceable.h"

#include <QString>
#include <QStringList>

// Where the login hands over the game address: the main window's SetURL and show. Until the
// main window is built in, the address is recorded and printed, and nothing opens.
namespace GameWindow {

using OpenService = platform::Replaceable<void(const QString &address)>;

OpenService &OpenProvider();

void Open(const QString &address);

// Every address handed over so far by the stand-in.
QStringList HandedOver();

} // namespace GameWindow
