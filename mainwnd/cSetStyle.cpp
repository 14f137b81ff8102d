#include "cSetStyle.h"

#include "platform/WinApi.h"
#include "platform/WindowProc.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

cSetStyle::cSetStyle(QObject *parent) : QObject(parent)
{
    connect(&objSubclass, &cFormSubclass::MsgCome, this, &cSetStyle::objSubclass_MsgCome,
            Qt::DirectConnection);
}

cSetStyle::~cSetStyle()
{
    objSubclass.DeleteWindowMsg(m_hWnd);
}

void cSetStyle::SetWindowStyle(HWND hWnd)
{
    m_hWnd = hWnd;
    WinApi::SetWindowLong(hWnd, WinApi::GWL_STYLE, BorderlessStyle);
    objSubclass.AddWindowMsgs(hWnd);
}

bool cSetStyle::CallWindowStateChange()
{
    if (!m_Form) {
        return m_Maximised;
    }
    if (m_Maximised) {
        m_Form->setGeometry(m_NormalRect);
        m_Maximised = false;
    } else {
        m_NormalRect = m_Form->geometry();
        m_Maximised = true;
        FitMaximised();
    }
    return m_Maximised;
}

// The screen's free area, so a panel at any side stays uncovered, not only a bottom taskbar.
QRect cSetStyle::MaximisedRect() const
{
    const QScreen *screen =
        m_Form && m_Form->screen() ? m_Form->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void cSetStyle::FitMaximised()
{
    const QRect area = MaximisedRect();
    if (m_Form && area.isValid()) {
        m_Form->setGeometry(area);
    }
}

void cSetStyle::objSubclass_MsgCome(bool bBefore, bool &bHandled, platform::LRESULT &lReturn,
                                    platform::HWND &, platform::UINT &uMsg,
                                    platform::WPARAM &wParam, platform::LPARAM &)
{
    if (!bBefore) {
        return;
    }
    switch (uMsg) {
    case platform::wm::SysCommand:
        if (wParam == platform::SC_CLOSE) {
            emit CloseClick();
            // The owner has run its own close request; letting the command go on would close
            // (and ask) a second time.
            bHandled = true;
            lReturn = 0;
        }
        break;
    case platform::wm::SettingChange:
        emit SettingChange();
        if (m_Form && !m_Form->isMinimized() && m_Maximised) {
            FitMaximised();
        }
        break;
    default:
        break;
    }
}
