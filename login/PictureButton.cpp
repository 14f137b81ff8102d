#include "PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(const QImage &image, QWidget *parent) : QWidget(parent), m_image(image)
{
    setFixedSize(image.deviceIndependentSize().toSize());
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        emit Click();
    }
}
