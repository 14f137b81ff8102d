#include "CTabItem.h"

#include "ITabForm.h"
#include "IuTab.h"

#include <QWidget>

CTabItem::~CTabItem()
{
    // The form's window may be on its way out right now (a form that keeps its item lets it go
    // in its own destructor), so it is only asked to go: a deferred delete of an object being
    // destroyed is dropped with it.
    if (QWidget *window = platform::WidgetOf(m_FormWnd)) {
        window->deleteLater();
    }
}

void CTabItem::RedrawStrip()
{
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        strip->Redraw(true);
    }
}

void CTabItem::SetCaption(const QString &caption)
{
    m_Caption = caption;
    RedrawStrip();
}

ITabForm *CTabItem::Form() const
{
    return platform::IsWindow(m_FormWnd) ? m_Form : nullptr;
}

void CTabItem::SetForm(ITabForm *form)
{
    m_Form = form;
    m_FormWnd = form ? form->hWnd() : 0;
    if (!form) {
        return;
    }
    form->Initialize(m_IuTab, shared_from_this());
    if (std::shared_ptr<IuTab> strip = m_IuTab.lock()) {
        strip->ChangeForm(*this, form);
    }
}

void CTabItem::SetHideButton(bool hide)
{
    m_HideButton = hide;
    RedrawStrip();
}

void CTabItem::SetLockSize(bool lock)
{
    m_LockSize = lock;
    RedrawStrip();
}

void CTabItem::DropForm()
{
    m_Form = nullptr;
    m_FormWnd = 0;
}

void CTabItem::UnloadForm()
{
    QWidget *window = platform::WidgetOf(m_FormWnd);
    DropForm();
    delete window;
}
