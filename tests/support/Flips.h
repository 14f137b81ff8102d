#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the window's hides and shows that code asked for.
class Flips : public QObject {
public:
    explicit Flips(QWidget *window) { window->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        const bool flip = event->type() == QEvent::Show || event->type() == QEvent::Hide;
        count += flip && !event->spontaneous();
        return false;
    }
    int count = 0;
};
