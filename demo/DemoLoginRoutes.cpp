#include "DemoLoginRoutes.h"

#include "DemoSite.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrlQuery>

#include <httplib.h>

#include <array>

namespace {

using httplib::Request;
using httplib::Response;

const char *const HtmlType = "text/html; charset=utf-8";
const char *const JsonType = "application/json; charset=utf-8";
const QByteArray LoginConfigMark = "@LOGIN_CONFIG@";
const QByteArray CrossOriginMark = "@CROSS_ORIGIN@";
const QString MissingCredentials = QStringLiteral("请输入账号和密码");
constexpr std::size_t SessionIdBytes = 16;

struct Credentials {
    QString account;
    QString password;
};

// Browsers post forms with '+' for a space; QUrlQuery would keep it as a literal plus.
Credentials parseLoginForm(const std::string &body)
{
    const QUrlQuery form(QString::fromUtf8(body.data(), qsizetype(body.size()))
                             .replace(u'+', QStringLiteral("%20")));
    return {form.queryItemValue(QStringLiteral("account"), QUrl::FullyDecoded).trimmed(),
            form.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded)};
}

// Only a bare host[:port] may go into addresses handed to the client; anything else in Host (a
// path, user info, spaces) could steer the client's main window somewhere else.
bool isPlainAuthority(const QString &authority)
{
    static const QRegularExpression plain(
        QStringLiteral(R"(^(?:[A-Za-z0-9.-]+|\[[0-9A-Fa-f:.]+\])(?::[0-9]{1,5})?$)"));
    return plain.match(authority).hasMatch();
}

QString localAuthority(const Request &req)
{
    const QString address = QString::fromStdString(req.local_addr);
    const QString host = address.contains(u':') ? u'[' + address + u']' : address;
    return host + u':' + QString::number(req.local_port);
}

// The address the client used to reach us, so the game address works on whatever port and name
// the server was started with.
QString requestAuthority(const Request &req)
{
    const QString host = QString::fromStdString(req.get_header_value("Host"));
    return isPlainAuthority(host) ? host : localAuthority(req);
}

QString gameAddress(const Request &req)
{
    return QStringLiteral("http://%1/game/").arg(requestAuthority(req));
}

QString hostNameOf(const QString &authority)
{
    if (authority.startsWith(u'['))
        return authority.left(authority.indexOf(u']') + 1);
    return authority.section(u':', 0, 0);
}

// localhost and 127.0.0.1 reach the same server but are different origins to a browser; whichever
// one the page came from, the frame takes the other.
QString crossOriginOf(const Request &req)
{
    const bool cameViaLocalhost =
        hostNameOf(requestAuthority(req)).compare(u"localhost", Qt::CaseInsensitive) == 0;
    return QStringLiteral("http://%1:%2")
        .arg(cameViaLocalhost ? QStringLiteral("127.0.0.1") : QStringLiteral("localhost"))
        .arg(req.local_port);
}

QByteArray sessionFromCookies(const Request &req)
{
    const QByteArray prefix = QByteArray(DemoLoginRoutes::SessionCookie) + '=';
    const std::size_t headers = req.get_header_value_count("Cookie");
    for (std::size_t i = 0; i < headers; ++i) {
        const QByteArray line = QByteArray::fromStdString(req.get_header_value("Cookie", i));
        for (const QByteArray &pair : line.split(';')) {
            const QByteArray trimmed = pair.trimmed();
            if (trimmed.startsWith(prefix))
                return trimmed.mid(prefix.size());
        }
    }
    return {};
}

QByteArray newSessionId()
{
    std::array<quint32, SessionIdBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), qsizetype(words.size()));
    return QByteArray(reinterpret_cast<const char *>(words.data()), SessionIdBytes).toHex();
}

// The settings go into an inline script; user names are typed by visitors, so '<' is escaped to
// keep a name like "</script>" from ending the script early.
QByteArray scriptLiteral(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).replace("<", "\\u003c");
}

void sendJson(Response &res, int status, const QJsonObject &object)
{
    res.status = status;
    res.set_content(QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString(), JsonType);
}

// Fills the one mark in a page template; a page served without its mark would reach the browser
// broken, so a missing mark is a server error rather than a silent pass-through.
void serveTemplate(const QString &path, const QByteArray &mark, const QByteArray &value,
                   Response &res)
{
    DemoSite::Response page = DemoSite::lookup(path);
    if (page.status == 200 && !page.body.contains(mark)) {
        page.status = 500;
        page.body = "page template without its mark\n";
        page.contentType = "text/plain; charset=utf-8";
    }
    res.status = page.status;
    // What the page shows depends on the visitor, so a cached copy would be wrong for the next.
    res.set_header("Cache-Control", "no-store");
    res.set_content(page.body.replace(mark, value).toStdString(), page.contentType.toStdString());
}

void serveEmptyPage(const Request &, Response &res)
{
    res.set_content("", HtmlType);
}

} // namespace

void DemoLoginRoutes::addRoutes(httplib::Server &server)
{
    server.Get(R"(/qvmrwd/(index\.html)?)", [this](const Request &req, Response &res) {
        QJsonObject config{{"autoLogin", autoLogin.load()}};
        const QString user = userOfSession(sessionFromCookies(req));
        if (!user.isEmpty()) {
            config.insert("user", user);
            config.insert("game", gameAddress(req));
        }
        serveTemplate(QStringLiteral("/qvmrwd/index.html"), LoginConfigMark, scriptLiteral(config),
                      res);
    });
    server.Post("/qvmrwd/login", [this](const Request &req, Response &res) {
        const Credentials given = parseLoginForm(req.body);
        if (given.account.isEmpty() || given.password.isEmpty()) {
            sendJson(res, 400, {{"error", MissingCredentials}});
            return;
        }
        const QByteArray session = openSession(given.account);
        res.set_header(
            "Set-Cookie",
            (QByteArray(SessionCookie) + '=' + session + "; Path=/; HttpOnly").toStdString());
        res.set_header("Cache-Control", "no-store");
        sendJson(res, 200, {{"game", gameAddress(req)}});
    });
    server.Get("/qvmrwd/test/frames.html", [](const Request &req, Response &res) {
        serveTemplate(QStringLiteral("/qvmrwd/test/frames.html"), CrossOriginMark,
                      crossOriginOf(req).toUtf8(), res);
    });
    // A document with nothing in it at all: no head, no body, no title. Kept out of the site
    // files so nobody "fixes" it by adding a comment.
    server.Get("/qvmrwd/test/empty.html", serveEmptyPage);
}

void DemoLoginRoutes::setAutoLogin(bool on)
{
    autoLogin = on;
}

QByteArray DemoLoginRoutes::openSession(const QString &user)
{
    const QByteArray session = newSessionId();
    std::lock_guard lock(mutex);
    usersBySession[session] = user;
    return session;
}

QString DemoLoginRoutes::userOfSession(const QByteArray &session) const
{
    std::lock_guard lock(mutex);
    const auto found = usersBySession.find(session);
    return found == usersBySession.end() ? QString() : found->second;
}
