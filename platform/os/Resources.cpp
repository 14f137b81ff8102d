#include "Resources.h"

#include "NoFollowFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
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

QIcon LoadIconResource(int id)
{
    QByteArray bytes = LoadResource("ICON", id);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    QIcon icon;
    for (QImage image = reader.read(); !image.isNull(); image = reader.read()) {
        icon.addPixmap(QPixmap::fromImage(image));
        if (!reader.jumpToNextImage()) {
            break;
        }
    }
    return icon;
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
