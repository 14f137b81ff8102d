#pragma once

#include <QString>

namespace platform {

// The user's private folder for files the client writes and then opens or runs (the manifest,
// the updater, the icon file). On Linux the shared /tmp would let another user plant or swap
// those files, so the folder is per user, created 0700, and refused when someone else owns it
// or it is a symbolic link. Entries of another user found in it (left while it was open to
// others) are removed; one that cannot be removed makes the folder refused too. Returns the path
// in native form with exactly one trailing separator, or an empty string when no private folder
// can be had.
QString PrivateTempFolder();

} // namespace platform
