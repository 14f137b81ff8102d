#pragma once

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs what the player does once a dialog of this type first shows. A dialog waits in a loop of
// its own, and whatever brought it up (the test's own wait, often) is held beneath that loop
// until it returns; so the player acts from inside it, as real input would arrive.
template <class Dialog> class WhenShown : public QObject {
public:
    explicit WhenShown(std::function<void(Dialog *)> player) : m_player(std::move(player))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<Dialog *>(watched);
        if (dialog && event->type() == QEvent::Show && !shown++) {
            QTimer::singleShot(0, dialog, [this, dialog] {
                // The player answers what is in front of them.
                const QPoint middle = dialog->mapToGlobal(dialog->rect().center());
                QTRY_VERIFY(QApplication::widgetAt(middle) &&
                            QApplication::widgetAt(middle)->window() == dialog);
                m_player(dialog);
            });
        }
        return false;
    }

    int shown = 0;

private:
    std::function<void(Dialog *)> m_player;
};
