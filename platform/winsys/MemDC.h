#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

// An off-screen device context: a picture and the drawing state selected into it. Everything
// the strip composes goes through these, so each picture can be read back pixel by pixel.
class MemDC {
public:
    // Background modes for text.
    static constexpr int TRANSPARENT = 1;
    static constexpr int OPAQUE = 2;
    // Stretch modes: COLORONCOLOR picks source pixels, HALFTONE averages them.
    static constexpr int COLORONCOLOR = 3;
    static constexpr int HALFTONE = 4;

    explicit MemDC(QImage bitmap);

    QImage &Bitmap() { return m_Bitmap; }
    const QImage &Bitmap() const { return m_Bitmap; }
    int Width() const { return m_Bitmap.width(); }
    int Height() const { return m_Bitmap.height(); }

    QFont Font;
    QColor TextColor = Qt::black;
    QColor BkColor = Qt::white;
    int BkMode = OPAQUE;
    int StretchMode = COLORONCOLOR;

private:
    QImage m_Bitmap;
};
