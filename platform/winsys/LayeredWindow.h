#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

namespace platform {

// The pixels of an image that are not fully transparent, as a region. These are the pixels a
// per-pixel-alpha window shows and that receive the mouse; the rest let clicks through. The
// region is in device-independent pixels, whatever the image's device pixel ratio.
QRegion OpaqueRegion(const QImage &image);

// A frameless top-level window whose whole look is one image with per-pixel alpha: it takes the
// image's exact size and shape, draws translucent pixels over the desktop and passes mouse input
// through fully transparent ones.
class LayeredWindow : public QWidget {
    Q_OBJECT

public:
    explicit LayeredWindow(Qt::WindowFlags extraFlags = {}, QWidget *parent = nullptr);

    // Replaces the window's content; the window resizes to the image and reshapes.
    void UpdateLayeredWindow(const QImage &image);

    const QImage &LayeredImage() const { return m_image; }

    // Releases the content; the window keeps its size and shows nothing until updated again.
    void ClearLayeredWindow();

    // Centres the window on the primary screen, or on the part of it that panels leave free.
    enum class ScreenArea { Whole, WorkArea };
    void CentreOnScreen(ScreenArea area);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
};

} // namespace platform
