#pragma once

#include "app/Forms.h"
#include "mainwnd/GameTabs.h"
#include "mainwnd/WebMainFrm.h"
#include "mainwnd/WebUrl.h"
#include "tests/support/LoopWait.h"
#include "tests/support/WebPages.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

// The main window as the login leaves it: the game page handed over, then shown. The page of
// the selected tab once its document has loaded; null when it never did.
inline WebUrl *openGame(QPointer<WebMainFrm> &main, const QString &address)
{
    main = &Forms<WebMainFrm>::Get();
    QSignalSpy complete(main.data(), &WebMainFrm::GamePageComplete);
    main->SetURL(address);
    main->show();
    if (!QTest::qWaitForWindowExposed(main) || !complete.wait(PageTimeoutMs)) {
        return nullptr;
    }
    return main->Tabs().SelectedPage();
}

// Closes the window without its question and waits until it is gone.
inline bool closeGame(QPointer<WebMainFrm> &main)
{
    if (main) {
        main->m_bExit = true;
        main->close();
    }
    return waitInLoop([&] { return !main; }, PageTimeoutMs);
}
