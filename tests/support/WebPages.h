#pragma once

#include "platform/web/WebBrowser.h"
#include "tests/support/LoopWait.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <optional>

inline constexpr int PageTimeoutMs = 20000;

// Navigates and waits until the top document of that very address has completed.
inline bool loadPage(platform::WebBrowser &browser, const QString &address)
{
    QSignalSpy complete(&browser, &platform::WebBrowser::DocumentComplete);
    browser.Navigate(address);
    return waitInLoop(
        [&] {
            return complete.contains(QList<QVariant>{address, true});
        },
        PageTimeoutMs);
}

// The value of a script in the page; null when no answer came. The answer may arrive after we
// stopped waiting (a renderer that died meanwhile), so it is kept where it outlives this call.
inline QVariant evaluate(platform::WebBrowser &browser, const QString &script)
{
    auto answer = std::make_shared<std::optional<QVariant>>();
    browser.View()->page()->runJavaScript(script,
                                          [answer](const QVariant &value) { *answer = value; });
    return waitInLoop([&] { return answer->has_value(); }, PageTimeoutMs) ? answer->value()
                                                                          : QVariant();
}

// A click of the player's on the middle of the page's element: real input, so the page sees a
// user gesture, as no script's click is.
inline bool clickElement(platform::WebBrowser &browser, const QString &id)
{
    const QVariantList middle =
        evaluate(browser, QString("(r => [r.x + r.width / 2, r.y + r.height / 2])"
                                  "(document.getElementById('%1').getBoundingClientRect())")
                              .arg(id))
            .toList();
    QWidget *surface = browser.View()->focusProxy();
    if (middle.size() != 2 || !surface) {
        return false;
    }
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(middle[0].toInt(), middle[1].toInt()));
    return true;
}

// The value of a script once it has settled, as text (a promise's value, or what it failed
// with); empty when it never settled.
inline QString settled(platform::WebBrowser &browser, const QString &script)
{
    QWebEnginePage *page = browser.View()->page();
    page->runJavaScript(QString("window.answer = undefined; Promise.resolve(%1).then("
                                "function (v) { window.answer = String(v); })")
                            .arg(script));
    auto answer = std::make_shared<QString>();
    auto asking = std::make_shared<bool>(false);
    waitInLoop(
        [&] {
            if (!*asking) {
                *asking = true;
                page->runJavaScript("window.answer", [answer, asking](const QVariant &v) {
                    *answer = v.isNull() ? QString() : v.toString();
                    *asking = false;
                });
            }
            return !answer->isEmpty();
        },
        PageTimeoutMs);
    return *answer;
}
