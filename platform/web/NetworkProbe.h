#pragma once

class QWebEngineProfile;

// Whether a profile's network takes requests again. The engine clears its HTTP cache in the
// background and then starts its network afresh: a request made meanwhile is never answered, and
// the engine says nothing when it is done. So we ask: a page of the profile fetches from a
// loopback server of our own, again and again, until one fetch is answered.
namespace NetworkProbe {

inline constexpr int AskEveryMs = 50;

// Pumps the event loop until a request of the profile is answered; false when none is within
// the deadline.
bool WaitUntilAnswered(QWebEngineProfile *profile, int deadlineMs);

} // namespace NetworkProbe
