#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QIcon>
#include <QImage>
#include <QString>

namespace platform {

// Resources the program carries, looked up by (type, id) as the windows name them: custom types
// such as "PNG", "ICON" and "UPDATE", and "BITMAP" for the skin and button bitmaps. Types are
// matched without regard to case. An unknown resource yields an empty array / a null image.
QByteArray LoadResource(const QString &type, int id);

bool HasResource(const QString &type, int id);

// The device pixel ratio pictures are loaded for by default: the highest of the screens.
qreal PictureRatio();

// A bitmap resource decoded for drawing. Above a ratio of 1 it is the "@2x" picture where one
// exists, with a device pixel ratio of 2, so it keeps its size in device-independent pixels.
QImage LoadBitmapResource(int id, qreal ratio = PictureRatio());
// The same for a picture resource of another type (PNG).
QImage LoadPictureResource(const QString &type, int id, qreal ratio = PictureRatio());
// Starts decoding that picture on a thread of its own: the next LoadPictureResource of it takes
// the result, waiting for the rest of the work if need be. For a large picture that start-up
// shows later, decoded while the program waits for other things.
void PreloadPictureResource(const QString &type, int id, qreal ratio = PictureRatio());

// An icon resource with every size the icon file holds; null when there is none.
QIcon LoadIconResource(int id);

// A picture that belongs to one window's design (a button face, say) rather than to the table
// of numbered resources; null when there is none of that name.
QImage LoadDesignPicture(const QString &name, qreal ratio = PictureRatio());

// Writes the raw bytes of resource (type, id) to the file, creating or replacing it whole.
// Fails, leaving any existing file as it was, when the resource is unknown or the file cannot
// be written.
// Nothing found under the name is followed: a planted link is replaced, not written through.
bool SaveResourceToFile(const QString &type, int id, const QString &filePath,
                        QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                               QFileDevice::WriteOwner);

} // namespace platform
