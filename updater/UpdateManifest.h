#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The download lines of the update manifest, the same file the client read its version from:
// every line that mentions "version" in any case, split at "|", names in its second field the
// address of a file to put into the client's folder. A third field "sha256=" with 64 hex digits
// gives the file's hash; programs that read the second field only are not disturbed by it.
namespace UpdateManifest {

struct DownloadLine {
    QString address;
    QString fileName;
    QByteArray sha256 = {}; // the 32 bytes of the hash; empty when the line gives none
    bool operator==(const DownloadLine &other) const = default;
};

// The hash a third field gives, or nothing when it is not "sha256=" and 64 hex digits.
QByteArray Sha256Field(const QString &field);

// The text after the address's last "/", or the whole address when it has none.
QString FileNameOf(const QString &address);

// A name the updater may write into the client's folder: the name comes from the network, so
// anything that could step out of the folder or hide in it ("", ".", "..", separators, control
// characters) is refused, and so is anything that could make a name look other than it is:
// invisible or direction-changing characters, line and paragraph separators, and bytes that
// were not valid UTF-8.
bool IsSafeFileName(const QString &name);

// The download lines in file order. Lines without an address field, with an empty address or
// with a name that is not safe are left out.
QList<DownloadLine> DownloadLines(const QByteArray &manifest);

} // namespace UpdateManifest
