#include "BForm.h"

#include "CaptionBarLayout.h"
#include "platform/os/Resources.h"
#include "platform/winsys/MouseCodes.h"
#include "platform/winsys/Twips.h"
#include "platform/winsys/WindowProc.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <cstdint>
#include <optional>

using namespace CaptionBarLayout;
using namespace MouseCodes;

namespace {

// SimSun where it is installed; elsewhere the Song-style face that stands in for it.
QFont captionFont()
{
    QFont font;
    font.setFamilies({"SimSun", "宋体", "Noto Serif CJK SC", "AR PL UMing CN"});
    font.setPointSize(9);
    font.setBold(true);
    return font;
}

// Accepts what a 32-bit colour number is written as: decimal, or &H hexadecimal.
std::optional<platform::COLORREF> parseColorNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 number = 0;
    if (trimmed.startsWith("&H", Qt::CaseInsensitive)) {
        number = trimmed.mid(2).toLongLong(&ok, 16);
    } else {
        number = trimmed.toLongLong(&ok, 10);
    }
    if (!ok || number < INT32_MIN || number > UINT32_MAX) {
        return std::nullopt;
    }
    return platform::COLORREF(quint32(number));
}

// An image of the widget's size at the screen's own pixels, so a sharp skin keeps its detail;
// the one there already while it still fits.
QImage surfaceFor(QSize size, qreal ratio, const QImage &current)
{
    if (current.deviceIndependentSize() == QSizeF(size) && current.devicePixelRatio() == ratio) {
        return current;
    }
    QImage surface(size * ratio, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    return surface;
}

} // namespace

BForm::BForm(QWidget *parent) : QWidget(parent), PP(platform::LoadBitmapResource(SkinBitmapId))
{
    setFont(captionFont());
    setFixedHeight(BarHeightPixels());
    // Owners follow the pointer over the bar, not only while a button is held.
    setMouseTracking(true);
    setCursor(Qt::ArrowCursor);
    DrawBar(m_Caption);
}

QSize BForm::SkinTwips() const
{
    return PP.deviceIndependentSize().toSize() * platform::TwipsPerPixel;
}

QString BForm::BackColor() const
{
    return QString::number(qint32(m_BackColor));
}

void BForm::SetBackColor(const QString &text)
{
    if (const auto color = parseColorNumber(text)) {
        m_BackColor = *color;
    }
    DrawBar(m_Caption);
    emit PropertyChanged("BackColor");
}

void BForm::SetCaption(const QString &caption)
{
    m_Caption = caption;
    DrawBar(m_Caption);
    emit PropertyChanged("Caption");
}

void BForm::SetHasLogo(bool hasLogo)
{
    m_HasLogo = hasLogo;
    DrawBar(m_Caption);
    emit PropertyChanged("HasLogo");
}

void BForm::SetSkin(const QImage &skin)
{
    PP = skin;
    DrawBar(m_Caption);
}

void BForm::SetfrmHwnd(platform::HWND hWnd)
{
    m_frmHwnd = hWnd;
    emit PropertyChanged("frmHwnd");
}

void BForm::DrawBar(const QString &caption)
{
    m_Surface = surfaceFor(size(), devicePixelRatioF(), m_Surface);
    m_Surface.fill(platform::TranslateColor(m_BackColor));
    QPainter painter(&m_Surface);
    PaintPieces(painter, PP, BarPieces(width() * platform::TwipsPerPixel, SkinTwips()));
    painter.end();
    PrintCaption(caption, CaptionOrigin(m_HasLogo));
    update();
}

void BForm::Nomin()
{
    QPainter painter(&m_Surface);
    PaintPieces(painter, PP, {NominPiece(width() * platform::TwipsPerPixel, SkinTwips())});
    painter.end();
    PrintCaption(m_Caption, QPoint(120, 100));
    update();
}

void BForm::PrintCaption(const QString &caption, QPoint originTwips)
{
    QPainter painter(&m_Surface);
    painter.setFont(font());
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font(), &m_Surface);
    painter.drawText(QPoint(platform::TwipsToPixels(originTwips.x()),
                            platform::TwipsToPixels(originTwips.y()) + metrics.ascent()),
                     caption);
}

void BForm::Printform(QWidget *frm)
{
    if (m_PrintedForm && m_PrintedForm != frm) {
        m_PrintedForm->removeEventFilter(this);
    }
    m_PrintedForm = frm;
    if (!frm) {
        m_FormImage = QImage();
        return;
    }
    m_FormImage = surfaceFor(frm->size(), frm->devicePixelRatioF(), QImage());
    m_FormImage.fill(frm->palette().color(frm->backgroundRole()));
    QPainter painter(&m_FormImage);
    PaintPieces(painter, PP, BorderPieces(frm->size() * platform::TwipsPerPixel, SkinTwips()));
    painter.end();
    frm->installEventFilter(this);
    frm->update();
}

bool BForm::eventFilter(QObject *watched, QEvent *event)
{
    // The printed border lies beneath whatever the form paints itself, like a form's
    // persistent picture.
    if (watched == m_PrintedForm && event->type() == QEvent::Paint) {
        QPainter painter(m_PrintedForm);
        painter.drawImage(0, 0, m_FormImage);
    }
    return QWidget::eventFilter(watched, event);
}

void BForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_Surface);
}

void BForm::resizeEvent(QResizeEvent *)
{
    DrawBar(m_Caption);
}

void BForm::mousePressEvent(QMouseEvent *event)
{
    MouseArgs m = Unpack(event);
    setCursor(Qt::ArrowCursor);
    if (m.Button == LeftButton) {
        // The window system takes the pointer for the move; a capture of ours would hold it.
        if (mouseGrabber() == this) {
            releaseMouse();
        }
        const QPointer<BForm> alive(this);
        platform::SendMessage(m_frmHwnd, platform::wm::NcLButtonDown, platform::HTCAPTION, 0);
        // The move may have ended with the window, and this bar with it.
        if (!alive) {
            return;
        }
        setCursor(Qt::ArrowCursor);
    }
    emit MouseDown(m.Button, m.Shift, m.X, m.Y);
}

void BForm::mouseMoveEvent(QMouseEvent *event)
{
    MouseArgs m = Unpack(event);
    setCursor(Qt::ArrowCursor);
    emit MouseMove(m.Button, m.Shift, m.X, m.Y);
}

void BForm::mouseDoubleClickEvent(QMouseEvent *)
{
    emit DblClick();
}

void BForm::ReadProperties(const platform::PropertyBag &PropBag)
{
    m_BackColor = PropBag.ReadProperty("BackColor", DefaultBackColor).toUInt();
    m_Caption = PropBag.ReadProperty("Caption", QString("NewForm")).toString();
    m_frmHwnd = PropBag.ReadProperty("frmHwnd", 0u).toUInt();
    m_HasLogo = PropBag.ReadProperty("HasLogo", false).toBool();
    // Painted once everything is read, so a bar with a logo never shows its caption misplaced.
    DrawBar(m_Caption);
}

void BForm::WriteProperties(platform::PropertyBag &PropBag) const
{
    PropBag.WriteProperty("BackColor", m_BackColor, DefaultBackColor);
    PropBag.WriteProperty("Caption", m_Caption, QString("NewForm"));
    PropBag.WriteProperty("frmHwnd", m_frmHwnd, 0u);
    PropBag.WriteProperty("HasLogo", m_HasLogo);
}
