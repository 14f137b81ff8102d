#pragma once

#include <QString>

// Where the web profile keeps the player's logins and game storage, and its HTTP cache: named
// outright under the XDG folders, so no organisation or application name can ever move them.
namespace platform::ProfilePaths {

// $XDG_DATA_HOME/vantor (~/.local/share/vantor): the client's own data, such as each site's zoom.
QString Data();
// $XDG_DATA_HOME/vantor/profile (~/.local/share/vantor/profile).
QString Storage();
// $XDG_CACHE_HOME/vantor (~/.cache/vantor).
QString Cache();

// Where the engine put the profile by default before it was pinned: under the application's own
// data folder.
QString EarlierStorage();

// The folder to use: the pinned one, after the profile found at `earlier` has been moved there
// (once: only while nothing is at `pinned` yet). When the move fails the earlier folder is used,
// so no login is lost.
QString MoveOver(const QString &earlier, const QString &pinned);

} // namespace platform::ProfilePaths
