#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QUrl;

namespace platform {

// The zoom of each site the player changed it for, kept in a small file that is written whole on
// every change, so it survives a restart. A site is a host name; an unknown site is at 1.
class SiteZoom {
public:
    // The engine's own step for Ctrl+wheel, and its limits.
    static constexpr double Step = 0.1;
    static constexpr double Smallest = 0.25;
    static constexpr double Largest = 5.0;
    // Nothing unbounded: the oldest sites go past this many, and a larger file is not read.
    static constexpr int MaxSites = 200;
    static constexpr qint64 MaxFileBytes = 64 * 1024;

    // The client's store, in its data folder (the one that also holds the web profile).
    static SiteZoom &Shared();

    explicit SiteZoom(QString path);

    double For(const QString &site) const;
    // Back to 1 forgets the site. False when the file could not be written (the zoom still
    // holds for this run).
    bool Set(const QString &site, double factor);

    // The host of an http(s) address, in lower case; empty for anything else.
    static QString SiteOf(const QUrl &url);
    // The factor a number of steps away (negative: smaller), within the limits; no steps: 1.
    static double Stepped(double factor, int steps);

private:
    void Load();
    bool Save() const;

    QString m_path;
    QList<QPair<QString, double>> m_sites; // the most recently changed last
};

} // namespace platform
