#pragma once

#include "WinTypes.h"

namespace platform {

// Virtual-key code of a Qt key; 0 for keys without one.
WPARAM VirtualKeyOf(int qtKey);

} // namespace platform
