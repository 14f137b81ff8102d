#pragma once

#include <QByteArray>
#include <QString>

// The static pages, compiled in as Qt resources so the server needs no files next to it. The
// resource tree under site/ mirrors the URL space one to one.
namespace DemoSite {

struct Response {
    int status = 404;
    QByteArray body;
    QByteArray contentType;
    QByteArray location;
};

Response lookup(const QString &urlPath);

} // namespace DemoSite
