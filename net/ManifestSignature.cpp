#include "ManifestSignature.h"

#include <QList>
#include <QRegularExpression>

#include <sodium.h>

namespace {

const QByteArray UntrustedPrefix = "untrusted comment: ";
const QByteArray TrustedPrefix = "trusted comment: ";
const QByteArray PrehashedAlgorithm = "ED";
const QByteArray KeyAlgorithm = "Ed";
const int AlgorithmBytes = 2;

std::optional<QByteArray> strictBase64(const QByteArray &text, qsizetype expectedBytes)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != expectedBytes) {
        return std::nullopt;
    }
    return decoded.decoded;
}

// Lines end in LF or CR LF; one line end after the last line is allowed, nothing else after it.
std::optional<QList<QByteArray>> fourLines(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() == 5 && lines.last().isEmpty()) {
        lines.removeLast();
    }
    if (lines.size() != 4) {
        return std::nullopt;
    }
    for (QByteArray &line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

bool verifyDetached(const QByteArray &signature, const QByteArray &message,
                    const QByteArray &publicKey)
{
    return crypto_sign_verify_detached(
               reinterpret_cast<const unsigned char *>(signature.data()),
               reinterpret_cast<const unsigned char *>(message.data()), quint64(message.size()),
               reinterpret_cast<const unsigned char *>(publicKey.data())) == 0;
}

QByteArray blake2b512(const QByteArray &message)
{
    QByteArray hash(crypto_generichash_BYTES_MAX, '\0');
    crypto_generichash(reinterpret_cast<unsigned char *>(hash.data()), size_t(hash.size()),
                       reinterpret_cast<const unsigned char *>(message.data()),
                       quint64(message.size()), nullptr, 0);
    return hash;
}

} // namespace

std::optional<ManifestSignature> ManifestSignature::Parse(const QByteArray &minisig)
{
    const std::optional<QList<QByteArray>> lines = fourLines(minisig);
    if (!lines || !(*lines)[0].startsWith(UntrustedPrefix) ||
        !(*lines)[2].startsWith(TrustedPrefix)) {
        return std::nullopt;
    }
    const std::optional<QByteArray> signatureLine =
        strictBase64((*lines)[1], AlgorithmBytes + KeyIdBytes + crypto_sign_BYTES);
    const std::optional<QByteArray> global = strictBase64((*lines)[3], crypto_sign_BYTES);
    if (!signatureLine || !global || !signatureLine->startsWith(PrehashedAlgorithm)) {
        return std::nullopt;
    }
    ManifestSignature parsed;
    parsed.m_keyId = signatureLine->mid(AlgorithmBytes, KeyIdBytes);
    parsed.m_signature = signatureLine->mid(AlgorithmBytes + KeyIdBytes);
    parsed.m_trustedComment = (*lines)[2].mid(TrustedPrefix.size());
    parsed.m_globalSignature = *global;
    return parsed;
}

bool ManifestSignature::Verify(const QByteArray &message, const QByteArray &publicKeyLine) const
{
    const std::optional<QByteArray> key = strictBase64(
        publicKeyLine.trimmed(), AlgorithmBytes + KeyIdBytes + crypto_sign_PUBLICKEYBYTES);
    if (!key || !key->startsWith(KeyAlgorithm) || sodium_init() < 0) {
        return false;
    }
    const QByteArray publicKey = key->mid(AlgorithmBytes + KeyIdBytes);
    // A signature by another key is refused by its key id before any arithmetic.
    return key->mid(AlgorithmBytes, KeyIdBytes) == m_keyId &&
           verifyDetached(m_signature, blake2b512(message), publicKey) &&
           verifyDetached(m_globalSignature, m_signature + m_trustedComment, publicKey);
}

std::optional<qint64> ManifestSignature::SignedAt() const
{
    static const QRegularExpression timestamp("(?:^|[\\t ])timestamp:([0-9]{1,18})(?![0-9])");
    const QRegularExpressionMatch match = timestamp.match(QString::fromUtf8(m_trustedComment));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match.captured(1).toLongLong();
}
