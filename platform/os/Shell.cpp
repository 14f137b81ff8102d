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
        return QProcess::startDetached(file.absoluteFilePath(), arguments, file.absolutePath());
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

} // namespace platform
