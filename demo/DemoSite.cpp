#include "DemoSite.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString SiteRoot = QStringLiteral(":/vantor-demo/site");

QByteArray contentTypeFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"html")
        return "text/html; charset=utf-8";
    if (suffix == u"css")
        return "text/css; charset=utf-8";
    if (suffix == u"js")
        return "text/javascript; charset=utf-8";
    if (suffix == u"svg")
        return "image/svg+xml; charset=utf-8";
    if (suffix == u"txt")
        return "text/plain; charset=utf-8";
    return "application/octet-stream";
}

DemoSite::Response notFound()
{
    return {404, "not found\n", "text/plain; charset=utf-8", {}};
}

DemoSite::Response fileResponse(const QString &resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return notFound();
    return {200, file.readAll(), contentTypeFor(resourcePath), {}};
}

// Relative links inside a page only resolve against its folder when the URL ends in a slash.
DemoSite::Response slashRedirect(const QString &urlPath)
{
    return {301, {}, "text/plain; charset=utf-8", (urlPath + u'/').toUtf8()};
}

} // namespace

namespace DemoSite {

Response lookup(const QString &urlPath)
{
    if (!urlPath.startsWith(u'/') || urlPath.contains(u"..") || urlPath.contains(u'\\'))
        return notFound();
    const QString resourcePath = SiteRoot + urlPath;
    if (urlPath.endsWith(u'/'))
        return fileResponse(resourcePath + QStringLiteral("index.html"));
    if (QFileInfo(resourcePath).isDir())
        return slashRedirect(urlPath);
    return fileResponse(resourcePath);
}

} // namespace DemoSite
