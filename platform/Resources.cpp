#include "Resources.h"

#include <QFile>

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

} // namespace platform
