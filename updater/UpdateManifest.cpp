#include "UpdateManifest.h"

#include "net/VersionCheck.h"

#include <QRegularExpression>

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
    // Code points, not halves of surrogate pairs; a lone half comes out as U+FFFD here.
    for (const char32_t c : name.toUcs4()) {
        if (c == '/' || c == '\\' || c == QChar::ReplacementCharacter) {
            return false;
        }
        switch (QChar::category(c)) {
        case QChar::Other_Control: // C0, DEL, C1 (U+0085 among them)
        case QChar::Other_Format:  // U+202E and the other direction marks, zero widths
        case QChar::Other_Surrogate:
        case QChar::Other_NotAssigned:
        case QChar::Separator_Line:      // U+2028
        case QChar::Separator_Paragraph: // U+2029
            return false;
        default:
            break;
        }
    }
    return true;
}

QByteArray Sha256Field(const QString &field)
{
    static const QRegularExpression form("^sha256=([0-9A-Fa-f]{64})$");
    const QRegularExpressionMatch match = form.match(field.trimmed());
    return match.hasMatch() ? QByteArray::fromHex(match.captured(1).toLatin1()) : QByteArray();
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
        downloads.append(
            {address, name, fields.size() > 2 ? Sha256Field(fields[2]) : QByteArray()});
    }
    return downloads;
}

} // namespace UpdateManifest
