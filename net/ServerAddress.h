#pragma once

#include <QString>

// The address of one of the game's servers as built in, or with its scheme, host and port taken
// from VANTOR_SERVER when that names an http(s) server: a build pointed at the demo server runs
// against a demo server on any port (the end-to-end tests pick a free one).
QString ServerAddress(const char *builtIn);
