#include "UpdateManifest.h"

#include "net/VersionCheck.h"

namespace UpdateManifest {

QString FileNameOf(const QString &address)
{
    return address.mid(address.lastIndexOf('/') + 1);
}

bool IsSafeFileName(const QString &name)
{
    if (name.isEmpty() || name == "." || name == "..") {
        return false;
    }
    for (const QChar c : name) {
        if (c == '/' || c == '\\' || c.unicode() < 0x20 || c.unicode() == 0x7F) {
            return false;
        }
    }
    return true;
}

QList<DownloadLine> DownloadLines(const QByteArray &manifest)
{
    QList<DownloadLine> downloads;
    for (const QString &line : VersionCheck::ManifestLines(manifest)) {
        if (!line.toLower().contains("version")) {
            continue;
        }
        const QStringList fields = line.split('|');
        if (fields.size() < 2) {
            continue;
        }
        const QString address = fields[1].trimmed();
        const QString name = FileNameOf(address);
        if (address.isEmpty() || !IsSafeFileName(name)) {
            continue;
        }
        downloads.append({address, name});
    }
    return downloads;
}

} // namespace UpdateManifest
