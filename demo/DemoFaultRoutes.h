#pragma once

#include <QtGlobal>

#include <atomic>

namespace httplib {
class Server;
}

// Routes under /fault/ that misbehave on purpose, one way each, for the download code's tests.
// Every body is DemoPayload from offset 0, so the receiving side can verify what it got.
namespace DemoFault {

inline constexpr qint64 PayloadBytes = 50000;
inline constexpr qint64 NoLengthBytes = 40000;
inline constexpr qint64 ChunkedBytes = 30000;
inline constexpr qint64 ChunkedPieceBytes = 4096;
inline constexpr qint64 TruncatedDeclaredBytes = 100000;
inline constexpr qint64 TruncatedSentBytes = 30000;
inline constexpr qint64 SlowDefaultBytes = 20000;
inline constexpr int SlowDefaultMs = 1500;
inline constexpr int SlowDefaultPieces = 10;
inline constexpr qint64 BigDefaultBytes = 1 << 20;
inline constexpr qint64 BigMaxBytes = qint64(1) << 40;

// Streaming routes give up as soon as `stopping` turns true, so stopping the server never waits
// for a slow or huge transfer to run its course.
void addRoutes(httplib::Server &server, const std::atomic<bool> &stopping);

} // namespace DemoFault
