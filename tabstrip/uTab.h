#pragma once

#include "IuTab.h"
#include "TabDrawing.h"
#include "TabLayout.h"
#include "TabMetrics.h"
#include "hooks/CSubclass.h"
#include "platform/winsys/PropertyBag.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <memory>

class MemDC;

// The owner-drawn tab strip. It shows the tabs of its collection as skinned faces with a
// caption and a close mark, highlights the tab under the pointer, selects on a left press and
// closes a tab whose close mark is pressed and released. The windows of the tabs live in a
// separate container window (hContainerWnd); the selected one is raised and fills it.
//
// Every picture is composed off screen (see TabDrawing) and painting only copies the last
// frame. Nothing is laid out or drawn until the host calls LockReDraw(false).
//
// Event parameters that are references may be changed by a handler connected directly.
class uTab : public QWidget, public IuTab {
    Q_OBJECT

public:
    using HWND = platform::HWND;

    explicit uTab(QWidget *parent = nullptr);
    ~uTab() override;

    // Recomposes and repaints the whole strip.
    void refresh();
    // Drawing is off while locked; unlocking lays the tabs out and draws.
    void LockReDraw(bool bLock);
    HWND hWnd() override;
    HWND hContainerWnd() const { return m_hContainerWnd; }
    // Hooks the container so that the selected window follows its size, and moves the windows
    // of tabs already present into it.
    void SethContainerWnd(HWND hWnd);
    std::shared_ptr<CTabItems> TabItems() override { return m_TabItems; }
    int Selected() override { return m_Selected; }
    // Below 0 clears the selection; past the last tab is ignored. Raises no event.
    void SetSelected(int NewValue) override;
    // The margins and the style take effect at the next resize.
    int TabLeftSize() const { return m_TabLeftSize; }
    void SetTabLeftSize(int size) { m_TabLeftSize = size; }
    int TabRightSize() const { return m_TabRightSize; }
    void SetTabRight(int size) { m_TabRightSize = size; }
    int TabStyle() const { return m_TabStyle; }
    void SetTabStyle(int style);
    // Reloads the selected tab's window; nothing without a selection.
    void RefreshPage();

    void ReadProperties(const platform::PropertyBag &PropBag);
    void WriteProperties(platform::PropertyBag &PropBag) const;

    // The last finished frame, as painting shows it.
    QImage Frame() const;
    int HotIndex() const { return m_HotIndex; }
    int CloseState() const { return m_CloseState; }
    int TabWidth() const { return m_TabWidth; }
    // The tabs as the last layout placed them, in band coordinates: what hit tests and drawing
    // read.
    const QList<TabLayout::TabBox> &PlacedTabs() const { return m_Placed; }
    // How many times the tab band was composed.
    quint64 Compositions() const { return m_Compositions; }

signals:
    void TabChanged();
    void OnDblClick(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void OnMouseDown(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void OnMouseHover(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void OnMouseMove(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void OnMouseUp(int ItemIndex, short &Button, short &Shift, float &X, float &Y);
    void OnMouseLeave();
    void OnItemColose(int ItemIndex, bool &Cancel);
    // The host may paint the background itself and set bSkipDefault. Raised only once the
    // strip has its buffers (from its first resize on), so hdc is never null.
    void OnDrawBackground(MemDC *hdc, int cx, int cy, bool &bSkipDefault);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private slots:
    void c_Subclass_WindowProc(bool bBefore, bool &bHandled, platform::LRESULT &lReturn,
                               platform::HWND lng_hWnd, platform::UINT uMsg,
                               platform::WPARAM wParam, platform::LPARAM lParam,
                               platform::LPARAM &lParamUser);

private:
    // The strip's side of its collection.
    void Add(const QString &Caption, ITabForm *Form, const std::optional<QString> &Key,
             const TabIndex &Index) override;
    bool BeforeRemove(int Index) override;
    void Remove(int Index) override;
    void Clear() override;
    void Redraw(bool bUpdate) override;
    void ChangeForm(CTabItem &Item, ITabForm *Form) override;
    HWND hParent() override;
    QWidget *Control() override { return this; }

    void UserControl_Resize();
    void UserControl_MouseDown(short Button, short Shift, float X, float Y);
    void UserControl_MouseMove(short Button, short Shift, float X, float Y);
    void UserControl_MouseUp(short Button, short Shift, float X, float Y);
    void UserControl_DblClick();
    void UserControl_MouseLeave();

    void LayoutTabs(bool bMove = true);
    TabLayout::Hit HitTest(float X, float Y) const;
    TabLayout::StripGeometry Geometry() const;
    QList<TabLayout::TabBox> Boxes() const;

    void CreateBuffers();
    void FreeBuffers();
    void DrawStrip(bool bUpdate);
    void DrawBackground();
    void DrawTabs(bool bUpdate);
    void HandlePaint();
    TabDrawing::Art Art() const;
    int StripHeight() const;

    void AttachForm(HWND hWnd);
    void ShowSelectedForm();
    void HookWindow(HWND hWnd, qint32 uMsg, int When);

    std::shared_ptr<IuTab> m_Self; // what the tab model holds (weakly) to reach the strip
    std::shared_ptr<CTabItems> m_TabItems;
    int m_Selected = -1;
    int m_HotIndex = -1;
    TabDrawing::CloseMarkState m_CloseState = TabDrawing::CloseMarkNormal;
    int m_TabWidth = TabMetrics::ForStyle(0).StandardWidth;
    QList<TabLayout::TabBox> m_Placed;
    bool m_bRedraw = false;
    int m_TabStyle = 0;
    int m_TabLeftSize = 40;
    int m_TabRightSize = 0;
    HWND m_hContainerWnd = 0;
    // The last press, replayed by a double click.
    short m_Button = 0;
    short m_Shift = 0;
    float m_X = 0;
    float m_Y = 0;
    CSubclass c_Subclass;

    std::unique_ptr<MemDC> m_hSkinDC0;
    std::unique_ptr<MemDC> m_hSkinDC1;
    std::unique_ptr<MemDC> m_hBackDC;
    std::unique_ptr<MemDC> m_hFrameDC;
    std::unique_ptr<MemDC> m_hTabsDC;
    QFont m_hFont;
    QFont m_hFontBold;
    quint64 m_Compositions = 0;
};
