#include "iButton.h"

#include "ButtonLayout.h"
#include "ButtonStrip.h"
#include "platform/winsys/LayeredWindow.h"
#include "platform/winsys/MouseCodes.h"
#include "platform/winsys/VirtualKeys.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

using namespace ButtonStrip;
using namespace MouseCodes;

namespace {

const platform::COLORREF WindowBackground = 0x80000005;
const short EnterKey = 13;
const short SpaceKey = 32;

// The system's focus rectangle: every other pixel of the frame inverted, so drawing it twice
// takes it away again.
void drawFocusRect(QImage &surface, const QRect &logicalFrame)
{
    const int ratio = qMax(1, qRound(surface.devicePixelRatio()));
    const QRect frame(logicalFrame.topLeft() * ratio, logicalFrame.size() * ratio);
    const auto invert = [&surface](int x, int y) {
        if (surface.rect().contains(x, y) && (x + y) % 2 == 0) {
            const QRgb pixel = surface.pixel(x, y);
            surface.setPixel(
                x, y,
                qRgba(255 - qRed(pixel), 255 - qGreen(pixel), 255 - qBlue(pixel), qAlpha(pixel)));
        }
    };
    for (int x = frame.left(); x <= frame.right(); ++x) {
        invert(x, frame.top());
        invert(x, frame.bottom());
    }
    for (int y = frame.top() + 1; y < frame.bottom(); ++y) {
        invert(frame.left(), y);
        invert(frame.right(), y);
    }
}

} // namespace

iButton::iButton(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    Timer1.setInterval(HoverPollMs);
    connect(&Timer1, &QTimer::timeout, this, &iButton::Timer1_Timer);
    // Running from the start: the first tick with the pointer elsewhere raises one MouseOut.
    Timer1.start();
    BuildStateImages();
}

iButton::~iButton()
{
    Timer1.stop();
}

platform::HWND iButton::hWnd()
{
    return platform::HandleOf(this);
}

QSize iButton::sizeHint() const
{
    if (m_AutoSize && !m_BackPicture.isNull()) {
        return FrameSize(m_BackPicture.deviceIndependentSize().toSize(), m_Style);
    }
    return QSize(75, 23);
}

void iButton::SetcDrawMode(short mode)
{
    m_DrawMode = mode;
    Redraw();
    emit PropertyChanged("cDrawMode");
}

void iButton::SetcFont(const QFont &newFont)
{
    setFont(newFont);
    Redraw();
    emit PropertyChanged("cFont");
}

void iButton::SetcForeColor(platform::COLORREF color)
{
    m_Face.SetForeColor(color);
    Redraw();
    emit PropertyChanged("cForeColor");
}

void iButton::SetLocked(bool locked)
{
    m_Locked = locked;
    cMouseAction(CurrentState(), true);
}

void iButton::SetValue(bool value)
{
    if (m_Style != ToggleStyle) {
        m_Value = false;
        return;
    }
    m_Value = value;
    cMouseAction(CurrentState(), true);
}

void iButton::SetAutoSize(bool autoSize)
{
    m_AutoSize = autoSize;
    if (autoSize) {
        BuildStateImages();
    } else {
        ApplyAutoSize();
    }
    emit PropertyChanged("AutoSize");
}

void iButton::SetStyle(int style)
{
    // Only the two strip layouts exist; anything else would index past the cut images.
    m_Style = style == ToggleStyle ? ToggleStyle : PushStyle;
    if (m_Style != ToggleStyle) {
        m_Value = false;
    }
    BuildStateImages();
    emit PropertyChanged("Style");
}

void iButton::SetBackPicture(const QImage &picture)
{
    m_BackPicture = picture;
    BuildStateImages();
    emit PropertyChanged("BackPicture");
}

void iButton::SetIcon(const QImage &icon)
{
    m_Face.SetIcon(icon);
    emit PropertyChanged("Icon");
}

void iButton::SetEnabled(bool enabled)
{
    setEnabled(enabled); // redraws through changeEvent
    emit PropertyChanged("Enabled");
}

void iButton::SetcBackStyle(short backStyle)
{
    m_Face.SetSeeThrough(backStyle == 0);
    Redraw();
    emit PropertyChanged("cBackStyle");
}

void iButton::SetCaption(const QString &caption)
{
    m_Face.SetCaption(caption);
    Redraw();
    emit PropertyChanged("Caption");
}

void iButton::cMouseAction(int cAction, bool vComplePaint)
{
    if (cAction != m_DrawnState || vComplePaint) {
        m_DrawnState = cAction;
        DrawButton(cAction);
    }
}

int iButton::CurrentState() const
{
    if (!isEnabled()) {
        return StateDisabled;
    }
    if (m_Down) {
        return IsMouseOver() ? StatePressed : StateNormal;
    }
    return IsMouseOver() ? StateHover : StateNormal;
}

bool iButton::IsWindowAt(const QPoint &globalPos) const
{
    return isVisible() && QApplication::widgetAt(globalPos) == this;
}

bool iButton::IsMouseOver() const
{
    return IsWindowAt(QCursor::pos());
}

void iButton::BuildStateImages()
{
    m_Face.SetStrip(m_BackPicture, m_Style);
    ApplyAutoSize();
    cMouseAction(CurrentState(), true);
}

void iButton::DrawButton(int state)
{
    // Drawn at the screen's own pixels, so a picture for a ratio of 2 keeps its detail.
    const qreal ratio = devicePixelRatioF();
    if (m_Surface.deviceIndependentSize() != QSizeF(size()) ||
        m_Surface.devicePixelRatio() != ratio) {
        m_Surface = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_Surface.setDevicePixelRatio(ratio);
    }
    const QRect face(QPoint(0, 0), size());
    m_Surface.fill(platform::TranslateColor(WindowBackground));
    m_Face.SetFont(font()); // set on the button or inherited from its window
    // The face shows the state last asked for; a locked button stays pressed.
    const bool seeThrough =
        m_Face.PaintFace(m_Surface, face, m_Locked ? StatePressed : m_DrawnState, m_Value);
    if (seeThrough) {
        setMask(platform::OpaqueRegion(m_Surface));
    } else {
        clearMask();
    }
    m_Face.PaintCaption(m_Surface, face, state);
    update();
}

void iButton::DrawFocus()
{
    drawFocusRect(m_Surface, ButtonLayout::FocusRect(size()));
    update();
}

void iButton::ApplyAutoSize()
{
    // A fixed size holds even while the button is hidden or in a layout, where a resize
    // handler would come too late.
    const QSize frame = m_BackPicture.isNull()
                            ? QSize()
                            : FrameSize(m_BackPicture.deviceIndependentSize().toSize(), m_Style);
    if (m_AutoSize && !frame.isEmpty()) {
        setFixedSize(frame);
        m_SizeFixed = true;
    } else if (m_SizeFixed) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_SizeFixed = false;
    }
}

void iButton::FlipToggle()
{
    if (m_Style == ToggleStyle) {
        m_Value = !m_Value;
    }
}

void iButton::ClickAction()
{
    if (m_LastButton != LeftButton) {
        return;
    }
    cMouseAction(CurrentState(), true);
    emit Click();
}

// Enter going down or Space coming up clicks the button from the keyboard.
void iButton::KeyClick()
{
    FlipToggle();
    cMouseAction(CurrentState(), true);
    if (!m_Hover) {
        DrawFocus();
    }
    emit Click();
}

void iButton::Timer1_Timer()
{
    const QPoint pointer = QCursor::pos();
    if (IsWindowAt(pointer)) {
        if (m_Down) {
            cMouseAction(StatePressed, false);
        }
        // A pointer at rest on the button wakes nobody: its next move, its leaving (also for a
        // window that comes over it) or a button brings the watch back.
        if (pointer == m_WatchedPointer) {
            Timer1.stop();
        }
        m_WatchedPointer = pointer;
        return;
    }
    if (!m_Down) {
        Timer1.stop();
        m_Hover = false;
        const QPointer<iButton> alive(this);
        emit MouseOut();
        if (!alive) {
            return;
        }
    }
    cMouseAction(StateNormal, false);
}

void iButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_Surface);
}

void iButton::resizeEvent(QResizeEvent *)
{
    cMouseAction(CurrentState(), true);
}

void iButton::showEvent(QShowEvent *)
{
    // The strip is cut once per button, on its first show.
    if (m_Tag.isEmpty()) {
        BuildStateImages();
        m_Tag = "1";
    }
}

void iButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        // A disabled button never sees the release of a press it was holding.
        if (!isEnabled()) {
            m_Down = false;
            m_ClickPending = false;
        }
        cMouseAction(CurrentState(), true);
    }
    QWidget::changeEvent(event);
}

void iButton::mousePressEvent(QMouseEvent *event)
{
    WatchPointer();
    MouseArgs m = Unpack(event);
    const QPointer<iButton> alive(this);
    emit MouseDown(m.Button, m.Shift, m.X, m.Y);
    if (!alive) {
        return;
    }
    m_LastButton = m.Button;
    m_ClickPending = true;
    if (m.Button == LeftButton) {
        setCursor(Qt::ArrowCursor);
        cMouseAction(StatePressed, false);
        m_Down = true;
    }
}

void iButton::mouseReleaseEvent(QMouseEvent *event)
{
    WatchPointer();
    MouseArgs m = Unpack(event);
    const QPointer<iButton> alive(this);
    emit MouseUp(m.Button, m.Shift, m.X, m.Y);
    if (!alive) {
        return;
    }
    const bool over = IsWindowAt(event->globalPosition().toPoint());
    // A release away from the button, or the release that ends a double click, is no click.
    const bool click = m_ClickPending && over;
    m_ClickPending = false;
    if (m.Button == LeftButton) {
        if (over) {
            // The release that ends a double click raises no Click, so it leaves Value too:
            // owners follow Value by its Clicks.
            if (click) {
                FlipToggle();
            }
            cMouseAction(StateHover, true);
        } else {
            cMouseAction(StateNormal, true);
        }
        m_Down = false;
    }
    if (click) {
        ClickAction();
    }
}

void iButton::mouseDoubleClickEvent(QMouseEvent *)
{
    m_ClickPending = false;
    if (m_LastButton == LeftButton) {
        cMouseAction(StatePressed, false);
    }
    emit DBClick();
}

void iButton::WatchPointer()
{
    if (!Timer1.isActive()) {
        Timer1.start();
    }
}

void iButton::leaveEvent(QEvent *)
{
    WatchPointer();
}

void iButton::mouseMoveEvent(QMouseEvent *event)
{
    WatchPointer();
    MouseArgs m = Unpack(event);
    const QPointer<iButton> alive(this);
    emit MouseMove(m.Button, m.Shift, m.X, m.Y);
    if (alive) {
        PointerArrived();
    }
}

void iButton::enterEvent(QEnterEvent *)
{
    WatchPointer();
    // The window system reports a pointer that comes to rest on the button (a window opened
    // under it, a pointer warped there) as an enter without any move.
    PointerArrived();
}

void iButton::PointerArrived()
{
    if (!IsMouseOver()) {
        return;
    }
    setCursor(Qt::PointingHandCursor);
    if (!m_Hover) {
        cMouseAction(StateHover, false);
        m_Hover = true;
        Timer1.start();
        emit MouseOver();
    }
}

void iButton::keyPressEvent(QKeyEvent *event)
{
    short keyCode = short(platform::VirtualKeyOf(event->key()));
    short shift = ShiftCode(event->modifiers());
    const QPointer<iButton> alive(this);
    emit KeyDown(keyCode, shift);
    if (!alive) {
        return;
    }
    if (keyCode == EnterKey) {
        KeyClick();
        if (!alive) {
            return;
        }
    } else if (keyCode == SpaceKey) {
        cMouseAction(StatePressed, true);
        if (!m_Hover) {
            DrawFocus();
        }
    }
    const QString text = event->text();
    if (!text.isEmpty()) {
        short keyAscii = short(text.at(0).unicode());
        emit KeyPress(keyAscii);
    }
    // Keys the button has no use for go on to its window (a dialog's Escape, say).
    event->setAccepted(keyCode == EnterKey || keyCode == SpaceKey);
}

void iButton::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its key-down only, as on the system the button was made for.
    if (event->isAutoRepeat()) {
        return;
    }
    short keyCode = short(platform::VirtualKeyOf(event->key()));
    short shift = ShiftCode(event->modifiers());
    const QPointer<iButton> alive(this);
    emit KeyUP(keyCode, shift);
    if (!alive) {
        return;
    }
    if (keyCode == SpaceKey) {
        KeyClick();
        return;
    }
    event->ignore();
}

void iButton::focusInEvent(QFocusEvent *)
{
    cMouseAction(CurrentState(), true);
    if (!m_Down) {
        DrawFocus();
    }
}

void iButton::focusOutEvent(QFocusEvent *)
{
    cMouseAction(CurrentState(), true);
}

void iButton::ReadProperties(const platform::PropertyBag &PropBag)
{
    // Pictures are only stored here; the strip is cut when the button is first shown.
    m_BackPicture =
        PropBag.ReadProperty("BackPicture", QVariant::fromValue(QImage())).value<QImage>();
    m_Face.SetIcon(PropBag.ReadProperty("Icon", QVariant::fromValue(QImage())).value<QImage>());
    setEnabled(PropBag.ReadProperty("Enabled", true).toBool());
    m_Face.SetSeeThrough(PropBag.ReadProperty("cBackStyle", 1).toInt() == 0);
    m_Face.SetCaption(PropBag.ReadProperty("Caption", QString()).toString());
    m_Style = PropBag.ReadProperty("Style", 0).toInt() == ToggleStyle ? ToggleStyle : PushStyle;
    m_AutoSize = PropBag.ReadProperty("AutoSize", true).toBool();
    m_Face.SetForeColor(PropBag.ReadProperty("cForeColor", cForeColor()).toUInt());
    setFont(PropBag.ReadProperty("cFont", QVariant::fromValue(font())).value<QFont>());
    m_DrawMode = short(PropBag.ReadProperty("cDrawMode", int(m_DrawMode)).toInt());
    if (m_Style != ToggleStyle) {
        m_Value = false;
    }
    // A button already on screen would otherwise go on showing its old strip.
    if (!m_Tag.isEmpty()) {
        BuildStateImages();
    } else {
        cMouseAction(CurrentState(), true);
    }
}

void iButton::WriteProperties(platform::PropertyBag &PropBag) const
{
    PropBag.WriteProperty("BackPicture", QVariant::fromValue(m_BackPicture),
                          QVariant::fromValue(QImage()));
    PropBag.WriteProperty("Icon", QVariant::fromValue(Icon()), QVariant::fromValue(QImage()));
    PropBag.WriteProperty("Enabled", Enabled(), true);
    PropBag.WriteProperty("Style", m_Style, 0);
    PropBag.WriteProperty("cBackStyle", int(cBackStyle()), 1);
    PropBag.WriteProperty("Caption", Caption(), QString());
    PropBag.WriteProperty("AutoSize", m_AutoSize, true);
    PropBag.WriteProperty("cFont", QVariant::fromValue(font()));
    PropBag.WriteProperty("cDrawMode", int(m_DrawMode));
    PropBag.WriteProperty("cForeColor", cForeColor());
}
