#pragma once

#include <QString>

// Empties the cache that every embedded browser of the client shares, so the game's pages and
// files are fetched afresh. What is kept is named by the keep mask's entry kinds: cookies keep the
// player logged in, visited links keep the pages' :visited colours.
namespace CacheMain {

inline constexpr quint32 NORMAL_CACHE_ENTRY = 0x00000001;
inline constexpr quint32 STICKY_CACHE_ENTRY = 0x00000004;
inline constexpr quint32 COOKIE_CACHE_ENTRY = 0x00100000;
inline constexpr quint32 URLHISTORY_CACHE_ENTRY = 0x00200000;

// The pattern chooses the kinds looked at: "*.*" (or "*", or nothing) every kind, "cookie:" only
// cookies, "visited:" only visited links. Of those, every kind the keep mask does not name is
// cleared: the HTTP cache (normal and sticky entries), cookies, visited links. Returns whether the
// clear was carried out; false for a pattern of another form, which clears nothing, and when the
// engine's network has not come back from the cache's clearing within 10 s. The event loop runs
// meanwhile; once this returns, pages load again.
bool DeleteCacheEntries(const QString &pattern, quint32 keepMask);

} // namespace CacheMain
