#include "ButtonFacePainter.h"

#include "ButtonLayout.h"
#include "ButtonStrip.h"
#include "platform/winsys/Twips.h"

#include <QFontMetrics>
#include <QPainter>

using namespace ButtonStrip;

namespace {

const QRgb MaskColor = qRgb(255, 0, 255);

// Turns the mask colour see-through inside the rectangle; returns whether any pixel had it.
bool clearMaskColor(QImage &image, const QRect &rect)
{
    bool found = false;
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels =
        QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect();
    const QRect area = pixels & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (line[x] == MaskColor) {
                line[x] = 0;
                found = true;
            }
        }
    }
    return found;
}

int iconWidth(const QImage &icon)
{
    return qRound(icon.deviceIndependentSize().width());
}

} // namespace

void ButtonFacePainter::SetStrip(const QImage &strip, int style)
{
    m_Style = style;
    m_Images.clear();
    m_DisabledImages.clear();
    if (strip.isNull()) {
        return;
    }
    m_Images = CutImages(strip, FrameSize(strip.deviceIndependentSize().toSize(), style), style);
    for (bool value : {false, true}) {
        m_DisabledImages.append(DisabledFace(m_Images[ImageIndex(StateNormal, value, style)]));
    }
}

const QImage *ButtonFacePainter::StateImage(int state, bool value) const
{
    if (!HasImages()) {
        return nullptr;
    }
    if (state == StateDisabled) {
        return &m_DisabledImages[value ? 1 : 0];
    }
    const int index = ImageIndex(state, value, m_Style);
    return index >= 0 && index < m_Images.size() ? &m_Images[index] : nullptr;
}

bool ButtonFacePainter::PaintFace(QImage &image, const QRect &rect, int state, bool value) const
{
    const QImage *face = StateImage(state, value);
    if (face && !image.isNull()) {
        QPainter painter(&image);
        // Stretched pixel for pixel, never blended: a blend would smear the mask colour into the
        // edges of a see-through face.
        painter.drawImage(rect, *face);
        if (!m_SeeThrough && !m_Icon.isNull()) {
            const QSize twips = rect.size() * platform::TwipsPerPixel;
            const int textWidth = QFontMetrics(m_Font, &image).horizontalAdvance(m_Caption);
            const QPoint origin =
                ButtonLayout::IconOrigin(twips, textWidth * platform::TwipsPerPixel,
                                         ButtonLayout::IconWidthTwips(iconWidth(m_Icon)));
            painter.drawImage(rect.topLeft() + QPoint(platform::TwipsToPixels(origin.x()), 0),
                              m_Icon);
        }
    }
    return m_SeeThrough && clearMaskColor(image, rect);
}

void ButtonFacePainter::PaintCaption(QImage &image, const QRect &rect, int state) const
{
    if (m_Caption.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(m_Font, &image);
    const QSize textTwips =
        QSize(metrics.horizontalAdvance(m_Caption), metrics.height()) * platform::TwipsPerPixel;
    const int iconTwips = m_Icon.isNull() ? 0 : ButtonLayout::IconWidthTwips(iconWidth(m_Icon));
    const QPoint origin = ButtonLayout::CaptionOrigin(rect.size() * platform::TwipsPerPixel,
                                                      textTwips, iconTwips, state);
    QPainter painter(&image);
    painter.setFont(m_Font);
    painter.setPen(platform::TranslateColor(m_ForeColor));
    painter.drawText(rect.topLeft() +
                         QPoint(platform::TwipsToPixels(origin.x()),
                                platform::TwipsToPixels(origin.y()) + metrics.ascent()),
                     m_Caption);
}
