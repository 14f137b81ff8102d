#include "Resources.h"

#include "NoFollowFile.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QSaveFile>

#include <algorithm>
#include <future>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {
namespace {

QString resourcePath(const QString &type, int id)
{
    return QString(":/vantor/%1/%2").arg(type.toUpper()).arg(id);
}

// Qt's naming, "name@2x" beside "name"; a ratio between 1 and 2 is better served by shrinking
// the larger picture than by blowing up the smaller one.
QImage loadPicture(const QString &path, qreal ratio)
{
    if (ratio > 1) {
        QImage sharp(path + "@2x");
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    return QImage(path);
}

// Pictures being decoded on threads of their own, until someone loads them.
struct Preload {
    QString path;
    qreal ratio;
    std::future<QImage> image;
};

std::mutex preloadsMutex;
std::vector<Preload> preloads;

std::optional<std::future<QImage>> takePreload(const QString &path, qreal ratio)
{
    const std::lock_guard<std::mutex> lock(preloadsMutex);
    const auto found = std::find_if(preloads.begin(), preloads.end(), [&](const Preload &p) {
        return p.path == path && p.ratio == ratio;
    });
    if (found == preloads.end()) {
        return std::nullopt;
    }
    std::future<QImage> image = std::move(found->image);
    preloads.erase(found);
    return image;
}

} // namespace

qreal PictureRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QByteArray LoadResource(const QString &type, int id)
{
    QFile file(resourcePath(type, id));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool HasResource(const QString &type, int id)
{
    return QFile::exists(resourcePath(type, id));
}

QImage LoadBitmapResource(int id, qreal ratio)
{
    return LoadPictureResource("BITMAP", id, ratio);
}

QImage LoadPictureResource(const QString &type, int id, qreal ratio)
{
    const QString path = resourcePath(type, id);
    if (std::optional<std::future<QImage>> preloaded = takePreload(path, ratio)) {
        return preloaded->get();
    }
    return loadPicture(path, ratio);
}

void PreloadPictureResource(const QString &type, int id, qreal ratio)
{
    const QString path = resourcePath(type, id);
    const std::lock_guard<std::mutex> lock(preloadsMutex);
    preloads.push_back({path, ratio, std::async(std::launch::async, loadPicture, path, ratio)});
}

QIcon LoadIconResource(int id)
{
    QByteArray bytes = LoadResource("ICON", id);
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    QIcon icon;
    for (QImage image = reader.read(); !image.isNull(); image = reader.read()) {
        icon.addPixmap(QPixmap::fromImage(image));
        if (!reader.jumpToNextImage()) {
            break;
        }
    }
    return icon;
}

QImage LoadDesignPicture(const QString &name, qreal ratio)
{
    return loadPicture(QString(":/vantor/design/%1").arg(name), ratio);
}

bool SaveResourceToFile(const QString &type, int id, const QString &filePath,
                        QFileDevice::Permissions permissions)
{
    if (!HasResource(type, id)) {
        return false;
    }
    NoFollowSaveFile file(filePath);
    return file.open() && file.write(LoadResource(type, id)) && file.commit(permissions);
}

} // namespace platform
