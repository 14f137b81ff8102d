#pragma once

#include "platform/winsys/PropertyBag.h"
#include "platform/winsys/SystemColors.h"
#include "platform/winsys/WindowHandles.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

// The skinned caption bar of the client's borderless windows. It paints a 33-pixel bar from the
// skin bitmap (resource bitmap 108) with the window's caption on it, moves the window named by
// frmHwnd when the left button goes down on it, and with Printform paints the skin's border onto
// the whole form. Positions follow the skin's layout in twips.
class BForm : public QWidget {
    Q_OBJECT

public:
    static constexpr platform::COLORREF DefaultBackColor = 14346732; // 236, 233, 218
    static constexpr int SkinBitmapId = 108;

    explicit BForm(QWidget *parent = nullptr);

    // The background colour as decimal text (negative for a system colour, as a 32-bit number
    // reads). Setting text that is not a number leaves the colour as it was.
    QString BackColor() const;
    void SetBackColor(const QString &text);
    QString Caption() const { return m_Caption; }
    void SetCaption(const QString &caption);
    bool HasLogo() const { return m_HasLogo; }
    void SetHasLogo(bool hasLogo);
    platform::HWND frmHwnd() const { return m_frmHwnd; }
    void SetfrmHwnd(platform::HWND hWnd);

    // The skin the bar and the border are cut from; resource bitmap 108 unless replaced. The
    // background colour shows wherever the skin is see-through or does not reach.
    QImage Skin() const { return PP; }
    void SetSkin(const QImage &skin);

    void DrawBar(const QString &caption);
    // Covers the bar's right end with plain bar and prints the caption closer to the corner,
    // for a window without caption buttons.
    void Nomin();
    // Paints the skin's border onto the form; the form shows it beneath its own painting until
    // Printform is called again (after a resize, say).
    void Printform(QWidget *frm);

    // What the bar last painted, and what Printform last gave the form.
    QImage Image() const { return m_Surface; }
    QImage FormImage() const { return m_FormImage; }

    void ReadProperties(const platform::PropertyBag &PropBag);
    void WriteProperties(platform::PropertyBag &PropBag) const;

signals:
    void DblClick();
    void MouseDown(short &Button, short &Shift, float &X, float &Y);
    void MouseMove(short &Button, short &Shift, float &X, float &Y);
    void MinClick(); // declared for owners that expect it; the bar never raises it

    void PropertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PrintCaption(const QString &caption, QPoint originTwips);
    QSize SkinTwips() const;

    QImage PP; // the skin
    QImage m_Surface;
    platform::COLORREF m_BackColor = DefaultBackColor;
    QString m_Caption = "NewForm";
    bool m_HasLogo = false;
    platform::HWND m_frmHwnd = 0;
    QPointer<QWidget> m_PrintedForm;
    QImage m_FormImage;
};
