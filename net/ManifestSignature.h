#pragma once

#include <QByteArray>

#include <optional>

// A detached signature in the format of the `minisign` tool, so that an operator signs the
// manifest with `minisign -S -m update.txt` and nothing of ours. Only the prehashed form that
// minisign writes by default (BLAKE2b-512 of the file, algorithm "ED") is taken; the legacy form
// that signs the bare file is refused. The trusted comment is covered by a second signature over
// the file's signature and the comment, so its signing time cannot be changed either.
class ManifestSignature {
public:
    static constexpr int KeyIdBytes = 8;

    // The four lines of a .minisig file: untrusted comment, signature, trusted comment, global
    // signature. Nothing when the text is not of that form.
    static std::optional<ManifestSignature> Parse(const QByteArray &minisig);

    // Whether both signatures hold for `message` under the key of `publicKeyLine`, the line that
    // `minisign -G` prints (base64 of "Ed", the key id and the 32-byte public key). A key that
    // cannot be read verifies nothing.
    bool Verify(const QByteArray &message, const QByteArray &publicKeyLine) const;

    QByteArray TrustedComment() const { return m_trustedComment; }

    // The signing time that minisign writes into the trusted comment ("timestamp:" and seconds
    // since 1970); nothing when the comment carries none.
    std::optional<qint64> SignedAt() const;

private:
    QByteArray m_keyId;
    QByteArray m_signature;
    QByteArray m_trustedComment;
    QByteArray m_globalSignature;
};
