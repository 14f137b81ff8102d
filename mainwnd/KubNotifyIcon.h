#pragma once

#include "platform/os/NotifyIcon.h"

// The client's icon in the notification area, with its tip and a balloon. Clicks come to the
// window given to AddNotifyIcon as CallbackMessage. The icon goes when the object does.
class KubNotifyIcon {
public:
    static constexpr platform::UINT IconId = 1000;
    static constexpr platform::UINT CallbackMessage = 0x1862;
    // Sizes of the text fields in bytes, their terminating NUL included.
    static constexpr int TipBytes = 128;
    static constexpr int InfoBytes = 256;
    static constexpr int InfoTitleBytes = 64;

    KubNotifyIcon() = default;
    ~KubNotifyIcon();
    KubNotifyIcon(const KubNotifyIcon &) = delete;
    KubNotifyIcon &operator=(const KubNotifyIcon &) = delete;

    void AddNotifyIcon(platform::HWND hWnd, const QIcon &hIcon, const QString &strTip);
    void ModifyNotifyIcon(platform::HWND hWnd, const QIcon &hIcon, const QString &strTip);
    void ShowBubble(const QString &strTitle, const QString &strInfo, platform::UINT eInfoFlags);
    void HideBubble();
    void DeleteNotifyIcon();

    // The longest beginning of the text that fits a field of fieldBytes with its NUL in the
    // system's code page, cut between characters, never inside one.
    static QString FitField(const QString &text, int fieldBytes);

private:
    void Fill(platform::HWND hWnd, const QIcon &hIcon, const QString &strTip);

    platform::NOTIFYICONDATA m_Data;
};
