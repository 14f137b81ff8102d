#include "NoFollowFile.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

std::filesystem::path fileSystemPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Hidden, and named so that nobody mistakes it for the file itself.
QString temporaryTemplate(const QString &target)
{
    const QFileInfo info(target);
    return info.absolutePath() + "/." + info.fileName() + ".XXXXXX";
}

#ifdef Q_OS_UNIX
mode_t modeOf(QFileDevice::Permissions permissions)
{
    const unsigned bits = permissions.toInt();
    return mode_t(((bits >> 12) & 07) << 6 | ((bits >> 4) & 07) << 3 | (bits & 07));
}
#endif

} // namespace

NoFollowSaveFile::NoFollowSaveFile(const QString &target)
    : m_target(target), m_file(temporaryTemplate(target))
{
}

NoFollowSaveFile::~NoFollowSaveFile()
{
    cancelWriting();
}

bool NoFollowSaveFile::open()
{
    m_failed = false;
    m_written = m_writtenBack = 0;
    return m_file.open();
}

bool NoFollowSaveFile::write(const char *data, qint64 size)
{
    if (!m_file.isOpen() || m_file.write(data, size) != size) {
        m_failed = true;
        return false;
    }
    m_written += size;
    if (m_written - m_writtenBack >= WriteBehindBytes) {
        StartWriteBack();
    }
    return true;
}

// Without it a large file sits dirty in memory until the commit's sync, which then writes all of
// it while the caller waits; started early, the write-back runs while the rest still arrives.
void NoFollowSaveFile::StartWriteBack()
{
    if (!m_file.flush()) {
        m_failed = true;
        return;
    }
#ifdef Q_OS_LINUX
    // Only starts the writing, never waits for it; an error shows again at the commit's fsync.
    ::sync_file_range(m_file.handle(), m_writtenBack, m_written - m_writtenBack,
                      SYNC_FILE_RANGE_WRITE);
#endif
    m_writtenBack = m_written;
}

bool NoFollowSaveFile::commit(QFileDevice::Permissions permissions)
{
    if (!m_file.isOpen() || m_failed || !m_file.flush()) {
        cancelWriting();
        return false;
    }
#ifdef Q_OS_UNIX
    // On the open file: the name could be swapped meanwhile, the descriptor cannot.
    const bool settled =
        ::fchmod(m_file.handle(), modeOf(permissions)) == 0 && ::fsync(m_file.handle()) == 0;
#else
    const bool settled = m_file.setPermissions(permissions);
#endif
    const QString written = m_file.fileName();
    m_file.close();
    std::error_code error;
    if (settled) {
        // rename() replaces the directory entry itself, whatever kind it is; a folder in the way
        // makes it fail.
        std::filesystem::rename(fileSystemPath(written), fileSystemPath(m_target), error);
    }
    if (!settled || error) {
        m_file.remove();
        return false;
    }
    m_file.setAutoRemove(false);
    return true;
}

void NoFollowSaveFile::cancelWriting()
{
    m_file.close();
    // Once committed the written file bears the target's name and is no longer ours to remove.
    if (m_file.autoRemove() && !m_file.fileName().isEmpty()) {
        m_file.remove();
    }
}

std::optional<QByteArray> ReadRegularFile(const QString &path, qint64 maxBytes)
{
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
#else
    QFile file(path);
    if (QFileInfo(path).isSymLink() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
#endif
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes || file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace platform
