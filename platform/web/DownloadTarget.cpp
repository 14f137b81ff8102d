#include "DownloadTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace platform::DownloadTarget {
namespace {

// Well under the common 255-byte limit, leaving room for " (99)" and the partial suffixes.
constexpr qsizetype MaxNameBytes = 200;
constexpr qsizetype MaxExtensionChars = 16;
const char FallbackName[] = "下载";
const char PartialSuffix[] = ".part";

// A link that points nowhere is still a name the folder holds.
bool present(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

// The stem loses characters from its end until stem and extension fit.
QString shortened(QString stem, const QString &extension)
{
    while (!stem.isEmpty() && (stem + extension).toUtf8().size() > MaxNameBytes) {
        stem.chop(stem.size() >= 2 && stem.back().isLowSurrogate() ? 2 : 1);
    }
    return stem + extension;
}

// "存档.txt" → {"存档", ".txt"}; a long or missing extension stays with the stem.
std::pair<QString, QString> split(const QString &name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || name.size() - dot > MaxExtensionChars) {
        return {name, {}};
    }
    return {name.left(dot), name.mid(dot)};
}

} // namespace

QString Folder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::home().filePath("Downloads") : folder;
}

QString SafeName(const QString &suggested)
{
    QString name = suggested.section(QRegularExpression("[/\\\\]"), -1);
    name.removeIf(isControl);
    while (name.startsWith('.') || name.startsWith(' ')) {
        name.remove(0, 1);
    }
    while (name.endsWith('.') || name.endsWith(' ')) {
        name.chop(1);
    }
    if (name.isEmpty()) {
        return QString::fromUtf8(FallbackName);
    }
    const auto [stem, extension] = split(name);
    return shortened(stem, extension);
}

QString FreeName(const QString &folder, const QString &name, const QSet<QString> &reserved)
{
    const QDir dir(folder);
    const auto taken = [&](const QString &candidate) {
        return reserved.contains(dir.filePath(candidate)) || present(dir.filePath(candidate)) ||
               present(dir.filePath(PartialName(candidate)));
    };
    const auto [stem, extension] = split(name);
    QString candidate = name;
    for (int number = 2; taken(candidate); ++number) {
        candidate = shortened(stem, QString(" (%1)%2").arg(number).arg(extension));
    }
    return candidate;
}

QString PartialName(const QString &name)
{
    return name + QLatin1String(PartialSuffix);
}

} // namespace platform::DownloadTarget
