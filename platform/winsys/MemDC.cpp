#include "MemDC.h"

// One pixel format for every context, so block transfers are plain row copies.
MemDC::MemDC(QImage bitmap)
    : m_Bitmap(bitmap.format() == QImage::Format_RGB32
                   ? std::move(bitmap)
                   : bitmap.convertToFormat(QImage::Format_RGB32))
{
}
