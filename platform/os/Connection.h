#pragma once

#include "Replaceable.h"

namespace platform {

using ConnectionService = Replaceable<bool()>;

ConnectionService &ConnectionProvider();

// True when some network interface other than loopback is up and has an address: the same
// "is there a network at all" answer the start-up check needs, without contacting anyone.
bool InternetConnected();

} // namespace platform
