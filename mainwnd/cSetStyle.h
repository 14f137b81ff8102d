#pragma once

#include "hooks/cFormSubclass.h"

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

// Makes a form a borderless window that still behaves like a framed one: its own maximise fills
// the screen's free area and restores the rectangle it had, and the system's close command is
// reported as CloseClick. It watches the window's messages through a form hook, which goes with
// the object.
class cSetStyle : public QObject {
    Q_OBJECT

public:
    using HWND = platform::HWND;

    // The system menu and the minimise box, nothing else: no caption, no sizing frame.
    static constexpr quint32 BorderlessStyle = 0x000A0000;

    explicit cSetStyle(QObject *parent = nullptr);
    ~cSetStyle() override;

    // Must be set before SetWindowStyle.
    QWidget *objForm() const { return m_Form; }
    void SetobjForm(QWidget *form) { m_Form = form; }

    void SetWindowStyle(HWND hWnd);
    // Toggles own maximise; true when the window is maximised now.
    bool CallWindowStateChange();
    bool IsMaximised() const { return m_Maximised; }
    // The rectangle restore returns to.
    QRect NormalRect() const { return m_NormalRect; }

signals:
    void CloseClick();
    void SettingChange();

private slots:
    void objSubclass_MsgCome(bool bBefore, bool &bHandled, platform::LRESULT &lReturn,
                             platform::HWND &lng_hWnd, platform::UINT &uMsg,
                             platform::WPARAM &wParam, platform::LPARAM &lParam);

private:
    QRect MaximisedRect() const;
    void FitMaximised();

    cFormSubclass objSubclass;
    QPointer<QWidget> m_Form;
    HWND m_hWnd = 0;
    bool m_Maximised = false;
    QRect m_NormalRect;
};
