#pragma once

#include <QImage>
#include <QWidget>

// A picture that acts as a button: it draws its image with per-pixel alpha and reports a left
// click (press and release on it).
class PictureButton : public QWidget {
    Q_OBJECT

public:
    PictureButton(const QImage &image, QWidget *parent);

    const QImage &Image() const { return m_image; }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    bool m_pressed = false;
};
