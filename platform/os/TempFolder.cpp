#include "TempFolder.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
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
    return true;
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
