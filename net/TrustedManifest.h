#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The update manifest as far as it can be trusted. The manifest comes over the network and names
// the files the updater puts into the client's folder, so with the build's update key set it is
// taken only beside a valid minisign signature (the manifest's name plus ".minisig") and only when
// it was signed no earlier than the newest manifest accepted before: an old signed manifest must
// not bring back an old client. The newest signing time is kept in the client's data folder.
// With no key, the manifest is taken as it is.
//
// The client reads it after its download and the updater again before it touches anything, each
// through this one class.
class TrustedManifest {
public:
    static constexpr qint64 ManifestMaxBytes = 64 * 1024;
    // A minisig file is some 300 bytes; its comments are at most a line each.
    static constexpr qint64 SignatureMaxBytes = 4 * 1024;

    enum class Verdict {
        Unsigned,   // no key was built in: the manifest is taken as it is
        Accepted,   // the signature holds and the manifest is not older than one seen before
        NoManifest, // no manifest to read (or one over the cap)
        Unverified, // the signature is missing, garbled, of another file or key, or undated
        Replayed,   // signed before the newest manifest accepted so far
    };

    struct Reading {
        Verdict verdict = Verdict::NoManifest;
        QByteArray manifest; // only for Unsigned and Accepted
        qint64 signedAt = 0;
        bool IsUsable() const
        {
            return verdict == Verdict::Unsigned || verdict == Verdict::Accepted;
        }
    };

    // The build's key (VANTOR_UPDATE_KEY) and the state file in the client's data folder.
    TrustedManifest();

    void SetPublicKey(const QByteArray &publicKeyLine) { m_publicKey = publicKeyLine.trimmed(); }
    void SetStateFile(const QString &path) { m_stateFile = path; }
    bool IsSigningRequired() const { return !m_publicKey.isEmpty(); }

    Reading Read(const QString &manifestFile) const;

    // Keeps the signing time of an accepted manifest when it is the newest so far.
    void Remember(const Reading &reading) const;

    static QString SignatureFileOf(const QString &manifestFile);
    static QString DefaultStateFile();

private:
    std::optional<qint64> NewestAccepted() const;

    QByteArray m_publicKey;
    QString m_stateFile;
};
