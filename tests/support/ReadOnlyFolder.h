#pragma once

#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>

// A folder this test cannot write, even as root (where permissions refuse nothing): a read-only
// bind of the folder over itself, in a mount namespace private to the calling thread, entered
// once. Undone when it goes. IsReadOnly() is false where no namespace can be had (not root); the
// test then skips.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder) : m_path(QFile::encodeName(folder))
    {
        static const bool isolated =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        m_mounted = isolated &&
                    ::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0;
        m_readOnly = m_mounted && ::mount(nullptr, m_path.constData(), nullptr,
                                          MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted) {
            ::umount2(m_path.constData(), MNT_DETACH);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool IsReadOnly() const { return m_readOnly; }

private:
    QByteArray m_path;
    bool m_mounted = false;
    bool m_readOnly = false;
};
