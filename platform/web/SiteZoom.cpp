#include "SiteZoom.h"

#include "platform/web/ProfilePaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

const char FileName[] = "site-zoom.txt";

// Factors are kept to the hundredth, so steps add up to the values the engine shows.
double rounded(double factor)
{
    return std::round(factor * 100.0) / 100.0;
}

bool isSite(const QString &site)
{
    return !site.isEmpty() && site.size() <= 253 &&
           std::none_of(site.begin(), site.end(), [](QChar c) { return c.isSpace(); });
}

bool inRange(double factor)
{
    return factor >= SiteZoom::Smallest && factor <= SiteZoom::Largest;
}

} // namespace

SiteZoom &SiteZoom::Shared()
{
    static SiteZoom store(QDir(ProfilePaths::Data()).filePath(FileName));
    return store;
}

SiteZoom::SiteZoom(QString path) : m_path(std::move(path))
{
    Load();
}

double SiteZoom::For(const QString &site) const
{
    for (const auto &entry : m_sites) {
        if (entry.first == site) {
            return entry.second;
        }
    }
    return 1.0;
}

bool SiteZoom::Set(const QString &site, double factor)
{
    if (!isSite(site) || !inRange(factor)) {
        return false;
    }
    factor = rounded(factor);
    if (For(site) == factor) {
        return true;
    }
    m_sites.removeIf([&](const auto &entry) { return entry.first == site; });
    if (factor != 1.0) {
        m_sites.append({site, factor});
    }
    while (m_sites.size() > MaxSites) {
        m_sites.removeFirst();
    }
    return Save();
}

QString SiteZoom::SiteOf(const QUrl &url)
{
    const bool web =
        url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return web ? url.host().toLower() : QString();
}

double SiteZoom::Stepped(double factor, int steps)
{
    if (steps == 0) {
        return 1.0;
    }
    return std::clamp(rounded(factor + steps * Step), Smallest, Largest);
}

// One site a line: its name and its factor. Lines that say anything else are passed over.
void SiteZoom::Load()
{
    QFile file(m_path);
    if (QFileInfo(file).size() > MaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        return;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool number = false;
        const double factor = fields.size() == 2 ? fields[1].toDouble(&number) : 0.0;
        const QString site = QString::fromUtf8(fields[0]);
        if (number && isSite(site) && inRange(factor) && factor != 1.0) {
            m_sites.removeIf([&](const auto &entry) { return entry.first == site; });
            m_sites.append({site, rounded(factor)});
        }
    }
    while (m_sites.size() > MaxSites) {
        m_sites.removeFirst();
    }
}

bool SiteZoom::Save() const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        return false;
    }
    QByteArray text;
    for (const auto &entry : m_sites) {
        text += entry.first.toUtf8() + ' ' + QByteArray::number(entry.second) + '\n';
    }
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

} // namespace platform
