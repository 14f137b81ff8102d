#pragma once

#include "platform/os/Replaceable.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class KubDownLoadFile;
class QAction;
class QMenu;
class VersionCheck;
class WebMainFrm;

// The main window's program menu, shown only as a pop-up, and the commands behind its items.
// The items are one table: adding a command is one row there.
class AppMenu : public QObject {
    Q_OBJECT

public:
    // Readies the menu's version check before it runs; tests point it at a server of their own.
    using UpdateCheckService = platform::Replaceable<void(VersionCheck &check)>;
    static UpdateCheckService &UpdateCheckProvider();

    // The menu's cache clearing: the shared browser cache normally; true when it was cleared.
    using CacheCleanerService =
        platform::Replaceable<bool(const QString &pattern, quint32 keepMask)>;
    static CacheCleanerService &CacheCleanerProvider();

    static constexpr char CacheClearedText[] = "缓存已清理完毕！";
    static constexpr char CacheNotClearedText[] = "缓存未能清理，请稍后再试。";
    static constexpr char CacheTitle[] = "缓存清理";

    struct Item {
        const char *name;
        const char *caption; // null for the separator
        void (AppMenu::*handler)();
    };

    explicit AppMenu(WebMainFrm &window);

    void Popup(const QPoint &globalPosition);
    QAction *Action(const char *name) const;

    // The window is unloading: true when an update check still runs; it is then given up, and
    // `finish` runs once the check has returned, so nothing is taken from under it.
    bool DeferWhileChecking(std::function<void()> finish);

public slots:
    void refresh_Click();
    void hiderestore_Click();
    void clearcache_Click();
    void update_Click();
    void exit_Click();

private:
    static const Item Items[];

    WebMainFrm &m_window;
    QMenu *m_menu = nullptr;
    KubDownLoadFile *m_DownLoadFile = nullptr;
    VersionCheck *m_RunningCheck = nullptr;
    std::function<void()> m_afterCheck;
};
