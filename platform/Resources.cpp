#include "Resources.h"

#include "NoFollowFile.h"

#include <QFile>
#include <QSaveFile>

namespace platform {
namespace {

QString resourcePath(const QString &type, int id)
{
    return QString(":/vantor/%1/%2").arg(type.toUpper()).arg(id);
}

} // namespace

QByteArray LoadResource(const QString &type, int id)
{
    QFile file(resourcePath(type, id));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool HasResource(const QString &type, int id)
{
    return QFile::exists(resourcePath(type, id));
}

QImage LoadBitmapResource(int id)
{
    return QImage::fromData(LoadResource("BITMAP", id));
}

QImage LoadDesignPicture(const QString &name)
{
    return QImage(QString(":/vantor/design/%1").arg(name));
}

bool SaveResourceToFile(const QString &type, int id, const QString &filePath,
                        QFileDevice::Permissions permissions)
{
    if (!HasResource(type, id)) {
        return false;
    }
    NoFollowSaveFile file(filePath);
    return file.open() && file.write(LoadResource(type, id)) && file.commit(permissions);
}

} // namespace platform
