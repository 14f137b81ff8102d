#pragma once

#include <QAction>
#include <QObject>
#include <QTest>

// A window's control by its object name, as the window names it. A missing one fails the test
// that asked for it instead of crashing on a null pointer later.
template <class Part> Part *PartOf(const QObject *window, const char *name)
{
    Part *part = window ? window->findChild<Part *>(name) : nullptr;
    if (!part) {
        QTest::qFail(qPrintable(QString("no part named ") + name), __FILE__, __LINE__);
    }
    return part;
}
