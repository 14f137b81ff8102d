#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// A home of the run's own for the web engine's profile (cookies, cache, web storage), so a run
// never sees nor leaves behind what another run, or the player's own client, keeps. Made before
// the engine starts; removed when the run ends.
class EngineHome {
public:
    EngineHome()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath("data")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_home.filePath("cache")));
    }
    QString path() const { return m_home.path(); }

private:
    QTemporaryDir m_home;
};
