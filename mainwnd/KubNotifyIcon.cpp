#include "KubNotifyIcon.h"

using namespace platform;

KubNotifyIcon::~KubNotifyIcon()
{
    DeleteNotifyIcon();
}

void KubNotifyIcon::Fill(HWND hWnd, const QIcon &hIcon, const QString &strTip)
{
    m_Data.hWnd = hWnd;
    m_Data.uID = IconId;
    m_Data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    m_Data.uCallbackMessage = CallbackMessage;
    m_Data.hIcon = hIcon;
    m_Data.szTip = FitField(strTip, TipBytes);
}

void KubNotifyIcon::AddNotifyIcon(HWND hWnd, const QIcon &hIcon, const QString &strTip)
{
    Fill(hWnd, hIcon, strTip);
    Shell_NotifyIcon(NIM_ADD, m_Data);
}

void KubNotifyIcon::ModifyNotifyIcon(HWND hWnd, const QIcon &hIcon, const QString &strTip)
{
    Fill(hWnd, hIcon, strTip);
    Shell_NotifyIcon(NIM_MODIFY, m_Data);
}

void KubNotifyIcon::ShowBubble(const QString &strTitle, const QString &strInfo, UINT eInfoFlags)
{
    m_Data.szInfoTitle = FitField(strTitle, InfoTitleBytes);
    m_Data.szInfo = FitField(strInfo, InfoBytes);
    m_Data.dwInfoFlags = eInfoFlags;
    Shell_NotifyIcon(NIM_MODIFY, m_Data);
}

void KubNotifyIcon::HideBubble()
{
    m_Data.szInfoTitle.clear();
    m_Data.szInfo.clear();
    Shell_NotifyIcon(NIM_MODIFY, m_Data);
}

void KubNotifyIcon::DeleteNotifyIcon()
{
    Shell_NotifyIcon(NIM_DELETE, m_Data);
}

QString KubNotifyIcon::FitField(const QString &text, int fieldBytes)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype length =
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()
                ? 2
                : 1;
        // Qt's local code page on this system is UTF-8.
        const qsizetype characterBytes = text.mid(end, length).toLocal8Bit().size();
        if (bytes + characterBytes > fieldBytes - 1) {
            break;
        }
        bytes += characterBytes;
        end += length;
    }
    return text.left(end);
}
