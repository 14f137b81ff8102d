#include "UpdateArgument.h"

#include <QDir>
#include <QFileInfo>

std::optional<UpdateArgument> UpdateArgument::Parse(const QString &argument)
{
    const QStringList fields = argument.split('|');
    if (fields.size() < 2) {
        return std::nullopt;
    }
    QString folder = fields[0].trimmed();
    const QString client = fields[1].trimmed();
    // A relative folder would be resolved against wherever the updater happened to start.
    if (folder.isEmpty() || client.isEmpty() || QFileInfo(folder).isRelative() ||
        QFileInfo(client).isRelative()) {
        return std::nullopt;
    }
    if (!folder.endsWith(QDir::separator())) {
        folder += QDir::separator();
    }
    return UpdateArgument{folder, client};
}
