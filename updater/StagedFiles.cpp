#include "StagedFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const char StagingSuffix[] = ".vantor-update";
const char BackupSuffix[] = ".vantor-old";

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

// Every execute bit there is.
QFileDevice::Permissions executeBits()
{
    return QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup |
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

QString StagedFiles::BackupPath(const QString &name) const
{
    return m_folder + "." + name + BackupSuffix;
}

bool StagedFiles::CommitAll(const QString &clientExecutable, Origin origin)
{
    QList<Moved> moved;
    for (const QString &name : std::as_const(m_names)) {
        if (!Commit(name, clientExecutable, origin, moved)) {
            Restore(moved);
            DiscardAll();
            return false;
        }
    }
    for (const Moved &file : std::as_const(moved)) {
        if (file.keptOld) {
            QFile::remove(BackupPath(file.name));
        }
    }
    m_names.clear();
    return true;
}

QByteArray StagedFiles::Sha256Of(const QString &name) const
{
    QFile file(StagingPath(name));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (QFileInfo(file).isSymLink() || !file.open(QIODevice::ReadOnly) || !hash.addData(&file)) {
        return {};
    }
    return hash.result();
}

void StagedFiles::SetPermissions(const QString &name, const QString &clientExecutable,
                                 Origin origin) const
{
    const QString staged = StagingPath(name);
    const QFileInfo old(TargetOf(name));
    const bool isClient = QFileInfo(clientExecutable).absoluteFilePath() == old.absoluteFilePath();
    if (isClient) {
        QFile::setPermissions(staged, old.exists() ? old.permissions() : executablePermissions());
        return;
    }
    QFileDevice::Permissions permissions = QFile::permissions(staged);
    if (old.exists()) {
        permissions = old.permissions();
    }
    if (origin != Origin::Signed || !old.exists()) {
        permissions &= ~executeBits();
    }
    QFile::setPermissions(staged, permissions);
}

bool StagedFiles::Commit(const QString &name, const QString &clientExecutable, Origin origin,
                         QList<Moved> &moved)
{
    const QString staged = StagingPath(name);
    const QString target = TargetOf(name);
    const QFileInfo old(target);
    const bool hasOld = old.exists() || old.isSymLink();
    SetPermissions(name, clientExecutable, origin);
    std::error_code error;
    if (hasOld) {
        // A second name for the old file, so it can come back; the target itself stays.
        const std::filesystem::path backup = fileSystemPath(BackupPath(name));
        std::filesystem::remove(backup, error);
        std::filesystem::create_hard_link(fileSystemPath(target), backup, error);
        if (error) {
            error.clear();
            std::filesystem::copy_file(fileSystemPath(target), backup, error);
        }
        if (error) {
            return false;
        }
    }
    // One rename: the target is the old file or the new one at every moment, never missing.
    std::filesystem::rename(fileSystemPath(staged), fileSystemPath(target), error);
    if (error) {
        if (hasOld) {
            QFile::remove(BackupPath(name));
        }
        return false;
    }
    moved.append({name, hasOld});
    return true;
}

// Takes back out what was moved in, latest first: an old file returns by one rename over the
// new one, a file that was new goes.
void StagedFiles::Restore(const QList<Moved> &moved)
{
    for (auto file = moved.crbegin(); file != moved.crend(); ++file) {
        std::error_code error;
        if (file->keptOld) {
            std::filesystem::rename(fileSystemPath(BackupPath(file->name)),
                                    fileSystemPath(TargetOf(file->name)), error);
        } else {
            std::filesystem::remove(fileSystemPath(TargetOf(file->name)), error);
        }
    }
}

void StagedFiles::DiscardAll()
{
    for (const QString &name : m_names) {
        QFile::remove(StagingPath(name));
    }
    m_names.clear();
}
