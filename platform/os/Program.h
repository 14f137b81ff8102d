#pragma once

#include "Replaceable.h"

namespace platform {

using EndProgramService = Replaceable<void(int exitCode)>;

EndProgramService &EndProgramProvider();

// Ends the program from inside the event loop: every window is closed and the loop returns.
// Tests replace it, since ending would end the test.
void EndProgram(int exitCode = 0);

// True once the program is being ended that way: windows close without asking the player, as
// when the program itself decides to end (an update hand-off, an unattended run).
bool ProgramEnding();

} // namespace platform
