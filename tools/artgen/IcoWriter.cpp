#include "IcoWriter.h"

#include <QFile>
#include <QtEndian>

namespace art {

namespace {

constexpr int directoryHeaderBytes = 6;
constexpr int directoryEntryBytes = 16;
constexpr int bitmapHeaderBytes = 40;

void appendLe16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendLe32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

int maskRowBytes(int width)
{
    return (width + 31) / 32 * 4;
}

int pixelAndMaskBytes(int side)
{
    return side * side * 4 + maskRowBytes(side) * side;
}

int imageBytes(const QImage &image)
{
    return bitmapHeaderBytes + pixelAndMaskBytes(image.width());
}

void appendBitmapHeader(QByteArray &out, int side)
{
    appendLe32(out, bitmapHeaderBytes);
    appendLe32(out, side);
    appendLe32(out, side * 2); // colour rows followed by mask rows
    appendLe16(out, 1);
    appendLe16(out, 32);
    appendLe32(out, 0); // uncompressed
    appendLe32(out, pixelAndMaskBytes(side));
    for (int i = 0; i < 4; ++i)
        appendLe32(out, 0);
}

void appendColourRows(QByteArray &out, const QImage &image)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const char bgra[4] = {char(qBlue(row[x])), char(qGreen(row[x])), char(qRed(row[x])),
                                  char(qAlpha(row[x]))};
            out.append(bgra, 4);
        }
    }
}

void appendMaskRows(QByteArray &out, const QImage &image)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray bits(maskRowBytes(image.width()), '\0');
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) == 0)
                bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
        out.append(bits);
    }
}

void appendDirectoryEntry(QByteArray &out, const QImage &image, quint32 offset)
{
    const int side = image.width();
    out.append(char(side >= 256 ? 0 : side));
    out.append(char(side >= 256 ? 0 : side));
    out.append(char(0)); // no palette
    out.append(char(0));
    appendLe16(out, 1);
    appendLe16(out, 32);
    appendLe32(out, imageBytes(image));
    appendLe32(out, offset);
}

} // namespace

QByteArray icoBytes(const QList<QImage> &images)
{
    QList<QImage> straight;
    for (const QImage &image : images)
        straight.append(image.convertToFormat(QImage::Format_ARGB32));
    QByteArray out;
    appendLe16(out, 0);
    appendLe16(out, 1); // icon, not cursor
    appendLe16(out, quint16(straight.size()));
    quint32 offset = directoryHeaderBytes + directoryEntryBytes * straight.size();
    for (const QImage &image : straight) {
        appendDirectoryEntry(out, image, offset);
        offset += imageBytes(image);
    }
    for (const QImage &image : straight) {
        appendBitmapHeader(out, image.width());
        appendColourRows(out, image);
        appendMaskRows(out, image);
    }
    return out;
}

bool writeIco(const QString &path, const QList<QImage> &images)
{
    for (const QImage &image : images)
        if (image.width() != image.height() || image.width() > 256)
            return false;
    const QByteArray bytes = icoBytes(images);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace art
