#pragma once

#include "platform/winsys/WindowProc.h"

#include <QObject>
#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

namespace hooks {
class HookRecord;
}

// Lets an object see the messages of windows of its own process before and/or after their
// previous window procedure, and change the outcome. One object can hook several windows; each
// hooked window has a table of messages to deliver before and one to deliver after the previous
// procedure (32 slots each, or ALL_MESSAGES). Misuse is reported to the event log as
// "CSubclass.<routine>: <message>" and leaves the object usable.
class CSubclass : public QObject {
    Q_OBJECT

public:
    using HWND = platform::HWND;
    using UINT = platform::UINT;
    using WPARAM = platform::WPARAM;
    using LPARAM = platform::LPARAM;
    using LRESULT = platform::LRESULT;

    static constexpr qint32 ALL_MESSAGES = -1;
    static constexpr int MSG_ENTRIES = 32;
    enum When { MSG_BEFORE = 1, MSG_AFTER = 2, MSG_BEFORE_AND_AFTER = 3 };

    explicit CSubclass(QObject *parent = nullptr);
    ~CSubclass() override;

    // nOrdinal picks the callback routine counted back from the last; this class has one, so
    // only 1 is valid. bIdeSafety has no effect. bUnicode is replaced by whether the window is a
    // Unicode window (every window here is). bIsAPIwindow makes a lost owner destroy the window.
    bool ssc_Subclass(HWND lng_hWnd, LPARAM lParamUser = 0, int nOrdinal = 1,
                      bool bIdeSafety = true, bool *bUnicode = nullptr, bool bIsAPIwindow = false);
    void ssc_UnSubclass(HWND lng_hWnd);
    void ssc_Terminate();
    LRESULT ssc_CallOrigWndProc(HWND lng_hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void ssc_AddMsg(HWND lng_hWnd, qint32 uMsg, int When = MSG_AFTER);
    // Only 8-, 16- and 32-bit integers among the messages count; other values are skipped.
    void ssc_DelMsg(HWND lng_hWnd, int When, const QVariantList &messages);
    void zSet_lParamUser(HWND hWnd_Hook_ID, LPARAM NewValue);
    LPARAM zGet_lParamUser(HWND hWnd_Hook_ID);
    void TrackMouseTracking(HWND lng_hWnd);

    bool IsHooked(HWND lng_hWnd) const;

signals:
    void WindowProc(bool bBefore, bool &bHandled, LRESULT &lReturn, HWND lng_hWnd, UINT uMsg,
                    WPARAM wParam, LPARAM lParam, LPARAM &lParamUser);

private:
    friend class hooks::HookRecord;
    using Entry = std::pair<QString, std::shared_ptr<hooks::HookRecord>>;

    static QString KeyOf(HWND lng_hWnd);
    hooks::HookRecord *zMap_VFunction(HWND lng_hWnd, bool bSilent = false);
    void ReleaseHook(HWND lng_hWnd);
    void ReportError(const QString &routine, const QString &message) const;

    std::unique_ptr<std::vector<Entry>> m_hooks; // the keyed collection; null until first use
};
