#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QImage>
#include <QString>

// Helpers shared by the client's windows.
namespace PublicData {

// The client's icon, written to the temporary folder by the login window for the windows after it.
inline constexpr char IconFileName[] = "qvmr.ico";

// The user's private temporary folder with exactly one trailing separator; empty when no
// private folder can be had (callers then have nowhere safe to write).
QString GetTempFolder();

// Writes the raw bytes of resource (type, id) to the file, creating or replacing it whole, with
// the given permissions. A symbolic link or anything else standing under the name is replaced,
// never written through. Fails, leaving any existing file as it was, when the resource is
// unknown or the file cannot be written.
bool SaveResourceToFile(int id, const QString &type, const QString &filePath,
                        QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                               QFileDevice::WriteOwner);

// Decodes a picture resource carried with its alpha channel (the splash and the backdrop).
QImage LoadPngResource(int id, const QString &type);

} // namespace PublicData
