#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace art {

// Writes a Windows icon with one 32-bit DIB entry per image (plus its 1-bit mask, which old
// shell versions still read). Images must be square and at most 256 px.
QByteArray icoBytes(const QList<QImage> &images);
bool writeIco(const QString &path, const QList<QImage> &images);

} // namespace art
