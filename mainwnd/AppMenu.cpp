#include "AppMenu.h"

#include "ModMainProc.h"
#include "WebMainFrm.h"
#include "net/KubDownLoadFile.h"
#include "net/VersionCheck.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Program.h"
#include "platform/web/CacheMain.h"
#include "platform/winsys/WindowHandles.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace {

// Cookies and visited links stay: the player stays logged in.
const quint32 CacheKeepMask = CacheMain::COOKIE_CACHE_ENTRY | CacheMain::URLHISTORY_CACHE_ENTRY;
const char VersionCaption[] = "版本号:";

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

const AppMenu::Item AppMenu::Items[] = {
    {"refresh", "刷新(F5)", &AppMenu::refresh_Click},
    {"hiderestore", "隐藏/恢复(F10)", &AppMenu::hiderestore_Click},
    {"clearcache", "清除缓存", &AppMenu::clearcache_Click},
    {"line", nullptr, nullptr},
    {"update", "更新", &AppMenu::update_Click},
    {"version", VersionCaption, nullptr},
    {"exit", "退出", &AppMenu::exit_Click},
};

AppMenu::UpdateCheckService &AppMenu::UpdateCheckProvider()
{
    static UpdateCheckService service([](VersionCheck &) {});
    return service;
}

AppMenu::CacheCleanerService &AppMenu::CacheCleanerProvider()
{
    static CacheCleanerService service(&CacheMain::DeleteCacheEntries);
    return service;
}

AppMenu::AppMenu(WebMainFrm &window) : QObject(&window), m_window(window)
{
    m_menu = new QMenu(text("程序菜单"), &window);
    m_menu->setObjectName("appmenu");
    for (const Item &item : Items) {
        QAction *action =
            item.caption ? m_menu->addAction(text(item.caption)) : m_menu->addSeparator();
        action->setObjectName(item.name);
        if (item.handler) {
            connect(action, &QAction::triggered, this, item.handler);
        }
    }
    Action("version")->setText(text(VersionCaption) + VersionCheck::LocalVersion());
}

void AppMenu::Popup(const QPoint &globalPosition)
{
    m_menu->popup(globalPosition);
}

QAction *AppMenu::Action(const char *name) const
{
    return m_menu->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

void AppMenu::refresh_Click()
{
    m_window.RefreshShownPage();
}

void AppMenu::hiderestore_Click()
{
    ModMainProc::ToggleMainWindow(platform::HandleOf(&m_window));
}

// The clear runs the event loop until the engine's network is back: meanwhile the command is
// off, and a window that went meanwhile hears nothing of it.
void AppMenu::clearcache_Click()
{
    QPointer<AppMenu> self(this);
    Action("clearcache")->setEnabled(false);
    const bool cleared = CacheCleanerProvider()("*.*", CacheKeepMask);
    if (!self) {
        return;
    }
    Action("clearcache")->setEnabled(true);
    if (cleared) {
        platform::MessageBox(text(CacheClearedText), text(CacheTitle),
                             platform::mb::Ok | platform::mb::IconInformation);
    } else {
        platform::MessageBox(text(CacheNotClearedText), text(CacheTitle),
                             platform::mb::Ok | platform::mb::IconWarning);
    }
}

// The check pumps the event loop while it downloads: meanwhile the command is off, and an
// unload waits for the check to return (DeferWhileChecking).
void AppMenu::update_Click()
{
    if (m_RunningCheck || m_window.IsUnloaded()) {
        return;
    }
    if (!m_DownLoadFile) {
        m_DownLoadFile = new KubDownLoadFile(this);
    }
    VersionCheck check(*m_DownLoadFile, VersionCheck::Caller::Menu, &platform::MessageBox);
    UpdateCheckProvider()(check);
    m_RunningCheck = &check;
    Action("update")->setEnabled(false);
    const VersionCheck::Outcome outcome =
        check.RunAndCloseOwner(m_window.m_bExit, [this] { m_window.close(); });
    m_RunningCheck = nullptr;
    Action("update")->setEnabled(true);
    if (outcome == VersionCheck::Outcome::HandedOff) {
        // The updater replaces the client's files: nothing of the client may stay behind.
        platform::EndProgram(0);
    }
    if (std::function<void()> finish = std::exchange(m_afterCheck, nullptr)) {
        QTimer::singleShot(0, this, finish);
    }
}

bool AppMenu::DeferWhileChecking(std::function<void()> finish)
{
    if (!m_RunningCheck) {
        return false;
    }
    m_afterCheck = std::move(finish);
    m_RunningCheck->Abandon();
    return true;
}

void AppMenu::exit_Click()
{
    m_window.close();
}
