#include "StagedFiles.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const char StagingSuffix[] = ".vantor-update";

std::filesystem::path fileSystemPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QFileDevice::Permissions executablePermissions()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
           QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
           QFileDevice::ExeOther;
}

} // namespace

StagedFiles::StagedFiles(const QString &folder) : m_folder(folder) {}

StagedFiles::~StagedFiles()
{
    DiscardAll();
}

QString StagedFiles::StagingPathFor(const QString &name)
{
    if (!m_names.contains(name)) {
        m_names.append(name);
    }
    return StagingPath(name);
}

QString StagedFiles::StagingPath(const QString &name) const
{
    // Hidden, and named so that nobody mistakes it for the file itself.
    return m_folder + "." + name + StagingSuffix;
}

bool StagedFiles::CommitAll(const QString &clientExecutable)
{
    while (!m_names.isEmpty()) {
        if (!Commit(m_names.first(), clientExecutable)) {
            DiscardAll();
            return false;
        }
        m_names.removeFirst();
    }
    return true;
}

bool StagedFiles::Commit(const QString &name, const QString &clientExecutable)
{
    const QString staged = StagingPath(name);
    const QString target = TargetOf(name);
    const QFileInfo old(target);
    if (old.exists()) {
        QFile::setPermissions(staged, QFile::permissions(target));
    } else if (QFileInfo(clientExecutable).absoluteFilePath() == old.absoluteFilePath()) {
        QFile::setPermissions(staged, executablePermissions());
    }
    // One rename: the target is the old file or the new one at every moment, never missing.
    std::error_code error;
    std::filesystem::rename(fileSystemPath(staged), fileSystemPath(target), error);
    return !error;
}

void StagedFiles::DiscardAll()
{
    for (const QString &name : m_names) {
        QFile::remove(StagingPath(name));
    }
    m_names.clear();
}
