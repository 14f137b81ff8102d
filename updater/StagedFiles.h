#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Files downloaded beside the ones they replace, under staging names in the same folder, and
// moved over them only once every download is complete. Until then the old files stay exactly
// as they were; whatever is not committed is removed when the object ends. Replacing is all or
// nothing: the old files are kept aside until every new one is in place, and put back when any
// move fails.
class StagedFiles {
public:
    // folder ends in a separator.
    explicit StagedFiles(const QString &folder);
    ~StagedFiles();
    StagedFiles(const StagedFiles &) = delete;
    StagedFiles &operator=(const StagedFiles &) = delete;

    // Where to download the file that is to become folder + name.
    QString StagingPathFor(const QString &name);

    // Whether the files come from a signed manifest: only then may a file other than the client's
    // executable stay executable.
    enum class Origin { Unsigned, Signed };

    // Moves every staged file over its target, in the order they were staged. The client's
    // executable keeps the permissions of the file it replaces, or becomes executable when new.
    // Any other file keeps the permissions of the one it replaces only when signed (one of the
    // client's own programs stays a program); otherwise, and when it is new, it is never
    // executable. When one cannot be moved, the files moved before it are taken back out and the
    // old ones put back, and the result is false.
    bool CommitAll(const QString &clientExecutable, Origin origin = Origin::Unsigned);

    // The SHA-256 of what is staged for folder + name; empty when it cannot be read.
    QByteArray Sha256Of(const QString &name) const;

    void DiscardAll();

    QString TargetOf(const QString &name) const { return m_folder + name; }

private:
    struct Moved {
        QString name;
        bool keptOld; // the old file waits under its backup name
    };

    QString StagingPath(const QString &name) const;
    QString BackupPath(const QString &name) const;
    bool Commit(const QString &name, const QString &clientExecutable, Origin origin,
                QList<Moved> &moved);
    void SetPermissions(const QString &name, const QString &clientExecutable, Origin origin) const;
    void Restore(const QList<Moved> &moved);

    QString m_folder;
    QStringList m_names;
};
