#include "DemoFaultRoutes.h"
#include "DemoPayload.h"
#include "DemoServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

constexpr int ReplyTimeoutMs = 5000;
// The server drops idle connections after 2 s; a close sooner than this ended the response itself.
constexpr qint64 PromptCloseMs = 1500;

// What came over the wire, before any client library interprets it.
struct RawReply {
    int status = 0;
    QHash<QByteArray, QByteArray> headers; // names lower-cased
    QByteArray body;                       // as sent, still chunk-encoded if it was
    bool closedByServer = false;
    int reads = 0;
    qint64 elapsedMs = 0;
};

QByteArray payload(quint64 offset, qsizetype count)
{
    return DemoPayload::bytes(offset, count);
}

void parseHead(const QByteArray &head, RawReply &reply)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> statusWords = lines.value(0).trimmed().split(' ');
    reply.status = statusWords.value(1).toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            reply.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                 lines[i].mid(colon + 1).trimmed());
    }
}

// Reads until the server closes or the timeout runs out; the request does not ask for the
// connection to be closed, so a close is the server's own doing. A Host line in extraHeaders
// replaces the usual one.
RawReply rawRequest(quint16 port, const QByteArray &method, const QByteArray &target,
                    const QByteArray &extraHeaders = {}, int timeoutMs = ReplyTimeoutMs,
                    const QByteArray &body = {})
{
    RawReply reply;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(timeoutMs))
        return reply;
    QElapsedTimer clock;
    clock.start();
    const bool ownHost = ("\n" + extraHeaders.toLower()).contains("\nhost:");
    const QByteArray host =
        ownHost ? QByteArray() : "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
    const bool hasBody = method == "POST" || !body.isEmpty();
    const QByteArray length =
        hasBody ? "Content-Length: " + QByteArray::number(body.size()) + "\r\n" : QByteArray();
    socket.write(method + ' ' + target + " HTTP/1.1\r\n" + host + extraHeaders + length + "\r\n" +
                 body);
    QByteArray data;
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < timeoutMs) {
        if (socket.waitForReadyRead(int(timeoutMs - clock.elapsed()))) {
            data += socket.readAll();
            ++reply.reads;
        }
    }
    data += socket.readAll();
    reply.elapsedMs = clock.elapsed();
    reply.closedByServer = socket.state() == QAbstractSocket::UnconnectedState;
    const qsizetype headEnd = data.indexOf("\r\n\r\n");
    parseHead(data.left(headEnd), reply);
    reply.body = headEnd < 0 ? QByteArray() : data.mid(headEnd + 4);
    return reply;
}

std::optional<QByteArray> dechunk(const QByteArray &encoded)
{
    QByteArray decoded;
    qsizetype at = 0;
    while (true) {
        const qsizetype lineEnd = encoded.indexOf("\r\n", at);
        bool isHex = false;
        const qsizetype size = encoded.mid(at, lineEnd - at).toLongLong(&isHex, 16);
        if (lineEnd < 0 || !isHex || encoded.size() < lineEnd + 2 + size + 2)
            return std::nullopt;
        if (size == 0)
            return decoded;
        decoded += encoded.mid(lineEnd + 2, size);
        at = lineEnd + 2 + size + 2;
    }
}

QByteArray decodedBody(const RawReply &reply)
{
    if (reply.headers.value("transfer-encoding") != "chunked")
        return reply.body;
    return dechunk(reply.body).value_or("<malformed chunked body>");
}

QList<QByteArray> sitePages()
{
    return {"/",
            "/qvmrwd/",
            "/qvmrwd/notice.html",
            "/qvmrwd/test/links.html",
            "/qvmrwd/test/frames.html",
            "/qvmrwd/test/newwindow.html",
            "/portal/",
            "/home/",
            "/game/",
            "/game/frame.html",
            "/game/popup.html"};
}

const QByteArray FormType = "Content-Type: application/x-www-form-urlencoded\r\n";

QJsonObject jsonOf(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object();
}

// The per-visitor settings the server writes into the login page's inline script.
std::optional<QJsonObject> loginConfigOf(const QByteArray &html)
{
    static const QRegularExpression assignment(R"(var loginConfig = (.*);\n)");
    const QRegularExpressionMatch found = assignment.match(QString::fromUtf8(html));
    if (!found.hasMatch())
        return std::nullopt;
    const QJsonDocument config = QJsonDocument::fromJson(found.captured(1).toUtf8());
    if (!config.isObject())
        return std::nullopt;
    return config.object();
}

std::optional<QNetworkCookie> sessionCookieOf(const RawReply &reply)
{
    const QList<QNetworkCookie> cookies =
        QNetworkCookie::parseCookies(reply.headers.value("set-cookie"));
    if (cookies.size() != 1 || cookies.first().name() != "vantor_session")
        return std::nullopt;
    return cookies.first();
}

} // namespace

class tst_DemoServer : public QObject {
    Q_OBJECT

private:
    DemoServer server;

    RawReply get(const QByteArray &target, const QByteArray &extraHeaders = {})
    {
        return rawRequest(server.port(), "GET", target, extraHeaders);
    }

    RawReply post(const QByteArray &target, const QByteArray &form,
                  const QByteArray &extraHeaders = {})
    {
        return rawRequest(server.port(), "POST", target, FormType + extraHeaders, ReplyTimeoutMs,
                          form);
    }

    QByteArray logIn(const QByteArray &account)
    {
        const RawReply reply = post("/qvmrwd/login", "account=" + account + "&password=pw");
        const std::optional<QNetworkCookie> cookie = sessionCookieOf(reply);
        return cookie ? cookie->value() : QByteArray();
    }

private slots:
    void initTestCase() { QVERIFY(server.start()); }
    void cleanup()
    {
        server.setManifest(DemoServer::defaultManifest());
        server.removeFile("/qvmrwd/");
        server.removeFile("/custom/answer");
        server.setAutoLogin(false);
    }

    void payloadSlicesAgree_data();
    void payloadSlicesAgree();
    void payloadHasNoShortPeriod();

    void faultOnTheWire_data();
    void faultOnTheWire();
    void faultThroughAccessManager_data();
    void faultThroughAccessManager();
    void badQueryIsRejected_data();
    void badQueryIsRejected();
    void slowRouteIsPaced_data();
    void slowRouteIsPaced();
    void stopCutsSlowTransferShort();

    void defaultManifestOffersNoUpdate();
    void manifestCanBeReplaced();
    void manifestFileIsReadOnEveryRequest();
    void cannedFile_data();
    void cannedFile();

    void sitePage_data();
    void sitePage();
    void siteLinksResolve();
    void gamePageOpensWindowAndFrame();
    void siteRouting_data();
    void siteRouting();

    void login_data();
    void login();
    void loginSetsSessionCookie();
    void gameAddressFollowsHost_data();
    void gameAddressFollowsHost();
    void loginPageKnowsSession_data();
    void loginPageKnowsSession();
    void userNameStaysInsideScript();
    void autoLoginReachesPage_data();
    void autoLoginReachesPage();
    void crossOriginFrame_data();
    void crossOriginFrame();
    void emptyPageIsEmpty();

    void twoServersGetDistinctPorts();
    void restartsOnTheSamePort();
    void busyPortIsRefused();
};

void tst_DemoServer::payloadSlicesAgree_data()
{
    QTest::addColumn<quint64>("offset");
    QTest::addColumn<qsizetype>("count");
    QTest::newRow("start") << quint64(0) << qsizetype(17);
    QTest::newRow("inside one block") << quint64(5) << qsizetype(2);
    QTest::newRow("across blocks") << quint64(7) << qsizetype(19);
    QTest::newRow("odd offset") << quint64(12289) << qsizetype(1000);
    QTest::newRow("across 4 GiB") << quint64(4294967290) << qsizetype(20);
    QTest::newRow("near 1 TiB") << (quint64(1) << 40) - 3 << qsizetype(3);
}

// Resumed and ranged downloads verify a slice on its own; it must match the same bytes taken
// out of a longer run that started earlier.
void tst_DemoServer::payloadSlicesAgree()
{
    QFETCH(quint64, offset);
    QFETCH(qsizetype, count);
    const quint64 earlier = offset - offset % 64;
    const QByteArray longer = payload(earlier, qsizetype(offset - earlier) + count + 64);
    QCOMPARE(payload(offset, count), longer.mid(qsizetype(offset - earlier), count));
}

void tst_DemoServer::payloadHasNoShortPeriod()
{
    const QByteArray window = payload(0, 4096);
    const quint64 shifts[] = {1, 2, 4, 8, 16, 256, 4096, 65536, quint64(1) << 32, quint64(1) << 40};
    for (const quint64 shift : shifts)
        QVERIFY2(payload(shift, window.size()) != window, QByteArray::number(shift));
}

void tst_DemoServer::faultOnTheWire_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("extraHeaders");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("contentLength"); // -1: no Content-Length header at all
    QTest::addColumn<QByteArray>("transferEncoding");
    QTest::addColumn<QByteArray>("location");
    QTest::addColumn<QByteArray>("body");

    const qint64 absent = -1;
    QTest::newRow("404") << QByteArray("GET") << QByteArray("/fault/404") << QByteArray() << 404
                         << qint64(10) << QByteArray() << QByteArray() << QByteArray("not found\n");
    QTest::newRow("payload") << QByteArray("GET") << QByteArray("/fault/payload") << QByteArray()
                             << 200 << DemoFault::PayloadBytes << QByteArray() << QByteArray()
                             << payload(0, DemoFault::PayloadBytes);
    QTest::newRow("payload range") << QByteArray("GET") << QByteArray("/fault/payload")
                                   << QByteArray("Range: bytes=100-199\r\n") << 206 << qint64(100)
                                   << QByteArray() << QByteArray() << payload(100, 100);
    QTest::newRow("redirect") << QByteArray("GET") << QByteArray("/fault/redirect") << QByteArray()
                              << 302 << qint64(0) << QByteArray() << QByteArray("/fault/payload")
                              << QByteArray();
    QTest::newRow("nolength") << QByteArray("GET") << QByteArray("/fault/nolength") << QByteArray()
                              << 200 << absent << QByteArray() << QByteArray()
                              << payload(0, DemoFault::NoLengthBytes);
    QTest::newRow("chunked") << QByteArray("GET") << QByteArray("/fault/chunked") << QByteArray()
                             << 200 << absent << QByteArray("chunked") << QByteArray()
                             << payload(0, DemoFault::ChunkedBytes);
    QTest::newRow("truncated") << QByteArray("GET") << QByteArray("/fault/truncated")
                               << QByteArray() << 200 << DemoFault::TruncatedDeclaredBytes
                               << QByteArray() << QByteArray()
                               << payload(0, DemoFault::TruncatedSentBytes);
    QTest::newRow("big") << QByteArray("GET") << QByteArray("/fault/big?bytes=123457")
                         << QByteArray() << 200 << qint64(123457) << QByteArray() << QByteArray()
                         << payload(0, 123457);
    QTest::newRow("big default") << QByteArray("GET") << QByteArray("/fault/big") << QByteArray()
                                 << 200 << DemoFault::BigDefaultBytes << QByteArray()
                                 << QByteArray() << payload(0, DemoFault::BigDefaultBytes);
    QTest::newRow("big empty") << QByteArray("GET") << QByteArray("/fault/big?bytes=0")
                               << QByteArray() << 200 << qint64(0) << QByteArray() << QByteArray()
                               << QByteArray();
    QTest::newRow("big head past 4 GiB")
        << QByteArray("HEAD") << QByteArray("/fault/big?bytes=5000000000") << QByteArray() << 200
        << qint64(5000000000) << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("big range past 4 GiB")
        << QByteArray("GET") << QByteArray("/fault/big?bytes=5000000000")
        << QByteArray("Range: bytes=4999999990-\r\n") << 206 << qint64(10) << QByteArray()
        << QByteArray() << payload(4999999990, 10);
}

// Every response ends with the server closing at once: for nolength that close is the only end
// marker, for truncated it is the fault itself.
void tst_DemoServer::faultOnTheWire()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, extraHeaders);
    QFETCH(int, status);
    QFETCH(qint64, contentLength);
    QFETCH(QByteArray, transferEncoding);
    QFETCH(QByteArray, location);
    QFETCH(QByteArray, body);

    const RawReply reply = rawRequest(server.port(), method, target, extraHeaders);
    QVERIFY(reply.closedByServer);
    QVERIFY2(reply.elapsedMs < PromptCloseMs, QByteArray::number(reply.elapsedMs));
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.headers.value("content-length", "-1").toLongLong(), contentLength);
    QCOMPARE(reply.headers.value("transfer-encoding"), transferEncoding);
    QCOMPARE(reply.headers.value("location"), location);
    QCOMPARE(decodedBody(reply).size(), body.size());
    QVERIFY(decodedBody(reply) == body);
}

void tst_DemoServer::faultThroughAccessManager_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QNetworkReply::NetworkError>("error");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("finalPath");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("404") << "/fault/404" << QNetworkReply::ContentNotFoundError << 404
                         << "/fault/404" << QByteArray("not found\n");
    QTest::newRow("redirect followed") << "/fault/redirect" << QNetworkReply::NoError << 200
                                       << "/fault/payload" << payload(0, DemoFault::PayloadBytes);
    QTest::newRow("nolength") << "/fault/nolength" << QNetworkReply::NoError << 200
                              << "/fault/nolength" << payload(0, DemoFault::NoLengthBytes);
    QTest::newRow("chunked") << "/fault/chunked" << QNetworkReply::NoError << 200
                             << "/fault/chunked" << payload(0, DemoFault::ChunkedBytes);
    QTest::newRow("truncated") << "/fault/truncated" << QNetworkReply::RemoteHostClosedError << 200
                               << "/fault/truncated" << payload(0, DemoFault::TruncatedSentBytes);
    QTest::newRow("big") << "/fault/big?bytes=300001" << QNetworkReply::NoError << 200
                         << "/fault/big" << payload(0, 300001);
}

// The download code sits on QNetworkAccessManager: each fault must reach it as this outcome.
void tst_DemoServer::faultThroughAccessManager()
{
    QFETCH(QString, path);
    QFETCH(QNetworkReply::NetworkError, error);
    QFETCH(int, status);
    QFETCH(QString, finalPath);
    QFETCH(QByteArray, body);

    QNetworkAccessManager manager;
    QByteArray received;
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl(server.baseUrl() + path)));
    connect(reply, &QIODevice::readyRead, this, [&] { received += reply->readAll(); });
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(ReplyTimeoutMs));
    received += reply->readAll();

    QCOMPARE(reply->error(), error);
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
    QCOMPARE(reply->url().path(), finalPath);
    QCOMPARE(received.size(), body.size());
    QVERIFY(received == body);
    delete reply;
}

void tst_DemoServer::badQueryIsRejected_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::newRow("big size not a number") << QByteArray("/fault/big?bytes=lots");
    QTest::newRow("big size negative") << QByteArray("/fault/big?bytes=-1");
    QTest::newRow("big size over 1 TiB") << QByteArray("/fault/big?bytes=1099511627777");
    QTest::newRow("slow without bytes") << QByteArray("/fault/slow?bytes=0");
    QTest::newRow("slow for hours") << QByteArray("/fault/slow?ms=99999999");
    QTest::newRow("slow in no pieces") << QByteArray("/fault/slow?pieces=0");
    QTest::newRow("slow size with junk") << QByteArray("/fault/slow?bytes=12x");
}

void tst_DemoServer::badQueryIsRejected()
{
    QFETCH(QByteArray, target);
    QCOMPARE(get(target).status, 400);
}

void tst_DemoServer::slowRouteIsPaced_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("minimumMs");
    QTest::addColumn<int>("pieces");
    QTest::newRow("six even pieces")
        << QByteArray("?bytes=6000&ms=600&pieces=6") << qint64(6000) << qint64(600) << 6;
    QTest::newRow("uneven pieces")
        << QByteArray("?bytes=1000&ms=300&pieces=3") << qint64(1000) << qint64(300) << 3;
    QTest::newRow("defaults") << QByteArray() << DemoFault::SlowDefaultBytes
                              << qint64(DemoFault::SlowDefaultMs) << DemoFault::SlowDefaultPieces;
}

// Progress and stall handling are tested against this route, so it must really trickle: never
// faster than asked, and in separate arrivals rather than one burst at the end.
void tst_DemoServer::slowRouteIsPaced()
{
    QFETCH(QByteArray, query);
    QFETCH(qint64, bytes);
    QFETCH(qint64, minimumMs);
    QFETCH(int, pieces);

    const RawReply reply = get("/fault/slow" + query);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.headers.value("content-length").toLongLong(), bytes);
    QVERIFY(reply.body == payload(0, bytes));
    QVERIFY2(reply.elapsedMs >= minimumMs, QByteArray::number(reply.elapsedMs));
    QVERIFY2(reply.reads > pieces / 2, QByteArray::number(reply.reads));
}

void tst_DemoServer::stopCutsSlowTransferShort()
{
    DemoServer own;
    QVERIFY(own.start());
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, own.port());
    QVERIFY(socket.waitForConnected(ReplyTimeoutMs));
    socket.write("GET /fault/slow?bytes=100&ms=20000 HTTP/1.1\r\nHost: x\r\n\r\n");
    QVERIFY(socket.waitForReadyRead(ReplyTimeoutMs)); // headers out: the transfer is under way

    QElapsedTimer clock;
    clock.start();
    own.stop();
    QVERIFY2(clock.elapsed() < 1000, QByteArray::number(clock.elapsed()));
    QVERIFY(!own.isRunning());
}

void tst_DemoServer::defaultManifestOffersNoUpdate()
{
    const RawReply reply = get("/gamehome/qvmr/update.txt");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.headers.value("content-type"), QByteArray("text/plain"));
    QCOMPARE(reply.body, QByteArray("[update]\r\nversion=1.1.0\r\n"));
}

void tst_DemoServer::manifestCanBeReplaced()
{
    const QByteArray newer = "[update]\r\nversion=1.2.0\r\nfile=Vantor-1.2.0.exe\r\n";
    server.setManifest(newer);
    QCOMPARE(get("/gamehome/qvmr/update.txt").body, newer);
}

void tst_DemoServer::manifestFileIsReadOnEveryRequest()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("update.txt");
    const auto writeManifest = [&](const QByteArray &text) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    server.setManifestFile(path);

    writeManifest("[update]\r\nversion=1.3.0\r\n");
    QCOMPARE(get("/gamehome/qvmr/update.txt").body, QByteArray("[update]\r\nversion=1.3.0\r\n"));
    writeManifest("[update]\r\nversion=1.4.0\r\n");
    QCOMPARE(get("/gamehome/qvmr/update.txt").body, QByteArray("[update]\r\nversion=1.4.0\r\n"));
    QVERIFY(QFile::remove(path));
    QCOMPARE(get("/gamehome/qvmr/update.txt").status, 404);
}

void tst_DemoServer::cannedFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("statusWithout");
    QTest::newRow("replaces a built-in page") << "/qvmrwd/" << 200;
    QTest::newRow("adds a new path") << "/custom/answer" << 404;
}

void tst_DemoServer::cannedFile()
{
    QFETCH(QString, path);
    QFETCH(int, statusWithout);

    server.setFile(path, "{\"ok\":true}", "application/json", 201);
    const RawReply canned = get(path.toUtf8() + "?ignored=1");
    QCOMPARE(canned.status, 201);
    QCOMPARE(canned.headers.value("content-type"), QByteArray("application/json"));
    QCOMPARE(canned.body, QByteArray("{\"ok\":true}"));

    server.removeFile(path);
    QCOMPARE(get(path.toUtf8()).status, statusWithout);
}

void tst_DemoServer::sitePage_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("index") << QByteArray("/") << "演示服务器";
    QTest::newRow("login") << QByteArray("/qvmrwd/") << "账号登录";
    QTest::newRow("portal") << QByteArray("/portal/") << "<title>Vantor 官方网站</title>";
    QTest::newRow("home") << QByteArray("/home/") << "游戏主页";
    QTest::newRow("game") << QByteArray("/game/") << "<title>Vantor - 得分 0</title>";
    QTest::newRow("game frame") << QByteArray("/game/frame.html") << "战况播报";
    QTest::newRow("game popup") << QByteArray("/game/popup.html") << "排行榜";
    QTest::newRow("login notice") << QByteArray("/qvmrwd/notice.html") << "公告";
    QTest::newRow("test links") << QByteArray("/qvmrwd/test/links.html") << "id=\"query\"";
    QTest::newRow("test alert") << QByteArray("/qvmrwd/test/alert.html") << "after dialogs";
    QTest::newRow("test frames") << QByteArray("/qvmrwd/test/frames.html") << "id=\"cross\"";
    QTest::newRow("test frame") << QByteArray("/qvmrwd/test/frame.html") << "id=\"exit\"";
    QTest::newRow("test title") << QByteArray("/qvmrwd/test/title.html") << "新标题";
    QTest::newRow("test new window") << QByteArray("/qvmrwd/test/newwindow.html") << "id=\"pop\"";
}

// The text must survive as UTF-8 and the browser must be told so, or the Chinese turns to mojibake.
void tst_DemoServer::sitePage()
{
    QFETCH(QByteArray, path);
    QFETCH(QString, text);
    const RawReply reply = get(path);
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.headers.value("content-type"), QByteArray("text/html; charset=utf-8"));
    QVERIFY(QString::fromUtf8(reply.body).contains(text));
}

void tst_DemoServer::siteLinksResolve()
{
    static const QRegularExpression localLink(R"re((?:href|src)="(/[^"]*)")re");
    for (const QByteArray &page : sitePages()) {
        const QString html = QString::fromUtf8(get(page).body);
        for (const QRegularExpressionMatch &link : localLink.globalMatch(html)) {
            const QByteArray target = link.captured(1).toUtf8();
            QVERIFY2(get(target).status == 200, page + " links to " + target);
        }
    }
}

void tst_DemoServer::gamePageOpensWindowAndFrame()
{
    const QString html = QString::fromUtf8(get("/game/").body);
    QVERIFY(html.contains(QRegularExpression(R"(<a [^>]*target="_blank")")));
    QVERIFY(html.contains(QRegularExpression(R"(<iframe [^>]*src="/game/frame.html")")));
}

void tst_DemoServer::siteRouting_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("folder without slash")
        << QByteArray("/portal") << 301 << QByteArray("location") << QByteArray("/portal/");
    QTest::newRow("style sheet") << QByteArray("/static/vantor.css") << 200
                                 << QByteArray("content-type")
                                 << QByteArray("text/css; charset=utf-8");
    QTest::newRow("script") << QByteArray("/game/orbs.js") << 200 << QByteArray("content-type")
                            << QByteArray("text/javascript; charset=utf-8");
    QTest::newRow("unknown page") << QByteArray("/nowhere/") << 404 << QByteArray() << QByteArray();
    QTest::newRow("climbing out") << QByteArray("/game/../../vantor-demo/site/index.html") << 404
                                  << QByteArray() << QByteArray();
}

void tst_DemoServer::siteRouting()
{
    QFETCH(QByteArray, path);
    QFETCH(int, status);
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, value);
    const RawReply reply = get(path);
    QCOMPARE(reply.status, status);
    if (!header.isEmpty())
        QCOMPARE(reply.headers.value(header), value);
}

void tst_DemoServer::login_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<bool>("accepted");

    const QByteArray login = "/qvmrwd/login";
    QTest::newRow("both present") << login << QByteArray("account=demo&password=demo") << true;
    QTest::newRow("empty account") << login << QByteArray("account=&password=demo") << false;
    QTest::newRow("empty password") << login << QByteArray("account=demo&password=") << false;
    QTest::newRow("both empty") << login << QByteArray("account=&password=") << false;
    QTest::newRow("no fields") << login << QByteArray() << false;
    QTest::newRow("blank account") << login << QByteArray("account=+%20+&password=demo") << false;
    QTest::newRow("password of one space")
        << login << QByteArray("account=demo&password=+") << true;
    QTest::newRow("encoded Chinese account")
        << login << QByteArray("account=%E7%8E%A9%E5%AE%B6&password=a%26b") << true;
    QTest::newRow("fields only in the query")
        << QByteArray("/qvmrwd/login?account=demo&password=demo") << QByteArray() << false;
}

void tst_DemoServer::login()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, form);
    QFETCH(bool, accepted);

    const RawReply reply = post(target, form);
    QCOMPARE(reply.headers.value("content-type"), QByteArray("application/json; charset=utf-8"));
    const QJsonObject answer = jsonOf(reply.body);
    if (accepted) {
        QCOMPARE(reply.status, 200);
        QCOMPARE(answer.value("game").toString(), server.baseUrl() + "/game/");
        QVERIFY(sessionCookieOf(reply));
    } else {
        QCOMPARE(reply.status, 400);
        QCOMPARE(answer.value("error").toString(), QStringLiteral("请输入账号和密码"));
        QVERIFY(!reply.headers.contains("set-cookie"));
    }
}

// The client keeps the cookie only for as long as it runs, and page scripts must not read it.
void tst_DemoServer::loginSetsSessionCookie()
{
    const RawReply first = post("/qvmrwd/login", "account=demo&password=demo");
    const std::optional<QNetworkCookie> cookie = sessionCookieOf(first);
    QVERIFY2(cookie, first.headers.value("set-cookie"));
    QVERIFY(cookie->isSessionCookie());
    QVERIFY(cookie->isHttpOnly());
    QCOMPARE(cookie->path(), QStringLiteral("/"));
    QVERIFY(cookie->domain().isEmpty());
    QVERIFY(cookie->value().size() >= 32);

    const std::optional<QNetworkCookie> second =
        sessionCookieOf(post("/qvmrwd/login", "account=demo&password=demo"));
    QVERIFY(second);
    QVERIFY(second->value() != cookie->value());
}

void tst_DemoServer::gameAddressFollowsHost_data()
{
    QTest::addColumn<QByteArray>("host");
    QTest::addColumn<QString>("game"); // empty: the address the server itself listens on

    QTest::newRow("address and port")
        << QByteArray("127.0.0.1:8123") << "http://127.0.0.1:8123/game/";
    QTest::newRow("name and port")
        << QByteArray("localhost:47811") << "http://localhost:47811/game/";
    QTest::newRow("no port") << QByteArray("vantor.test") << "http://vantor.test/game/";
    QTest::newRow("IPv6") << QByteArray("[::1]:9000") << "http://[::1]:9000/game/";
    QTest::newRow("path smuggled in") << QByteArray("evil.test/x?") << QString();
    QTest::newRow("user info smuggled in") << QByteArray("me@evil.test") << QString();
    QTest::newRow("empty") << QByteArray() << QString();
}

// The client opens whatever address comes back, so it must name the server as the client reached
// it, and never carry anything but a host and port out of the header.
void tst_DemoServer::gameAddressFollowsHost()
{
    QFETCH(QByteArray, host);
    QFETCH(QString, game);
    if (game.isEmpty())
        game = server.baseUrl() + "/game/";

    const RawReply reply =
        post("/qvmrwd/login", "account=demo&password=demo", "Host: " + host + "\r\n");
    QCOMPARE(reply.status, 200);
    QCOMPARE(jsonOf(reply.body).value("game").toString(), game);
}

void tst_DemoServer::loginPageKnowsSession_data()
{
    QTest::addColumn<QByteArray>("cookies"); // %1 stands for a session the server just issued
    QTest::addColumn<bool>("known");

    QTest::newRow("no cookie") << QByteArray() << false;
    QTest::newRow("issued session") << QByteArray("vantor_session=%1") << true;
    QTest::newRow("among other cookies") << QByteArray("a=1; vantor_session=%1; b=2") << true;
    QTest::newRow("made-up session") << QByteArray("vantor_session=0123456789abcdef") << false;
    QTest::newRow("empty session") << QByteArray("vantor_session=") << false;
    QTest::newRow("issued value, other name") << QByteArray("xvantor_session=%1") << false;
}

void tst_DemoServer::loginPageKnowsSession()
{
    QFETCH(QByteArray, cookies);
    QFETCH(bool, known);

    const QByteArray session = logIn("玩家");
    QVERIFY(!session.isEmpty());
    const QByteArray header =
        cookies.isEmpty() ? QByteArray() : "Cookie: " + cookies.replace("%1", session) + "\r\n";
    const RawReply page = get("/qvmrwd/", header);
    QCOMPARE(page.status, 200);
    const std::optional<QJsonObject> config = loginConfigOf(page.body);
    QVERIFY(config);
    QCOMPARE(config->value("user").toString(), known ? QStringLiteral("玩家") : QString());
    QCOMPARE(config->value("game").toString(), known ? server.baseUrl() + "/game/" : QString());
}

// Account names are whatever a visitor typed, and they come back inside an inline script.
void tst_DemoServer::userNameStaysInsideScript()
{
    const QString name = QStringLiteral("</script><script>alert(1)</script>");
    const QByteArray session = logIn(QUrl::toPercentEncoding(name));
    const RawReply page = get("/qvmrwd/", "Cookie: vantor_session=" + session + "\r\n");
    QVERIFY(!page.body.contains("<script>alert(1)"));
    const std::optional<QJsonObject> config = loginConfigOf(page.body);
    QVERIFY(config);
    QCOMPARE(config->value("user").toString(), name);
}

void tst_DemoServer::autoLoginReachesPage_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("autoLogin");
    QTest::newRow("folder, off") << QByteArray("/qvmrwd/") << false;
    QTest::newRow("folder, on") << QByteArray("/qvmrwd/") << true;
    QTest::newRow("file, off") << QByteArray("/qvmrwd/index.html") << false;
    QTest::newRow("file, on") << QByteArray("/qvmrwd/index.html") << true;
}

// Switched on a running server, so an earlier page with the other setting must not be reused.
void tst_DemoServer::autoLoginReachesPage()
{
    QFETCH(QByteArray, path);
    QFETCH(bool, autoLogin);

    server.setAutoLogin(!autoLogin);
    QVERIFY(get(path).status == 200);
    server.setAutoLogin(autoLogin);
    const RawReply page = get(path);
    QCOMPARE(page.status, 200);
    QCOMPARE(page.headers.value("cache-control"), QByteArray("no-store"));
    const std::optional<QJsonObject> config = loginConfigOf(page.body);
    QVERIFY(config);
    QCOMPARE(config->value("autoLogin").toBool(true), autoLogin);
}

void tst_DemoServer::crossOriginFrame_data()
{
    QTest::addColumn<QByteArray>("pageHost");
    QTest::addColumn<QByteArray>("frameHost");
    QTest::newRow("page via address") << QByteArray("127.0.0.1") << QByteArray("localhost");
    QTest::newRow("page via localhost") << QByteArray("localhost") << QByteArray("127.0.0.1");
    QTest::newRow("page via LOCALHOST") << QByteArray("LOCALHOST") << QByteArray("127.0.0.1");
}

// Whichever name the page was loaded by, the second frame must come from the other origin and
// still reach this server.
void tst_DemoServer::crossOriginFrame()
{
    QFETCH(QByteArray, pageHost);
    QFETCH(QByteArray, frameHost);

    const QByteArray port = QByteArray::number(server.port());
    const RawReply page =
        get("/qvmrwd/test/frames.html", "Host: " + pageHost + ':' + port + "\r\n");
    QCOMPARE(page.status, 200);
    static const QRegularExpression crossFrame(R"re(<iframe id="cross" src="([^"]*)")re");
    const QUrl frame(crossFrame.match(QString::fromUtf8(page.body)).captured(1));
    QCOMPARE(frame.scheme(), QStringLiteral("http"));
    QCOMPARE(frame.host(), QString::fromUtf8(frameHost));
    QCOMPARE(frame.port(), int(server.port()));
    QCOMPARE(get(frame.path().toUtf8()).status, 200);
}

void tst_DemoServer::emptyPageIsEmpty()
{
    const RawReply reply = get("/qvmrwd/test/empty.html");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.headers.value("content-type"), QByteArray("text/html; charset=utf-8"));
    QCOMPARE(reply.headers.value("content-length"), QByteArray("0"));
    QVERIFY(reply.headers.value("transfer-encoding").isEmpty());
    QVERIFY(reply.body.isEmpty());
}

void tst_DemoServer::twoServersGetDistinctPorts()
{
    DemoServer first;
    DemoServer second;
    QVERIFY(first.start());
    QVERIFY(second.start());
    QVERIFY(first.port() != 0);
    QVERIFY(second.port() != 0);
    QVERIFY(first.port() != second.port());
    QCOMPARE(second.baseUrl(), QStringLiteral("http://127.0.0.1:%1").arg(second.port()));
    second.setManifest("second");
    QCOMPARE(rawRequest(first.port(), "GET", "/gamehome/qvmr/update.txt").body,
             DemoServer::defaultManifest());
    QCOMPARE(rawRequest(second.port(), "GET", "/gamehome/qvmr/update.txt").body,
             QByteArray("second"));
}

// A request just before each stop leaves the closed connection lingering on the server's side;
// binding the same port again must still work.
void tst_DemoServer::restartsOnTheSamePort()
{
    DemoServer own;
    QVERIFY(own.start());
    const quint16 port = own.port();
    for (int round = 0; round < 3; ++round) {
        QCOMPARE(rawRequest(port, "GET", "/fault/404").status, 404);
        own.stop();
        QCOMPARE(own.port(), quint16(0));
        QCOMPARE(rawRequest(port, "GET", "/fault/404", {}, 500).status, 0);
        QVERIFY(own.start(port));
        QCOMPARE(own.port(), port);
    }
    QCOMPARE(rawRequest(port, "GET", "/fault/404").status, 404);
}

void tst_DemoServer::busyPortIsRefused()
{
    DemoServer second;
    QVERIFY(!second.start(server.port()));
    QVERIFY(!second.isRunning());
    QCOMPARE(second.port(), quint16(0));
    QVERIFY(second.baseUrl().isEmpty());
    QVERIFY(!server.start());
    QVERIFY(server.isRunning());
}

QTEST_GUILESS_MAIN(tst_DemoServer)
#include "tst_demoserver.moc"
