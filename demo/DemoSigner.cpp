#include "DemoSigner.h"

#include <QDateTime>
#include <QFile>
#include <QList>

#include <sodium.h>

namespace DemoSigner {
namespace {

// The layout of a decoded minisign secret key: algorithms, key derivation parameters, then the
// key id, the secret key and a checksum. "\0\0" as the derivation algorithm means unencrypted.
const qsizetype KeyFileBytes = 158;
const qsizetype KeyIdOffset = 54;
const qsizetype KeyIdBytes = 8;
const qsizetype SecretOffset = KeyIdOffset + KeyIdBytes;

QByteArray resource(const char *path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray signDetached(const QByteArray &message, const QByteArray &secretKey)
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char *>(message.data()),
                         quint64(message.size()),
                         reinterpret_cast<const unsigned char *>(secretKey.data()));
    return signature;
}

} // namespace

QByteArray DemoSecretKey()
{
    return resource(":/vantor-demo/demo-update-key.secret.key");
}

QByteArray DemoPublicKey()
{
    const QList<QByteArray> lines = resource(":/vantor-demo/demo-update-key.pub").split('\n');
    return lines.size() > 1 ? lines[1].trimmed() : QByteArray();
}

QByteArray Sign(const QByteArray &secretKeyFile, const QByteArray &message,
                const QByteArray &trustedComment)
{
    const QList<QByteArray> lines = secretKeyFile.split('\n');
    const QByteArray key = lines.size() > 1 ? QByteArray::fromBase64(lines[1].trimmed()) : "";
    if (key.size() != KeyFileBytes || !key.startsWith(QByteArray("Ed\0\0B2", 6)) ||
        sodium_init() < 0) {
        return {};
    }
    const QByteArray keyId = key.mid(KeyIdOffset, KeyIdBytes);
    const QByteArray secret = key.mid(SecretOffset, crypto_sign_SECRETKEYBYTES);
    QByteArray hash(crypto_generichash_BYTES_MAX, '\0');
    crypto_generichash(reinterpret_cast<unsigned char *>(hash.data()), size_t(hash.size()),
                       reinterpret_cast<const unsigned char *>(message.data()),
                       quint64(message.size()), nullptr, 0);
    const QByteArray signature = signDetached(hash, secret);
    const QByteArray global = signDetached(signature + trustedComment, secret);
    return "untrusted comment: signature from the Vantor demo key\n" +
           (QByteArray("ED") + keyId + signature).toBase64() +
           "\ntrusted comment: " + trustedComment + "\n" + global.toBase64() + "\n";
}

QByteArray DefaultTrustedComment(qint64 signedAt, const QString &fileName)
{
    return "timestamp:" + QByteArray::number(signedAt) + "\tfile:" + fileName.toUtf8() + "\thashed";
}

QByteArray SignWithDemoKey(const QByteArray &message, const QString &fileName)
{
    return Sign(DemoSecretKey(), message,
                DefaultTrustedComment(QDateTime::currentSecsSinceEpoch(), fileName));
}

} // namespace DemoSigner
