#include "FolderAccess.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_UNIX

bool CanReplaceProgram(const QString &programFile)
{
    const QFileInfo program(programFile);
    const QByteArray folder = QFile::encodeName(program.absolutePath());
    if (::access(folder.constData(), W_OK | X_OK) != 0) {
        return false;
    }
    const QByteArray file = QFile::encodeName(program.absoluteFilePath());
    // A missing file is one the folder lets us create.
    return ::access(file.constData(), W_OK) == 0 || errno == ENOENT;
}

#else

bool CanReplaceProgram(const QString &programFile)
{
    const QFileInfo program(programFile);
    return QFileInfo(program.absolutePath()).isWritable() &&
           (!program.exists() || program.isWritable());
}

#endif

} // namespace platform
