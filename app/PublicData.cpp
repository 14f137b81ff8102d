#include "PublicData.h"

#include "platform/Resources.h"
#include "platform/TempFolder.h"

#include <QSaveFile>

namespace PublicData {

QString GetTempFolder()
{
    return platform::PrivateTempFolder();
}

bool SaveResourceToFile(int id, const QString &type, const QString &filePath)
{
    if (!platform::HasResource(type, id)) {
        return false;
    }
    const QByteArray bytes = platform::LoadResource(type, id);
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

QImage LoadPngResource(int id, const QString &type)
{
    QImage image;
    image.loadFromData(platform::LoadResource(type, id), "PNG");
    return image;
}

} // namespace PublicData
