#pragma once

#include "tabstrip/uTab.h"

#include <QTest>

// Where the last tab's close mark lies on the strip.
inline QPoint lastTabCloseMark(uTab *strip)
{
    return strip->PlacedTabs().last().Close.topLeft() + QPoint(strip->TabLeftSize() + 6, 6);
}

// The pointer goes to the last tab's mark, which lights up, and clicks it.
inline void clickLastTabCloseMark(uTab *strip)
{
    const QPoint mark = lastTabCloseMark(strip);
    // The pointer really moves there; the strip hears of it on the server's next event.
    QTest::mouseMove(strip, mark + QPoint(0, 100));
    QTest::mouseMove(strip, mark);
    QTRY_COMPARE(strip->CloseState(), 1);
    QTest::mouseClick(strip, Qt::LeftButton, {}, mark);
}
