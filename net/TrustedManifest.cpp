#include "TrustedManifest.h"

#include "ManifestSignature.h"
#include "net/AppConfig.h"
#include "platform/os/NoFollowFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The client's data folder is named after the client (its application name); the updater runs
// under a name of its own, so both spell the folder out.
const char DataFolderName[] = "Vantor";
const char StateFileName[] = "update-signed-at";
const char SignatureSuffix[] = ".minisig";
const qint64 StateMaxBytes = 32;

} // namespace

TrustedManifest::TrustedManifest()
    : m_publicKey(QByteArray(AppConfig::UpdateKey).trimmed()), m_stateFile(DefaultStateFile())
{
}

QString TrustedManifest::SignatureFileOf(const QString &manifestFile)
{
    return manifestFile + SignatureSuffix;
}

QString TrustedManifest::DefaultStateFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/" +
           DataFolderName + "/" + StateFileName;
}

TrustedManifest::Reading TrustedManifest::Read(const QString &manifestFile) const
{
    Reading reading;
    const std::optional<QByteArray> manifest =
        platform::ReadRegularFile(manifestFile, ManifestMaxBytes);
    if (!manifest) {
        return reading;
    }
    if (!IsSigningRequired()) {
        return {Verdict::Unsigned, *manifest, 0};
    }
    reading.verdict = Verdict::Unverified;
    const std::optional<QByteArray> minisig =
        platform::ReadRegularFile(SignatureFileOf(manifestFile), SignatureMaxBytes);
    const std::optional<ManifestSignature> signature =
        minisig ? ManifestSignature::Parse(*minisig) : std::nullopt;
    if (!signature || !signature->Verify(*manifest, m_publicKey)) {
        return reading;
    }
    // Without a signing time an old manifest could not be told from a new one.
    const std::optional<qint64> signedAt = signature->SignedAt();
    if (!signedAt) {
        return reading;
    }
    if (*signedAt < NewestAccepted().value_or(0)) {
        reading.verdict = Verdict::Replayed;
        return reading;
    }
    return {Verdict::Accepted, *manifest, *signedAt};
}

std::optional<qint64> TrustedManifest::NewestAccepted() const
{
    const std::optional<QByteArray> text = platform::ReadRegularFile(m_stateFile, StateMaxBytes);
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 seconds = text->trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(seconds) : std::nullopt;
}

void TrustedManifest::Remember(const Reading &reading) const
{
    if (reading.verdict != Verdict::Accepted || reading.signedAt <= NewestAccepted().value_or(0)) {
        return;
    }
    if (!QDir().mkpath(QFileInfo(m_stateFile).absolutePath())) {
        return;
    }
    platform::NoFollowSaveFile file(m_stateFile);
    if (file.open() && file.write(QByteArray::number(reading.signedAt) + "\n")) {
        file.commit(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}
