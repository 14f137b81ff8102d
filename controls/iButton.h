#pragma once

#include "ButtonFacePainter.h"
#include "platform/winsys/PropertyBag.h"
#include "platform/winsys/SystemColors.h"
#include "platform/winsys/WindowHandles.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

// The skinned push or toggle button of the client's windows. Its look comes from one strip of
// frames (normal, hover, pressed; a toggle button has them twice, for Value false and true),
// cut once into state images; the image of the current state is stretched over the button with
// an optional icon and a centred caption on top (drawn by its ButtonFacePainter).
//
// It tracks hover by polling the pointer every 50 ms while the pointer is over it and moving (a
// pointer at rest wakes nothing until it moves or leaves), so it notices the pointer leaving
// even when another window took it, and raises MouseOver / MouseOut besides the usual mouse, key
// and click events. Event parameters are references: a handler connected directly may change them,
// and the button acts on what the handler left (a MouseDown handler that clears Button turns
// the press into nothing).
//
// Sizes that belong to the form layout (caption and icon placement) are in twips; the widget's
// geometry is in pixels as always.
class iButton : public QWidget {
    Q_OBJECT

public:
    static constexpr int HoverPollMs = 50;
    static constexpr int DefaultDrawMode = 13; // copy pen
    static constexpr platform::COLORREF DefaultForeColor = ButtonFacePainter::DefaultForeColor;

    explicit iButton(QWidget *parent = nullptr);
    ~iButton() override;

    platform::HWND hWnd();
    // The drawing surface: what the button last drew, at its pixel size. Owners may draw on it;
    // the next redraw of the button replaces it.
    QImage *hdc() { return &m_Surface; }
    QImage Image() const { return m_Surface; }

    short cDrawMode() const { return m_DrawMode; }
    void SetcDrawMode(short mode);
    QFont cFont() const { return font(); }
    void SetcFont(const QFont &newFont);
    platform::COLORREF cForeColor() const { return m_Face.ForeColor(); }
    void SetcForeColor(platform::COLORREF color);
    bool Locked() const { return m_Locked; }
    void SetLocked(bool locked);
    bool Value() const { return m_Value; }
    void SetValue(bool value);
    bool AutoSize() const { return m_AutoSize; }
    void SetAutoSize(bool autoSize);
    int Style() const { return m_Style; }
    void SetStyle(int style);
    QImage BackPicture() const { return m_BackPicture; }
    void SetBackPicture(const QImage &picture);
    QImage Icon() const { return m_Face.Icon(); }
    void SetIcon(const QImage &icon);
    // The button's own flag; a disabled parent also makes it look disabled, without changing this.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    void SetEnabled(bool enabled);
    // 0 transparent (magenta pixels of the face show what lies beneath), 1 opaque.
    short cBackStyle() const { return m_Face.SeeThrough() ? 0 : 1; }
    void SetcBackStyle(short backStyle);
    QString Caption() const { return m_Face.Caption(); }
    void SetCaption(const QString &caption);

    // Draws a state (0 normal, 1 hover, 2 pressed, 3 disabled) unless it is the one already
    // drawn; vComplePaint draws it anyway.
    void cMouseAction(int cAction, bool vComplePaint);

    // The state the pointer, the mouse button and the enabled flag call for now.
    int CurrentState() const;

    void ReadProperties(const platform::PropertyBag &PropBag);
    void WriteProperties(platform::PropertyBag &PropBag) const;

    QSize sizeHint() const override;

    // The pointer is being polled: it is over the button and has moved since the last tick, or
    // the button has yet to learn that it left.
    bool IsWatchingPointer() const { return Timer1.isActive(); }

signals:
    void Click();
    void MouseDown(short &Button, short &Shift, float &X, float &Y);
    void KeyDown(short &KeyCode, short &Shift);
    void KeyUP(short &KeyCode, short &Shift);
    void KeyPress(short &KeyAscii);
    void MouseUp(short &Button, short &Shift, float &X, float &Y);
    void MouseMove(short &Button, short &Shift, float &X, float &Y);
    void MouseOut();
    void MouseOver();
    void DBClick();

    // A persisted property changed (its key as stored), for a form designer to save.
    void PropertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void Timer1_Timer();
    void PointerArrived();
    void WatchPointer();
    void BuildStateImages();
    void DrawButton(int state);
    void DrawFocus();
    bool IsMouseOver() const;
    bool IsWindowAt(const QPoint &globalPos) const;
    void FlipToggle();
    void ClickAction();
    void KeyClick();
    void ApplyAutoSize();
    void Redraw() { DrawButton(CurrentState()); }

    ButtonFacePainter m_Face;
    QImage m_BackPicture;
    bool m_Hover = false;
    bool m_Down = false;
    short m_LastButton = 0;
    bool m_Value = false;
    int m_Style = 0;
    int m_DrawnState = 0;
    bool m_AutoSize = true;
    bool m_Locked = false;

    // The drawing surface and its attributes.
    QImage m_Surface;
    short m_DrawMode = DefaultDrawMode;

    QTimer Timer1;
    QPoint m_WatchedPointer;     // where the last tick found the pointer over the button
    QString m_Tag;               // "1" once the strip was cut on first show
    bool m_ClickPending = false; // a press on the button whose release may still click
    bool m_SizeFixed = false;    // AutoSize holds the size to one frame
};
