#include "Shell.h"

#include "WebAddress.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {
namespace {

bool openLocalFile(const QString &path, const QStringList &arguments)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        return false;
    }
    if (file.isFile() && file.isExecutable()) {
        return StartProgram(path, arguments);
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

bool StartProgram(const QString &program, const QStringList &arguments)
{
    const QFileInfo file(program);
    if (!file.isAbsolute() || !file.isFile() || !file.isExecutable()) {
        return false;
    }
    return QProcess::startDetached(file.absoluteFilePath(), arguments, file.absolutePath());
}

} // namespace platform
