#pragma once

#include "SizingBand.h"
#include "hooks/cFormSubclass.h"
#include "platform/winsys/ScreenFrame.h"

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

// Makes a form a borderless window that still behaves like a framed one: its outer 5-pixel band
// sizes it with the mouse (a dotted frame follows the pointer and the window moves once, at the
// release), its own maximise fills the screen's free area and restores the rectangle it had, and
// the system's close command is reported as CloseClick. It watches the window's messages through
// a form hook, which goes with the object.
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
    bool IsDragging() const { return m_Dragging; }
    // The dotted frame shown during a drag, for a look at it.
    const platform::ScreenFrame &DragFrame() const { return m_Frame; }

signals:
    void CloseClick();
    void SettingChange();
    // The pointer moved over the window's own surface while it could be sized.
    void MouseSize(int theMouseStyle);

private slots:
    void objSubclass_MsgCome(bool bBefore, bool &bHandled, platform::LRESULT &lReturn,
                             platform::HWND &lng_hWnd, platform::UINT &uMsg,
                             platform::WPARAM &wParam, platform::LPARAM &lParam);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect MaximisedRect() const;
    void FitMaximised();
    void Form_MouseMove(platform::WPARAM wParam);
    void Form_LButtonDown();
    void Form_LButtonUp();
    void EndDrag(bool move);
    void ShowPointerShape(SizingBand::HitCode code);
    SizingBand::Edges WindowEdges() const;

    cFormSubclass objSubclass;
    QPointer<QWidget> m_Form;
    HWND m_hWnd = 0;
    bool m_Maximised = false;
    QRect m_NormalRect;
    bool m_Dragging = false;
    SizingBand::HitCode m_Hit = SizingBand::HitNone;
    QPoint m_Pressed;              // where the drag's press was, screen pixels
    SizingBand::Edges m_StartRect; // the window when the drag began
    SizingBand::Edges m_NewFrame;  // the frame the pointer asks for now
    platform::ScreenFrame m_Frame;
};
