#pragma once

#include "tabstrip/CTabItem.h"
#include "tabstrip/ITabForm.h"

#include <QWidget>

#include <memory>

// A window shown in a tab that keeps its item, as the page form does, and counts its reloads.
class PageForm : public QWidget, public ITabForm {
public:
    platform::HWND hWnd() override { return platform::HandleOf(this); }
    void Initialize(const std::weak_ptr<IuTab> &, const std::shared_ptr<CTabItem> &Item) override
    {
        item = Item;
    }
    void RefreshPage() override { ++refreshes; }

    std::shared_ptr<CTabItem> item;
    int refreshes = 0;
};
