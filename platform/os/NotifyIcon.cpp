#include "NotifyIcon.h"

#include "platform/winsys/WindowProc.h"

#include <QApplication>
#include <QHash>
#include <QSystemTrayIcon>
#include <QWidget>

namespace platform {
namespace {

struct Icon {
    QSystemTrayIcon *tray = nullptr;
    UINT uCallbackMessage = 0;
    bool callback = false;
};

using Key = QPair<HWND, UINT>;

QHash<Key, Icon> &icons()
{
    static QHash<Key, Icon> table;
    return table;
}

// Qt tells an activation, not the presses and releases: each becomes the release it stands
// for. The second click of a double click is reported alone, as a double click; its release
// follows the notice, as the mouse gives them, so a double click toggles twice like two clicks.
QList<LPARAM> mouseMessagesOf(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {wm::LButtonUp};
    case QSystemTrayIcon::Context:
        return {wm::RButtonUp};
    case QSystemTrayIcon::DoubleClick:
        return {wm::LButtonDblClk, wm::LButtonUp};
    case QSystemTrayIcon::MiddleClick:
        return {wm::MButtonUp};
    default:
        return {};
    }
}

QSystemTrayIcon::MessageIcon balloonIcon(UINT dwInfoFlags)
{
    switch (dwInfoFlags & 0x0F) {
    case NIIF_INFO:
        return QSystemTrayIcon::Information;
    case NIIF_WARNING:
        return QSystemTrayIcon::Warning;
    case NIIF_ERROR:
        return QSystemTrayIcon::Critical;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

// Qt shows even an empty balloon and has no call to take one away; its balloon is a window of
// ours that goes when closed.
void hideBalloon()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QBalloonTip")) {
            widget->close();
        }
    }
}

void apply(Icon &icon, const NOTIFYICONDATA &data)
{
    if (data.uFlags & NIF_MESSAGE) {
        icon.callback = true;
        icon.uCallbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & NIF_ICON) {
        icon.tray->setIcon(data.hIcon);
    }
    if (data.uFlags & NIF_TIP) {
        icon.tray->setToolTip(data.szTip);
    }
    if (!icon.tray->isVisible() && !icon.tray->icon().isNull()) {
        icon.tray->show();
    }
    if ((data.uFlags & NIF_INFO) && data.szInfoTitle.isEmpty() && data.szInfo.isEmpty()) {
        hideBalloon();
    } else if (data.uFlags & NIF_INFO) {
        icon.tray->showMessage(data.szInfoTitle, data.szInfo, balloonIcon(data.dwInfoFlags));
    }
}

} // namespace

bool Shell_NotifyIcon(UINT dwMessage, const NOTIFYICONDATA &data)
{
    const Key key(data.hWnd, data.uID);
    auto it = icons().find(key);
    switch (dwMessage) {
    case NIM_ADD: {
        if (it != icons().end() || !IsWindow(data.hWnd)) {
            return false;
        }
        Icon icon;
        icon.tray = new QSystemTrayIcon;
        QObject::connect(icon.tray, &QSystemTrayIcon::activated, icon.tray,
                         [key](QSystemTrayIcon::ActivationReason reason) {
                             const Icon found = icons().value(key);
                             for (const LPARAM mouse : mouseMessagesOf(reason)) {
                                 if (found.callback) {
                                     PostMessage(key.first, found.uCallbackMessage, key.second,
                                                 mouse);
                                 }
                             }
                         });
        apply(icons().insert(key, icon).value(), data);
        return true;
    }
    case NIM_MODIFY:
        if (it == icons().end()) {
            return false;
        }
        apply(it.value(), data);
        return true;
    case NIM_DELETE:
        if (it == icons().end()) {
            return false;
        }
        delete it->tray;
        icons().erase(it);
        return true;
    default:
        return false;
    }
}

QSystemTrayIcon *NotifyIconOf(HWND hWnd, UINT uID)
{
    return icons().value(Key(hWnd, uID)).tray;
}

} // namespace platform
