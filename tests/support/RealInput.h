#pragma once

#include <QCursor>
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QTest>
#include <QWidget>

// Input as the X server gives it to whichever window is under the pointer or has the focus, as
// a player's mouse and keyboard would.
inline void xdotool(const QStringList &arguments)
{
    QCOMPARE(QProcess::execute("xdotool", arguments), 0);
}

// The pointer really goes to a point of the screen. xdotool's --sync waits for a movement, and
// for a long while when the pointer is there already.
inline void movePointerTo(QPoint global)
{
    if (QCursor::pos() != global) {
        xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
    }
}

// A real click at a point of a widget.
inline void clickOn(const QWidget *widget, QPoint at)
{
    movePointerTo(widget->mapToGlobal(at));
    xdotool({"click", "1"});
}

inline void pressKeys(const QStringList &keys)
{
    xdotool(QStringList{"key", "--delay", "60"} + keys);
}
