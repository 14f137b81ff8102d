#include "Shell.h"

#include "WebAddress.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {
namespace {

bool startProgramNow(const QString &program, const QStringList &arguments)
{
    const QFileInfo file(program);
    if (!file.isAbsolute() || !file.isFile() || !file.isExecutable()) {
        return false;
    }
    return QProcess::startDetached(file.absoluteFilePath(), arguments, file.absolutePath());
}

// Marked executable by its mode, whatever the folder it lies in allows: a program that cannot
// run there must not be opened as a document instead (a browser showing its bytes).
bool markedExecutable(const QFileInfo &file)
{
    return file.permissions() & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

bool openLocalFile(const QString &path, const QStringList &arguments)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        return false;
    }
    if (file.isFile() && markedExecutable(file)) {
        return StartProgram(file.absoluteFilePath(), arguments);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

bool shellOpenNow(const QString &target, const QStringList &arguments)
{
    if (QFileInfo(target).isAbsolute()) {
        return openLocalFile(target, arguments);
    }
    const QUrl url(target, QUrl::StrictMode);
    return IsWebAddress(url) && QDesktopServices::openUrl(url);
}

} // namespace

ShellOpenService &ShellOpenProvider()
{
    static ShellOpenService service(shellOpenNow);
    return service;
}

bool ShellOpen(const QString &target, const QStringList &arguments)
{
    return ShellOpenProvider()(target, arguments);
}

StartProgramService &StartProgramProvider()
{
    static StartProgramService service(startProgramNow);
    return service;
}

bool StartProgram(const QString &program, const QStringList &arguments)
{
    return StartProgramProvider()(program, arguments);
}

} // namespace platform
