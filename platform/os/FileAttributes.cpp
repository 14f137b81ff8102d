#include "FileAttributes.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#endif

namespace platform {

bool SetHiddenAttribute(const QString &path)
{
#ifdef Q_OS_WIN
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(native.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesW(native.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
#else
    Q_UNUSED(path);
    return true;
#endif
}

} // namespace platform
