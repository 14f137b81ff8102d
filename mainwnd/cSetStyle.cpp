#include "cSetStyle.h"

#include "platform/winsys/WinApi.h"
#include "platform/winsys/WindowMove.h"
#include "platform/winsys/WindowProc.h"

#include <QChildEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

void keepArrow(QWidget *child)
{
    if (!child->isWindow() && !child->testAttribute(Qt::WA_SetCursor)) {
        child->setCursor(Qt::ArrowCursor);
    }
}

} // namespace

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
    if (m_Form) {
        // The band answers the pointer passing over it, not only while a button is held.
        m_Form->setMouseTracking(true);
        m_Form->installEventFilter(this);
        for (QWidget *child : m_Form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            keepArrow(child);
        }
    }
}

bool cSetStyle::CallWindowStateChange()
{
    if (!m_Form) {
        return m_Maximised;
    }
    EndDrag(false);
    if (m_Maximised) {
        if (platform::CompositorPlacesWindows()) {
            m_Form->setWindowState(m_Form->windowState() & ~Qt::WindowMaximized);
        } else {
            m_Form->setGeometry(m_NormalRect);
        }
        m_Maximised = false;
    } else {
        m_NormalRect = m_Form->geometry();
        m_Maximised = true;
        ShowPointerShape(SizingBand::HitNone);
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

// Where the compositor places windows, only it knows the free area (its panels are not the
// client's to see): the window asks it to maximise.
void cSetStyle::FitMaximised()
{
    if (m_Form && platform::CompositorPlacesWindows()) {
        m_Form->setWindowState(m_Form->windowState() | Qt::WindowMaximized);
        return;
    }
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
    case platform::wm::MouseMove:
        Form_MouseMove(wParam);
        break;
    case platform::wm::LButtonDown:
        Form_LButtonDown();
        break;
    case platform::wm::LButtonUp:
        Form_LButtonUp();
        break;
    // The release will not come here any more: the drag ends where it is, the window unmoved.
    case platform::wm::CaptureChanged:
    case platform::wm::Activate:
        EndDrag(false);
        break;
    default:
        break;
    }
}

SizingBand::Edges cSetStyle::WindowEdges() const
{
    return SizingBand::Edges::FromRect(m_Form ? m_Form->geometry() : QRect());
}

void cSetStyle::Form_MouseMove(platform::WPARAM wParam)
{
    if (!m_Form) {
        return;
    }
    const QPoint pointer = QCursor::pos();
    if (!m_Dragging && !m_Maximised) {
        const SizingBand::HitCode code = SizingBand::HitTest(WindowEdges(), pointer);
        emit MouseSize(code);
        ShowPointerShape(code);
        return;
    }
    if (!m_Dragging) {
        return;
    }
    // A move without the button means its release went elsewhere.
    if (!(wParam & platform::MK_LBUTTON)) {
        EndDrag(false);
        return;
    }
    m_NewFrame = SizingBand::DragFrame(m_StartRect, m_Hit, m_Pressed, pointer);
    m_Frame.Draw(m_NewFrame.ToRect());
}

void cSetStyle::Form_LButtonDown()
{
    if (!m_Form || m_Dragging || m_Maximised) {
        return;
    }
    const QPoint pointer = QCursor::pos();
    const SizingBand::HitCode code = SizingBand::HitTest(WindowEdges(), pointer);
    if (code == SizingBand::HitNone) {
        return;
    }
    m_Dragging = true;
    m_Hit = code;
    m_Pressed = pointer;
    m_StartRect = WindowEdges();
    m_NewFrame = m_StartRect;
    m_Frame.Draw(m_NewFrame.ToRect());
}

void cSetStyle::Form_LButtonUp()
{
    EndDrag(true);
}

void cSetStyle::EndDrag(bool move)
{
    if (!m_Dragging) {
        return;
    }
    m_Dragging = false;
    m_Frame.Erase();
    if (move && m_Form && m_NewFrame != m_StartRect) {
        m_Form->setGeometry(m_NewFrame.ToRect());
    }
}

void cSetStyle::ShowPointerShape(SizingBand::HitCode code)
{
    if (m_Form) {
        m_Form->setCursor(SizingBand::CursorFor(code));
    }
}

// The band's pointer shapes belong to the window's own surface: a child keeps its arrow instead
// of taking over its parent's shape.
bool cSetStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_Form && event->type() == QEvent::ChildPolished) {
        if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child())) {
            keepArrow(child);
        }
    }
    return QObject::eventFilter(watched, event);
}
