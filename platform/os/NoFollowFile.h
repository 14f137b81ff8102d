#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QTemporaryFile>

#include <optional>

namespace platform {

// A file written whole or not at all that is never written through a link. The bytes go to a
// new file created beside the target (exclusively, so nothing already there is opened), which
// then takes the target's name; whatever stood under that name is replaced, not followed: a
// planted symbolic link is the link that goes, not the file it points to. QSaveFile would write
// to the link's target instead.
class NoFollowSaveFile {
public:
    explicit NoFollowSaveFile(const QString &target);
    ~NoFollowSaveFile();
    NoFollowSaveFile(const NoFollowSaveFile &) = delete;
    NoFollowSaveFile &operator=(const NoFollowSaveFile &) = delete;

    bool open();
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &bytes) { return write(bytes.constData(), bytes.size()); }

    // Sets the permissions on the new file itself, syncs it to disk and moves it over the
    // target. False leaves the target as it was. The disk has been taking the bytes since they
    // were written (every few MiB the kernel is told to start writing them back), so the sync
    // here waits for little more than the last stretch.
    bool commit(QFileDevice::Permissions permissions = DefaultPermissions);
    void cancelWriting();

    static constexpr QFileDevice::Permissions DefaultPermissions{
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
        QFileDevice::ReadOther};

    // How many written bytes the kernel is asked to start putting on disk at a time.
    static constexpr qint64 WriteBehindBytes = 8 << 20;

private:
    void StartWriteBack();

    QString m_target;
    QTemporaryFile m_file;
    bool m_failed = false;
    qint64 m_written = 0;
    qint64 m_writtenBack = 0;
};

// The content of a regular file, read without following a link and without waiting on a pipe
// or device planted under the name; nothing when the file is not one, cannot be read or holds
// more than maxBytes.
std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 maxBytes);

} // namespace platform
