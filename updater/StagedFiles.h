#pragma once

#include <QString>
#include <QStringList>

// Files downloaded beside the ones they replace, under staging names in the same folder, and
// moved over them only once every download is complete. Until then the old files stay exactly
// as they were; whatever is not committed is removed when the object ends.
class StagedFiles {
public:
    // folder ends in a separator.
    explicit StagedFiles(const QString &folder);
    ~StagedFiles();
    StagedFiles(const StagedFiles &) = delete;
    StagedFiles &operator=(const StagedFiles &) = delete;

    // Where to download the file that is to become folder + name.
    QString StagingPathFor(const QString &name);

    // Moves every staged file over its target, in the order they were staged. Each replacement
    // keeps the permissions of the file it replaces; a new file named like the client's
    // executable becomes executable. Stops at the first file that cannot be moved.
    bool CommitAll(const QString &clientExecutable);

    void DiscardAll();

    QString TargetOf(const QString &name) const { return m_folder + name; }

private:
    QString StagingPath(const QString &name) const;
    bool Commit(const QString &name, const QString &clientExecutable);

    QString m_folder;
    QStringList m_names;
};
