#include "LayeredWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTransform>
#include <QVector>

namespace platform {
namespace {

void appendOpaqueSpans(const QImage &image, int y, QVector<QRect> &spans)
{
    const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    const int width = image.width();
    int x = 0;
    while (x < width) {
        while (x < width && qAlpha(row[x]) == 0) {
            ++x;
        }
        const int start = x;
        while (x < width && qAlpha(row[x]) != 0) {
            ++x;
        }
        if (x > start) {
            spans.append(QRect(start, y, x - start, 1));
        }
    }
}

} // namespace

QRegion OpaqueRegion(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QVector<QRect> spans;
    for (int y = 0; y < argb.height(); ++y) {
        appendOpaqueSpans(argb, y, spans);
    }
    // One band per row, sorted left to right: the layout setRects expects.
    QRegion region;
    region.setRects(spans.constData(), int(spans.size()));
    // A picture for a higher ratio has more pixels than the widget it shapes.
    const qreal ratio = image.devicePixelRatio();
    return ratio == 1 ? region : QTransform::fromScale(1 / ratio, 1 / ratio).map(region);
}

LayeredWindow::LayeredWindow(Qt::WindowFlags extraFlags, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extraFlags)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
}

void LayeredWindow::UpdateLayeredWindow(const QImage &image)
{
    m_image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    setFixedSize(m_image.deviceIndependentSize().toSize());
    setMask(OpaqueRegion(m_image));
    update();
}

void LayeredWindow::ClearLayeredWindow()
{
    m_image = QImage();
    update();
}

void LayeredWindow::CentreOnScreen(ScreenArea area)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect bounds =
        area == ScreenArea::Whole ? screen->geometry() : screen->availableGeometry();
    move(bounds.x() + (bounds.width() - width()) / 2,
         bounds.y() + (bounds.height() - height()) / 2);
}

void LayeredWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_image.isNull()) {
        painter.fillRect(rect(), Qt::transparent);
        return;
    }
    painter.drawImage(0, 0, m_image);
}

} // namespace platform
