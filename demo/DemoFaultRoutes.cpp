#include "DemoFaultRoutes.h"

#include "DemoPayload.h"

#include <httplib.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using httplib::DataSink;
using httplib::Request;
using httplib::Response;

const char *const OctetStream = "application/octet-stream";
constexpr std::size_t StreamWriteBytes = 256 * 1024;
constexpr std::size_t ShortWriteBytes = 8192;
constexpr quint64 SlowMaxBytes = 64 * 1024 * 1024;
constexpr quint64 SlowMaxMs = 120000;
constexpr quint64 SlowMaxPieces = 10000;

std::string payloadString(quint64 offset, std::size_t count)
{
    std::string out(count, '\0');
    DemoPayload::fill(out.data(), offset, count);
    return out;
}

bool writePayload(DataSink &sink, quint64 offset, std::size_t count)
{
    const std::string piece = payloadString(offset, count);
    return sink.write(piece.data(), piece.size());
}

// A query parameter as an unsigned number within [minimum, maximum]; nullopt when it is there but
// unusable, so the handler can answer 400 instead of guessing.
std::optional<quint64> numberParam(const Request &req, const char *name, quint64 fallback,
                                   quint64 minimum, quint64 maximum)
{
    if (!req.has_param(name))
        return fallback;
    const std::string text = req.get_param_value(name);
    quint64 value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < minimum ||
        value > maximum)
        return std::nullopt;
    return value;
}

void badRequest(Response &res, const std::string &why)
{
    res.status = 400;
    res.set_content(why + "\n", "text/plain; charset=utf-8");
}

// Sleeps in short steps so a stopping server is not held up; false when stopping cut it short.
bool sleepUntil(Clock::time_point deadline, const std::atomic<bool> &stopping)
{
    constexpr auto Step = std::chrono::milliseconds(20);
    while (!stopping) {
        const auto now = Clock::now();
        if (now >= deadline)
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(Step, deadline - now));
    }
    return false;
}

void serveNotFound(const Request &, Response &res)
{
    res.status = 404;
    res.set_content("not found\n", "text/plain; charset=utf-8");
}

void servePayload(const Request &, Response &res)
{
    res.set_content(payloadString(0, DemoFault::PayloadBytes), OctetStream);
}

// `to` sends the client elsewhere, another server or scheme included.
void serveRedirect(const Request &req, Response &res)
{
    res.set_redirect(req.has_param("to") ? req.get_param_value("to") : "/fault/payload", 302);
}

// Without a length the server marks the end of the body by closing the connection; that only
// happens because every connection serves a single request (see DemoServer::start).
void serveNoLength(const std::atomic<bool> &stopping, Response &res)
{
    res.set_content_provider(OctetStream, [&stopping](size_t offset, DataSink &sink) {
        if (stopping)
            return false;
        if (offset >= DemoFault::NoLengthBytes) {
            sink.done();
            return true;
        }
        const auto count =
            std::min<std::size_t>(ShortWriteBytes, DemoFault::NoLengthBytes - offset);
        return writePayload(sink, offset, count);
    });
}

void serveChunked(const std::atomic<bool> &stopping, Response &res)
{
    res.set_chunked_content_provider(OctetStream, [&stopping](size_t offset, DataSink &sink) {
        if (stopping)
            return false;
        if (offset >= DemoFault::ChunkedBytes) {
            sink.done();
            return true;
        }
        const auto count =
            std::min<quint64>(DemoFault::ChunkedPieceBytes, DemoFault::ChunkedBytes - offset);
        return writePayload(sink, offset, count);
    });
}

// Returning false from the provider makes the server drop the connection mid-body.
void serveTruncated(const std::atomic<bool> &stopping, Response &res)
{
    const auto provider = [&stopping](size_t offset, size_t length, DataSink &sink) {
        if (stopping || offset >= DemoFault::TruncatedSentBytes)
            return false;
        const auto count = std::min<std::size_t>(
            {length, ShortWriteBytes, std::size_t(DemoFault::TruncatedSentBytes - offset)});
        return writePayload(sink, offset, count);
    };
    res.set_content_provider(DemoFault::TruncatedDeclaredBytes, OctetStream, provider);
}

struct SlowPlan {
    quint64 bytes = 0;
    quint64 pieces = 1;
    std::chrono::milliseconds duration{0};
    Clock::time_point start;

    quint64 pieceBytes() const { return (bytes + pieces - 1) / pieces; }
    // Piece k leaves at start + (k + 1) * duration / pieces: the last one no earlier than the
    // requested duration, and the schedule does not drift with slow writes.
    Clock::time_point deadlineOf(quint64 piece) const
    {
        return start + duration * static_cast<qint64>(piece + 1) / static_cast<qint64>(pieces);
    }
};

std::optional<SlowPlan> slowPlanFor(const Request &req)
{
    const auto bytes = numberParam(req, "bytes", DemoFault::SlowDefaultBytes, 1, SlowMaxBytes);
    const auto ms = numberParam(req, "ms", DemoFault::SlowDefaultMs, 0, SlowMaxMs);
    const auto pieces = numberParam(req, "pieces", DemoFault::SlowDefaultPieces, 1, SlowMaxPieces);
    if (!bytes || !ms || !pieces)
        return std::nullopt;
    const auto duration = std::chrono::milliseconds(static_cast<qint64>(*ms));
    return SlowPlan{*bytes, std::min(*pieces, *bytes), duration, Clock::now()};
}

void serveSlow(const std::atomic<bool> &stopping, const Request &req, Response &res)
{
    const std::optional<SlowPlan> plan = slowPlanFor(req);
    if (!plan) {
        badRequest(res, "expected bytes=1..67108864, ms=0..120000, pieces=1..10000");
        return;
    }
    const auto provider = [&stopping, plan = *plan](size_t offset, size_t length, DataSink &sink) {
        const quint64 pieceBytes = plan.pieceBytes();
        if (!sleepUntil(plan.deadlineOf(offset / pieceBytes), stopping))
            return false;
        const auto count = std::min<quint64>(length, pieceBytes - offset % pieceBytes);
        return writePayload(sink, offset, count);
    };
    res.set_content_provider(plan->bytes, OctetStream, provider);
}

// Generated as it goes out, a window at a time, so sizes past what memory could hold still work.
void serveBig(const std::atomic<bool> &stopping, const Request &req, Response &res)
{
    const auto bytes =
        numberParam(req, "bytes", DemoFault::BigDefaultBytes, 0, DemoFault::BigMaxBytes);
    if (!bytes) {
        badRequest(res, "expected bytes=0..1099511627776");
        return;
    }
    if (*bytes == 0) {
        res.set_content("", OctetStream);
        return;
    }
    auto window = std::make_shared<std::string>(StreamWriteBytes, '\0');
    const auto provider = [&stopping, window](size_t offset, size_t length, DataSink &sink) {
        if (stopping)
            return false;
        const std::size_t count = std::min(length, window->size());
        DemoPayload::fill(window->data(), offset, count);
        return sink.write(window->data(), count);
    };
    res.set_content_provider(*bytes, OctetStream, provider);
}

} // namespace

namespace DemoFault {

void addRoutes(httplib::Server &server, const std::atomic<bool> &stopping)
{
    server.Get("/fault/404", serveNotFound);
    server.Get("/fault/payload", servePayload);
    server.Get("/fault/redirect", serveRedirect);
    server.Get("/fault/nolength",
               [&stopping](const Request &, Response &res) { serveNoLength(stopping, res); });
    server.Get("/fault/chunked",
               [&stopping](const Request &, Response &res) { serveChunked(stopping, res); });
    server.Get("/fault/truncated",
               [&stopping](const Request &, Response &res) { serveTruncated(stopping, res); });
    server.Get("/fault/slow",
               [&stopping](const Request &req, Response &res) { serveSlow(stopping, req, res); });
    server.Get("/fault/big",
               [&stopping](const Request &req, Response &res) { serveBig(stopping, req, res); });
}

} // namespace DemoFault
