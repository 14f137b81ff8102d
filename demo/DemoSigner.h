#pragma once

#include <QByteArray>
#include <QString>

// Signs files the way `minisign -S` does (prehashed, with a trusted comment that carries the
// signing time), so the demo server can sign whatever manifest it serves at the moment it serves
// it. The demo key's secret half is public in demo/: it proves nothing outside the demo.
namespace DemoSigner {

// The demo key: the secret key file as `minisign -G -W` wrote it, and its public key line (the
// build's default VANTOR_UPDATE_KEY).
QByteArray DemoSecretKey();
QByteArray DemoPublicKey();

// The text of a .minisig file for `message` under an unencrypted minisign secret key file, with
// the given trusted comment; empty when the key file cannot be read.
QByteArray Sign(const QByteArray &secretKeyFile, const QByteArray &message,
                const QByteArray &trustedComment);

// The trusted comment minisign writes by default: the signing time, the file's name, "hashed".
QByteArray DefaultTrustedComment(qint64 signedAt, const QString &fileName);

// Signs with the demo key, dated now.
QByteArray SignWithDemoKey(const QByteArray &message, const QString &fileName);

} // namespace DemoSigner
