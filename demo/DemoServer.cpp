#include "DemoServer.h"

#include "DemoFaultRoutes.h"
#include "DemoLoginRoutes.h"
#include "DemoSigner.h"
#include "DemoSite.h"

#include <QFile>

#include <httplib.h>

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

using httplib::Request;
using httplib::Response;

constexpr std::size_t WorkerThreads = 16;
// An idle connection holds a worker and delays stop() by up to this long.
constexpr time_t IdleConnectionSeconds = 2;
// Generous, because download tests pause reading on purpose; it bounds how long stop() can wait
// for a client that stopped reading altogether.
constexpr time_t StalledWriteSeconds = 15;

struct CannedFile {
    int status = 200;
    std::string body;
    std::string contentType;
    std::vector<std::pair<std::string, std::string>> headers;
};

std::string toStd(const QByteArray &bytes)
{
    return bytes.toStdString();
}

bool isWildcardHost(const QString &host)
{
    return host == u"0.0.0.0" || host == u"::" || host.isEmpty();
}

QString urlHost(const QString &host)
{
    if (isWildcardHost(host))
        return QStringLiteral("127.0.0.1");
    return host.contains(u':') ? u'[' + host + u']' : host;
}

void applySiteResponse(const DemoSite::Response &page, Response &res)
{
    res.status = page.status;
    if (!page.location.isEmpty())
        res.set_header("Location", toStd(page.location));
    res.set_content(toStd(page.body), toStd(page.contentType));
}

// httplib's default adds SO_REUSEPORT, which lets a second server share the port and silently
// take half the requests; rebinding right after a stop only needs SO_REUSEADDR.
void reuseAddressOnly(socket_t socket)
{
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

void serveSite(const Request &req, Response &res)
{
    applySiteResponse(DemoSite::lookup(QString::fromStdString(req.path)), res);
}

} // namespace

struct DemoServer::Impl {
    mutable std::mutex mutex;
    QByteArray manifest = DemoServer::defaultManifest();
    QString manifestFile;
    std::map<std::string, CannedFile> files;
    struct Seen {
        int count = 0;
        std::string cookies;
        std::string query;
    };
    std::map<std::string, Seen> seen;
    DemoLoginRoutes login;

    std::unique_ptr<httplib::Server> http;
    std::thread listener;
    std::atomic<bool> listenerDone{false};
    std::atomic<bool> stopping{false};
    quint16 port = 0;
    QString host;
    QString tlsCertificate;
    QString tlsKey;

    void configure(httplib::Server &server);
    httplib::Server::HandlerResponse serveCanned(const Request &req, Response &res) const;
    std::optional<QByteArray> currentManifest() const;
    void serveManifest(Response &res) const;
    void serveManifestSignature(Response &res) const;
    void record(const Request &req);
    QByteArray lastSeen(const QString &path, std::string Seen::*field) const;
    int bind(httplib::Server &server, quint16 wantedPort, const QString &wantedHost);
    void waitUntilListening() const;
};

// One request per connection: a response without a length can then end by closing, which the
// nolength route needs, and stop() never waits on an idle keep-alive connection.
void DemoServer::Impl::configure(httplib::Server &server)
{
    server.set_socket_options(reuseAddressOnly);
    server.set_keep_alive_max_count(1);
    server.set_keep_alive_timeout(IdleConnectionSeconds);
    server.set_write_timeout(StalledWriteSeconds);
    server.new_task_queue = [] { return new httplib::ThreadPool(WorkerThreads); };
    server.set_pre_routing_handler([this](const Request &req, Response &res) {
        record(req);
        return serveCanned(req, res);
    });
    // A file a browser may keep for a year: only a cleared cache fetches it again.
    server.Get("/static/cached.js", [](const Request &, Response &res) {
        res.set_header("Cache-Control", "public, max-age=31536000");
        res.set_content("window.cachedScriptRan = true;\n", "text/javascript; charset=utf-8");
    });
    server.Get("/gamehome/qvmr/update.txt",
               [this](const Request &, Response &res) { serveManifest(res); });
    server.Get("/gamehome/qvmr/update.txt.minisig",
               [this](const Request &, Response &res) { serveManifestSignature(res); });
    DemoFault::addRoutes(server, stopping);
    login.addRoutes(server);
    server.Get(".*", serveSite);
}

httplib::Server::HandlerResponse DemoServer::Impl::serveCanned(const Request &req,
                                                               Response &res) const
{
    std::lock_guard lock(mutex);
    const auto found = files.find(req.path);
    if (found == files.end())
        return httplib::Server::HandlerResponse::Unhandled;
    res.status = found->second.status;
    for (const auto &[name, value] : found->second.headers)
        res.set_header(name, value);
    res.set_content(found->second.body, found->second.contentType);
    return httplib::Server::HandlerResponse::Handled;
}

QByteArray DemoServer::Impl::lastSeen(const QString &path, std::string Seen::*field) const
{
    std::lock_guard lock(mutex);
    const auto found = seen.find(path.toStdString());
    return found == seen.end() ? QByteArray() : QByteArray::fromStdString(found->second.*field);
}

void DemoServer::Impl::record(const Request &req)
{
    std::lock_guard lock(mutex);
    Seen &entry = seen[req.path];
    ++entry.count;
    entry.cookies = req.get_header_value("Cookie");
    const auto mark = req.target.find('?');
    entry.query = mark == std::string::npos ? std::string() : req.target.substr(mark + 1);
}

std::optional<QByteArray> DemoServer::Impl::currentManifest() const
{
    std::unique_lock lock(mutex);
    const QString path = manifestFile;
    const QByteArray text = manifest;
    lock.unlock();
    if (path.isEmpty()) {
        return text;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

void DemoServer::Impl::serveManifest(Response &res) const
{
    const std::optional<QByteArray> text = currentManifest();
    if (!text) {
        res.status = 404;
        res.set_content("no manifest file\n", "text/plain");
        return;
    }
    res.set_content(toStd(*text), "text/plain");
}

// Signed as it is served, so an edited manifest stays signed.
void DemoServer::Impl::serveManifestSignature(Response &res) const
{
    const std::optional<QByteArray> text = currentManifest();
    if (!text) {
        res.status = 404;
        res.set_content("no manifest file\n", "text/plain");
        return;
    }
    res.set_content(toStd(DemoSigner::SignWithDemoKey(*text, "update.txt")), "text/plain");
}

int DemoServer::Impl::bind(httplib::Server &server, quint16 wantedPort, const QString &wantedHost)
{
    const std::string address = wantedHost.toStdString();
    if (wantedPort == 0)
        return server.bind_to_any_port(address);
    return server.bind_to_port(address, wantedPort) ? wantedPort : -1;
}

// httplib's stop() is a no-op until the accept loop runs, so start() must not return earlier.
void DemoServer::Impl::waitUntilListening() const
{
    while (!http->is_running() && !listenerDone)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

DemoServer::DemoServer() : d(std::make_unique<Impl>()) {}

DemoServer::~DemoServer()
{
    stop();
}

bool DemoServer::start(quint16 port, const QString &host)
{
    if (d->http)
        return false;
    std::unique_ptr<httplib::Server> server;
    if (d->tlsCertificate.isEmpty()) {
        server = std::make_unique<httplib::Server>();
    } else {
        auto tls = std::make_unique<httplib::SSLServer>(qPrintable(d->tlsCertificate),
                                                        qPrintable(d->tlsKey));
        if (!tls->is_valid())
            return false;
        server = std::move(tls);
    }
    d->configure(*server);
    const int bound = d->bind(*server, port, host);
    if (bound <= 0)
        return false;
    d->stopping = false;
    d->listenerDone = false;
    d->http = std::move(server);
    d->port = static_cast<quint16>(bound);
    d->host = host;
    d->listener = std::thread([impl = d.get()] {
        impl->http->listen_after_bind();
        impl->listenerDone = true;
    });
    d->waitUntilListening();
    if (!d->listenerDone)
        return true;
    stop();
    return false;
}

void DemoServer::stop()
{
    if (!d->http)
        return;
    d->stopping = true;
    d->http->stop();
    d->listener.join();
    d->http.reset();
    d->port = 0;
}

bool DemoServer::isRunning() const
{
    return d->http != nullptr;
}

quint16 DemoServer::port() const
{
    return d->port;
}

QString DemoServer::baseUrl() const
{
    if (!d->http)
        return {};
    const QString scheme =
        d->tlsCertificate.isEmpty() ? QStringLiteral("http") : QStringLiteral("https");
    return QStringLiteral("%1://%2:%3").arg(scheme, urlHost(d->host)).arg(d->port);
}

void DemoServer::setTls(const QString &certificateFile, const QString &keyFile)
{
    d->tlsCertificate = certificateFile;
    d->tlsKey = keyFile;
}

QByteArray DemoServer::defaultManifest()
{
    return QByteArrayLiteral("[update]\r\nversion=1.1.0\r\n");
}

void DemoServer::setManifest(const QByteArray &text)
{
    std::lock_guard lock(d->mutex);
    d->manifest = text;
    d->manifestFile.clear();
}

void DemoServer::setManifestFile(const QString &path)
{
    std::lock_guard lock(d->mutex);
    d->manifestFile = path;
}

void DemoServer::setFile(const QString &path, const QByteArray &body, const QByteArray &contentType,
                         int status, const QList<QPair<QByteArray, QByteArray>> &headers)
{
    CannedFile file{status, toStd(body), toStd(contentType), {}};
    for (const auto &[name, value] : headers)
        file.headers.emplace_back(toStd(name), toStd(value));
    std::lock_guard lock(d->mutex);
    d->files[path.toStdString()] = std::move(file);
}

void DemoServer::removeFile(const QString &path)
{
    std::lock_guard lock(d->mutex);
    d->files.erase(path.toStdString());
}

void DemoServer::setAutoLogin(bool on)
{
    d->login.setAutoLogin(on);
}

int DemoServer::requestCount(const QString &path) const
{
    std::lock_guard lock(d->mutex);
    const auto found = d->seen.find(path.toStdString());
    return found == d->seen.end() ? 0 : found->second.count;
}

QByteArray DemoServer::lastCookies(const QString &path) const
{
    return d->lastSeen(path, &Impl::Seen::cookies);
}

QByteArray DemoServer::lastQuery(const QString &path) const
{
    return d->lastSeen(path, &Impl::Seen::query);
}
