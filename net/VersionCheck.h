#pragma once

#include "TrustedManifest.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class KubDownLoadFile;

// Compares the client's version with the update manifest's and, when they differ and the player
// agrees, hands over to the updater. The same check runs at start-up and from the main window's
// menu; the two callers differ in what they say when nothing is new and in how they end.
//
// The manifest comes from the network: one larger than ManifestMaxBytes is refused like a
// failed download, and a fetch that has not ended by the deadline is given up together with
// the check, so a slow or hostile server cannot hold the client. With an update key built in, the
// manifest's signature is fetched beside it under the same deadline, and a manifest that is not
// trusted (TrustedManifest) offers nothing: start-up goes on, the menu says it could not verify.
class VersionCheck {
public:
    static constexpr qint64 ManifestMaxBytes = TrustedManifest::ManifestMaxBytes;

    enum class Caller { Startup, Menu };
    enum class Outcome {
        Continue,  // nothing to do, declined, or the updater could not be started
        HandedOff, // the updater runs; the caller must end the client now
    };

    // How the check talks to the player: a message box with the text, title and flags of
    // platform::MessageBox, returning the button pressed. The check has no windows of its own;
    // whoever runs it passes the boxes of the windows it owns.
    using MessageBoxFunction =
        std::function<int(const QString &text, const QString &title, unsigned flags)>;

    VersionCheck(KubDownLoadFile &downloader, Caller caller, MessageBoxFunction messageBox);

    Outcome Run();

    // Run for the menu's update command: when the updater has taken over, the owner window's
    // exit flag is set and the window closed, so it ends without asking for confirmation.
    Outcome RunAndCloseOwner(bool &bExitFlag, const std::function<void()> &closeOwner);

    // Stops a running check at its download; it then ends silently whatever the manifest says,
    // for a player who left meanwhile.
    void Abandon();

    // Defaults: the build's version, the update server's manifest, the running executable.
    void SetLocalVersion(const QString &version) { m_localVersion = version; }
    void SetManifestAddress(const QString &address) { m_manifestAddress = address; }
    void SetClientExecutable(const QString &path) { m_clientExecutable = path; }
    // How long the manifest's fetch may take before the check is given up (15 s unless set).
    void SetDeadline(int milliseconds) { m_deadlineMs = milliseconds; }
    // The key the manifest must be signed with (the build's unless set; empty: unsigned) and the
    // file that keeps the newest signing time accepted.
    void SetUpdateKey(const QByteArray &publicKeyLine) { m_trust.SetPublicKey(publicKeyLine); }
    void SetTrustStateFile(const QString &path) { m_trust.SetStateFile(path); }

    static QString LocalVersion();
    static QString ManifestAddress();

    // The manifest's lines, in the system's code page; a line ends at CR, CR LF or LF.
    static QStringList ManifestLines(const QByteArray &manifest);

    // The version named by a manifest: the first line mentioning "version" in any case, from its
    // ninth character, up to an optional "|" that starts an address, trimmed of spaces. Lines end
    // at CR, CR LF or LF. Nothing when no line mentions a version.
    static std::optional<QString> ManifestVersion(const QByteArray &manifest);

    // The updater's one argument: the client's folder, "|", the client's executable.
    static QString HandOffArgument(const QString &clientExecutable);

private:
    bool FetchManifest(const QString &manifestFile);
    bool HandOff();
    void Tell(const char *text, unsigned icon) const;

    KubDownLoadFile &m_downloader;
    Caller m_caller;
    MessageBoxFunction m_messageBox;
    QString m_localVersion;
    QString m_manifestAddress;
    QString m_clientExecutable;
    int m_deadlineMs = 15000;
    TrustedManifest m_trust;
    bool m_abandoned = false;
};
