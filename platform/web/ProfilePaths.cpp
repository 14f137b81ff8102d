#include "ProfilePaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform::ProfilePaths {

QString Data()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/vantor";
}

QString Storage()
{
    return Data() + "/profile";
}

QString Cache()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/vantor";
}

QString EarlierStorage()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           "/QtWebEngine/vantor";
}

QString MoveOver(const QString &earlier, const QString &pinned)
{
    const QFileInfo found(earlier);
    if (QFileInfo::exists(pinned) || !found.isDir() || found.isSymLink()) {
        return pinned;
    }
    if (!QDir().mkpath(QFileInfo(pinned).absolutePath()) || !QDir().rename(earlier, pinned)) {
        return earlier;
    }
    return pinned;
}

} // namespace platform::ProfilePaths
