#include "uTab.h"

#include "CTabItem.h"
#include "CTabItems.h"
#include "ITabForm.h"
#include "TabMetrics.h"
#include "mdlTabAPI.h"
#include "platform/os/Resources.h"
#include "platform/winsys/MemDC.h"
#include "platform/winsys/MouseCodes.h"
#include "platform/winsys/WinApi.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <cmath>
#include <exception>

using namespace platform;
using namespace MouseCodes;

namespace {

// Unselected captions asked for weight 100; the GUI font they were designed with has no thin
// face, so they came out regular. Fonts here do have one, which reads as washed-out grey.
const int PlainWeight = QFont::Normal;
const int BoldWeight = 700;

QFont guiFont(int weight)
{
    QFont font = QGuiApplication::font();
    font.setWeight(QFont::Weight(weight));
    return font;
}

// Steps of a resize are independent: one that fails leaves the others to run.
template <typename Step> void runStep(Step step)
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

} // namespace

uTab::uTab(QWidget *parent)
    : QWidget(parent), m_Self(static_cast<IuTab *>(this), [](IuTab *) {}),
      m_TabItems(std::make_shared<CTabItems>())
{
    // The strip composes in the pixels of its memory DCs, which are the 1x skin's.
    m_hSkinDC0 =
        mdlTabAPI::CreateMemDCFromBitmap(LoadBitmapResource(TabMetrics::ForStyle(0).SkinBitmap, 1));
    m_hSkinDC1 =
        mdlTabAPI::CreateMemDCFromBitmap(LoadBitmapResource(TabMetrics::ForStyle(1).SkinBitmap, 1));
    m_hFont = guiFont(PlainWeight);
    m_hFontBold = guiFont(BoldWeight);
    m_TabItems->SetIuTab(m_Self);
    connect(&c_Subclass, &CSubclass::WindowProc, this, &uTab::c_Subclass_WindowProc,
            Qt::DirectConnection);
    setMouseTracking(true);
    // Every pixel comes from the frame; nothing needs to be painted beneath it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(StripHeight());
    // There is no design time here: the strip always runs in its host.
    HookWindow(hWnd(), CSubclass::ALL_MESSAGES, CSubclass::MSG_BEFORE);
}

uTab::~uTab()
{
    c_Subclass.ssc_Terminate();
    // Items that forms keep may outlive the strip; from now on they find no strip.
    m_Self.reset();
    m_TabItems.reset();
    FreeBuffers();
}

HWND uTab::hWnd()
{
    return HandleOf(this);
}

void uTab::HookWindow(HWND hWnd, qint32 uMsg, int When)
{
    // A window is hooked once; giving the same container again adds nothing to its table.
    if (c_Subclass.IsHooked(hWnd) || !c_Subclass.ssc_Subclass(hWnd, 0, 1, true, nullptr, false)) {
        return;
    }
    c_Subclass.ssc_AddMsg(hWnd, uMsg, When);
}

void uTab::refresh()
{
    DrawStrip(true);
}

void uTab::LockReDraw(bool bLock)
{
    m_bRedraw = !bLock;
    if (m_bRedraw) {
        LayoutTabs();
        DrawStrip(true);
    }
}

void uTab::SethContainerWnd(HWND hWnd)
{
    if (m_hContainerWnd && m_hContainerWnd != hWnd && m_hContainerWnd != this->hWnd()) {
        c_Subclass.ssc_UnSubclass(m_hContainerWnd);
    }
    m_hContainerWnd = hWnd;
    if (!IsWindow(hWnd)) {
        return;
    }
    HookWindow(hWnd, wm::Size, CSubclass::MSG_AFTER);
    for (int i = 0; i < m_TabItems->Count(); ++i) {
        if (ITabForm *form = m_TabItems->Item(i)->Form()) {
            AttachForm(form->hWnd());
        }
    }
    ShowSelectedForm();
}

void uTab::SetSelected(int NewValue)
{
    if (NewValue < 0) {
        m_Selected = -1;
        DrawStrip(true);
        return;
    }
    if (NewValue > m_TabItems->Count() - 1) {
        return;
    }
    m_Selected = NewValue;
    ShowSelectedForm();
    DrawStrip(true);
}

void uTab::SetTabStyle(int style)
{
    m_TabStyle = style;
    // The tabs keep their places until the next resize, but their faces and marks change shape.
    LayoutTabs(false);
}

void uTab::RefreshPage()
{
    // Reached from a menu command: without a selected page there is nothing to reload.
    if (m_Selected < 0 || m_Selected >= m_TabItems->Count()) {
        return;
    }
    if (ITabForm *form = m_TabItems->Item(m_Selected)->Form()) {
        form->RefreshPage();
    }
}

void uTab::ReadProperties(const PropertyBag &PropBag)
{
    m_TabStyle = PropBag.ReadProperty("TabStyle", m_TabStyle).toInt();
    m_TabLeftSize = PropBag.ReadProperty("TabLeftSize", m_TabLeftSize).toInt();
    m_TabRightSize = PropBag.ReadProperty("TabRightSize", m_TabRightSize).toInt();
}

void uTab::WriteProperties(PropertyBag &PropBag) const
{
    PropBag.WriteProperty("TabStyle", m_TabStyle);
    PropBag.WriteProperty("TabLeftSize", m_TabLeftSize);
    PropBag.WriteProperty("TabRightSize", m_TabRightSize);
}

QImage uTab::Frame() const
{
    return m_hFrameDC ? m_hFrameDC->Bitmap() : QImage();
}

// ---- The collection's calls -------------------------------------------------------------

void uTab::Add(const QString &, ITabForm *Form, const std::optional<QString> &, const TabIndex &)
{
    AttachForm(Form->hWnd());
    m_Selected = TabLayout::SelectionAfter(TabLayout::TabAdded, m_TabItems->Count(), m_Selected);
    LayoutTabs();
    DrawTabs(true);
}

bool uTab::BeforeRemove(int Index)
{
    bool Cancel = false;
    emit OnItemColose(Index, Cancel);
    return !Cancel;
}

void uTab::Remove(int Index)
{
    LayoutTabs();
    m_Selected =
        TabLayout::SelectionAfter(TabLayout::TabRemoved, m_TabItems->Count(), m_Selected, Index);
    ShowSelectedForm();
    DrawTabs(true);
}

void uTab::Clear()
{
    LayoutTabs();
    m_Selected = TabLayout::SelectionAfter(TabLayout::TabsCleared, 0, m_Selected);
    DrawTabs(true);
}

void uTab::Redraw(bool)
{
    // A tab's caption, close mark or locked size changed: placed again where the tabs are, which
    // move only at the next full layout.
    LayoutTabs(false);
    DrawStrip(true);
}

void uTab::ChangeForm(CTabItem &, ITabForm *Form)
{
    runStep([&] { AttachForm(Form->hWnd()); });
    runStep([&] { ShowSelectedForm(); });
}

HWND uTab::hParent()
{
    QWidget *form = window();
    return form != this ? HandleOf(form) : 0;
}

// ---- Layout and hit testing -------------------------------------------------------------

TabLayout::StripGeometry uTab::Geometry() const
{
    return {m_TabStyle, width(), m_TabLeftSize, m_TabRightSize};
}

QList<TabLayout::TabBox> uTab::Boxes() const
{
    QList<TabLayout::TabBox> boxes;
    boxes.reserve(m_TabItems->Count());
    for (int i = 0; i < m_TabItems->Count(); ++i) {
        const std::shared_ptr<CTabItem> item = m_TabItems->Item(i);
        // The rectangles come with the layout.
        boxes.append({item->Left(), item->Width(), item->LockSize(), item->HideButton(),
                      item->Caption(), QRect(), QRect(), QRect()});
    }
    return boxes;
}

// The one layout pass: while drawing is enabled and the tabs may move, the shared width and
// every tab's place; then the rectangles that hit tests and drawing read until the next pass.
void uTab::LayoutTabs(bool bMove)
{
    m_Placed = Boxes();
    if (bMove && m_bRedraw) {
        m_TabWidth = TabLayout::CalcTabWidth(Geometry(), m_Placed);
        TabLayout::LayoutTabs(m_TabStyle, m_TabWidth, m_Placed);
        for (int i = 0; i < m_Placed.size(); ++i) {
            const std::shared_ptr<CTabItem> item = m_TabItems->Item(i);
            item->SetLeft(m_Placed[i].Left);
            item->SetWidth(m_Placed[i].Width);
        }
    }
    TabLayout::PlaceTabs(m_TabStyle, m_Placed);
}

TabLayout::Hit uTab::HitTest(float X, float Y) const
{
    return TabLayout::HitTest(Geometry(), m_Placed, int(std::nearbyint(X)), int(std::nearbyint(Y)));
}

// ---- Mouse ------------------------------------------------------------------------------

void uTab::mousePressEvent(QMouseEvent *event)
{
    const MouseArgs m = Unpack(event, Unit::Pixels);
    UserControl_MouseDown(m.Button, m.Shift, m.X, m.Y);
}

void uTab::mouseMoveEvent(QMouseEvent *event)
{
    const MouseArgs m = Unpack(event, Unit::Pixels);
    UserControl_MouseMove(m.Button, m.Shift, m.X, m.Y);
}

void uTab::mouseReleaseEvent(QMouseEvent *event)
{
    const MouseArgs m = Unpack(event, Unit::Pixels);
    UserControl_MouseUp(m.Button, m.Shift, m.X, m.Y);
}

void uTab::mouseDoubleClickEvent(QMouseEvent *)
{
    UserControl_DblClick();
}

void uTab::UserControl_MouseDown(short Button, short Shift, float X, float Y)
{
    // The double click has no position of its own; it replays the last press.
    m_Button = Button;
    m_Shift = Shift;
    m_X = X;
    m_Y = Y;
    if (Button != LeftButton) {
        emit OnMouseDown(0, Button, Shift, X, Y);
        return;
    }
    const TabLayout::Hit hit = HitTest(X, Y);
    const int i = hit.Index;
    if (i >= 0 && i < m_TabItems->Count()) {
        if (i != m_Selected && !hit.bOnClose) {
            m_Selected = i;
            ShowSelectedForm();
            DrawTabs(true);
        } else if (hit.bOnClose && m_CloseState != TabDrawing::CloseMarkPressed) {
            m_CloseState = TabDrawing::CloseMarkPressed;
            DrawTabs(true);
        }
        emit TabChanged();
    }
    int ItemIndex = i;
    emit OnMouseDown(ItemIndex, Button, Shift, X, Y);
}

void uTab::UserControl_MouseMove(short Button, short Shift, float X, float Y)
{
    // While a button is held the hot tab and the close mark keep their state.
    if (Button != 0) {
        emit OnMouseMove(0, Button, Shift, X, Y);
        return;
    }
    c_Subclass.TrackMouseTracking(hWnd());
    const TabLayout::Hit hit = HitTest(X, Y);
    const int i = hit.Index;
    const auto c = hit.bOnClose ? TabDrawing::CloseMarkHot : TabDrawing::CloseMarkNormal;
    if (i != m_HotIndex || c != m_CloseState) {
        if (i != m_HotIndex) {
            emit OnMouseHover(i, Button, Shift, X, Y);
        }
        m_HotIndex = i;
        m_CloseState = c;
        DrawTabs(true);
    }
    emit OnMouseMove(i, Button, Shift, X, Y);
}

void uTab::UserControl_MouseUp(short Button, short Shift, float X, float Y)
{
    if (Button != LeftButton) {
        emit OnMouseUp(0, Button, Shift, X, Y);
        return;
    }
    const TabLayout::Hit hit = HitTest(X, Y);
    const int i = hit.Index;
    m_CloseState = TabDrawing::CloseMarkNormal;
    if (i >= 0 && i < m_TabItems->Count() && i == m_HotIndex && hit.bOnClose &&
        !m_TabItems->Item(i)->HideButton()) {
        // The host's veto handler may end the window that holds the strip.
        QPointer<uTab> alive(this);
        std::shared_ptr<CTabItems> items = m_TabItems;
        items->Remove(i, true);
        if (!alive) {
            return;
        }
    }
    DrawStrip(true);
    emit OnMouseUp(i, Button, Shift, X, Y);
}

void uTab::UserControl_DblClick()
{
    const int i = HitTest(m_X, m_Y).Index;
    UserControl_MouseDown(m_Button, m_Shift, m_X, m_Y);
    emit OnDblClick(i, m_Button, m_Shift, m_X, m_Y);
}

void uTab::UserControl_MouseLeave()
{
    if (m_HotIndex != -1) {
        m_HotIndex = -1;
        DrawTabs(true);
    }
    emit OnMouseLeave();
}

// ---- Hooks ------------------------------------------------------------------------------

void uTab::c_Subclass_WindowProc(bool bBefore, bool &bHandled, LRESULT &lReturn, HWND lng_hWnd,
                                 UINT uMsg, WPARAM, LPARAM, LPARAM &)
{
    if (lng_hWnd == m_hContainerWnd && !bBefore && uMsg == wm::Size) {
        ShowSelectedForm();
        return;
    }
    if (lng_hWnd != hWnd() || !bBefore) {
        return;
    }
    switch (uMsg) {
    case wm::EraseBkgnd:
        bHandled = true;
        lReturn = 0;
        break;
    case wm::Paint:
        HandlePaint();
        bHandled = true;
        lReturn = 0;
        break;
    case wm::MouseLeave:
        UserControl_MouseLeave();
        break;
    default:
        break;
    }
}

// ---- Drawing ----------------------------------------------------------------------------

int uTab::StripHeight() const
{
    return TabMetrics::ForStyle(m_TabStyle).StripHeight;
}

void uTab::resizeEvent(QResizeEvent *)
{
    UserControl_Resize();
}

void uTab::UserControl_Resize()
{
    runStep([this] {
        if (height() != StripHeight()) {
            setFixedHeight(StripHeight());
        }
    });
    runStep([this] { CreateBuffers(); });
    runStep([this] { LayoutTabs(); });
    runStep([this] { DrawStrip(true); });
}

void uTab::CreateBuffers()
{
    const int w = width();
    const int h = StripHeight();
    FreeBuffers();
    m_hFrameDC = mdlTabAPI::CreateMemBitmapDC(w, h);
    m_hBackDC = mdlTabAPI::CreateMemBitmapDC(w, h);
    m_hTabsDC = mdlTabAPI::CreateMemBitmapDC(Geometry().BandWidth(), h);
}

void uTab::FreeBuffers()
{
    for (std::unique_ptr<MemDC> *buffer : {&m_hFrameDC, &m_hBackDC, &m_hTabsDC}) {
        if (*buffer) {
            mdlTabAPI::DeleteMemDC(*buffer);
        }
    }
}

TabDrawing::Art uTab::Art() const
{
    return {m_TabStyle == 0 ? m_hSkinDC0.get() : m_hSkinDC1.get(), m_hFont, m_hFontBold};
}

void uTab::DrawStrip(bool bUpdate)
{
    DrawBackground();
    DrawTabs(bUpdate);
}

void uTab::DrawBackground()
{
    // Before the first resize there is no surface: a host's handler would draw into nothing.
    if (!m_bRedraw || !m_hBackDC) {
        return;
    }
    bool bSkipDefault = false;
    emit OnDrawBackground(m_hBackDC.get(), width(), StripHeight(), bSkipDefault);
    if (!bSkipDefault) {
        TabDrawing::DrawDefaultBackground(Geometry(), Art(), m_hBackDC.get());
    }
}

void uTab::DrawTabs(bool bUpdate)
{
    if (!m_bRedraw) {
        return;
    }
    ++m_Compositions;
    TabDrawing::DrawTabs({Geometry(), m_Placed, m_HotIndex, m_Selected, m_CloseState}, Art(),
                         m_hTabsDC.get(), m_hBackDC.get(), m_hFrameDC.get());
    if (bUpdate) {
        update();
    }
}

void uTab::paintEvent(QPaintEvent *)
{
    HandlePaint();
}

void uTab::HandlePaint()
{
    // Painting is possible only while the window is being painted; a paint message sent by
    // code has nothing to paint on.
    if (!m_hFrameDC || !testAttribute(Qt::WA_WState_InPaintEvent)) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_hFrameDC->Bitmap());
}

// ---- Hosting ----------------------------------------------------------------------------

void uTab::AttachForm(HWND hWnd)
{
    // Without a container there is nowhere to put the window yet; setting one attaches it.
    if (!IsWindow(m_hContainerWnd)) {
        return;
    }
    const QRect rc = WinApi::GetClientRect(m_hContainerWnd);
    WinApi::SetParent(hWnd, m_hContainerWnd);
    mdlTabAPI::ChangeWindowLong(hWnd, WinApi::GWL_STYLE, WinApi::WS_CAPTION | WinApi::WS_THICKFRAME,
                                WinApi::WS_CHILD, WinApi::SWP_FRAMECHANGED);
    WinApi::SetWindowPos(hWnd, 0, 0, 0, rc.width(), rc.height(),
                         WinApi::SWP_HIDEWINDOW | WinApi::SWP_NOACTIVATE | WinApi::SWP_NOZORDER);
}

void uTab::ShowSelectedForm()
{
    if (m_Selected >= m_TabItems->Count() || !m_hContainerWnd || m_Selected < 0) {
        return;
    }
    ITabForm *form = m_TabItems->Item(m_Selected)->Form();
    if (!form) {
        return;
    }
    const QRect rc = WinApi::GetClientRect(m_hContainerWnd);
    WinApi::SetWindowPos(form->hWnd(), WinApi::HWND_TOP, 0, 0, rc.width(), rc.height(),
                         WinApi::SWP_SHOWWINDOW | WinApi::SWP_NOACTIVATE);
}
