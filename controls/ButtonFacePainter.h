#pragma once

#include "platform/winsys/SystemColors.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// Draws an image button's face into a rectangle of an image, without a widget: the frame of the
// strip for a state stretched over the rectangle, the icon, and the caption where the button's
// layout puts it. The strip is cut into its state images once, when it is set.
class ButtonFacePainter {
public:
    static constexpr platform::COLORREF DefaultForeColor = 0x80000012; // button text

    // Cuts the strip of a push or toggle button; a null strip leaves nothing to draw but the
    // caption.
    void SetStrip(const QImage &strip, int style);
    bool HasImages() const { return !m_Images.isEmpty(); }

    QImage Icon() const { return m_Icon; }
    void SetIcon(const QImage &icon) { m_Icon = icon; }
    QString Caption() const { return m_Caption; }
    void SetCaption(const QString &caption) { m_Caption = caption; }
    QFont Font() const { return m_Font; }
    void SetFont(const QFont &font) { m_Font = font; }
    platform::COLORREF ForeColor() const { return m_ForeColor; }
    void SetForeColor(platform::COLORREF color) { m_ForeColor = color; }
    // See-through faces turn the mask colour transparent and carry no icon.
    bool SeeThrough() const { return m_SeeThrough; }
    void SetSeeThrough(bool seeThrough) { m_SeeThrough = seeThrough; }

    // The face of a state (0 normal, 1 hover, 2 pressed, 3 disabled) for a toggle value, with
    // the icon. Returns whether any pixel was made see-through.
    bool PaintFace(QImage &image, const QRect &rect, int state, bool value) const;
    // The caption, one pixel right and down for the pressed state.
    void PaintCaption(QImage &image, const QRect &rect, int state) const;

private:
    const QImage *StateImage(int state, bool value) const;

    int m_Style = 0;
    QList<QImage> m_Images;
    QList<QImage> m_DisabledImages; // per toggle value
    QImage m_Icon;
    QString m_Caption;
    QFont m_Font;
    platform::COLORREF m_ForeColor = DefaultForeColor;
    bool m_SeeThrough = false;
};
