#include "TempFolder.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

QString withOneTrailingSeparator(const QString &path)
{
    QString native = QDir::toNativeSeparators(QDir::cleanPath(path));
    while (native.endsWith(QDir::separator())) {
        native.chop(1);
    }
    return native + QDir::separator();
}

#ifdef Q_OS_UNIX

// What someone else left in the folder while it was open to others (a socket listening under the
// link's name, say) is theirs, not ours to trust or talk to: it goes. False when something of
// theirs cannot be removed (a folder with their files in it); the folder is not private then.
bool removeForeignEntries(const QByteArray &path)
{
    const int folder = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR *entries = folder >= 0 ? ::fdopendir(folder) : nullptr;
    if (!entries) {
        if (folder >= 0) {
            ::close(folder);
        }
        return false;
    }
    bool clean = true;
    while (const dirent *entry = ::readdir(entries)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        struct stat info {};
        if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            info.st_uid == ::geteuid()) {
            continue;
        }
        const int flags = S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0;
        clean = ::unlinkat(folder, entry->d_name, flags) == 0 && clean;
    }
    ::closedir(entries);
    return clean;
}

bool isPrivateDirectoryOfMine(const QByteArray &path)
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) {
        return false;
    }
    return removeForeignEntries(path);
}

bool ensurePrivateDirectory(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return isPrivateDirectoryOfMine(encoded);
}

bool isUsableBase(const QString &base)
{
    return !base.isEmpty() && QFileInfo(base).isDir();
}

QString privateFolderPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isUsableBase(runtime)) {
        // The runtime folder is already private to the user; a subfolder keeps our files together.
        const QString path = QDir(runtime).filePath("vantor");
        if (ensurePrivateDirectory(path)) {
            return path;
        }
    }
    QString base = qEnvironmentVariable("TMPDIR");
    if (!isUsableBase(base)) {
        base = "/tmp";
    }
    const QString path = QDir(base).filePath(QString("vantor-%1").arg(::geteuid()));
    return ensurePrivateDirectory(path) ? path : QString();
}

#else

QString privateFolderPath()
{
    // The Windows temporary folder already lives inside the user's own profile.
    return QDir::tempPath();
}

#endif

} // namespace

QString PrivateTempFolder()
{
    const QString path = privateFolderPath();
    return path.isEmpty() ? QString() : withOneTrailingSeparator(path);
}

} // namespace platform
