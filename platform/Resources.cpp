#include "Resources.h"

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

bool SaveResourceToFile(const QString &type, int id, const QString &filePath)
{
    if (!HasResource(type, id)) {
        return false;
    }
    const QByteArray bytes = LoadResource(type, id);
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace platform
