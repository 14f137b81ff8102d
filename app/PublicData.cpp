#include "PublicData.h"

#include "platform/os/NoFollowFile.h"
#include "platform/os/Resources.h"
#include "platform/os/TempFolder.h"

namespace PublicData {

QString GetTempFolder()
{
    return platform::PrivateTempFolder();
}

bool SaveResourceToFile(int id, const QString &type, const QString &filePath,
                        QFileDevice::Permissions permissions)
{
    return platform::SaveResourceToFile(type, id, filePath, permissions);
}

QImage LoadPngResource(int id, const QString &type)
{
    return platform::LoadPictureResource(type, id);
}

} // namespace PublicData
