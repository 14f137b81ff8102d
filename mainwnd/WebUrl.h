#pragma once

#include "CrashRecovery.h"
#include "tabstrip/ITabForm.h"

#include <QString>
#include <QWidget>

class CTabItem;
class IuTab;
namespace platform {
class WebBrowser;
}

// One game page in a tab of the main window. The tab shows the page's title; the page shows no
// scroll bars and no script dialogs; a window the page opens goes to the player's own web
// browser instead of the client. A page whose renderer dies reloads itself once.
class WebUrl : public QWidget, public ITabForm {
    Q_OBJECT

public:
    explicit WebUrl(QWidget *parent = nullptr);
    ~WebUrl() override;

    platform::HWND hWnd() override;
    void Initialize(const std::weak_ptr<IuTab> &Implement,
                    const std::shared_ptr<CTabItem> &Item) override;
    void RefreshPage() override;

    void OpenURL(const QString &szURL);

    QWidget *Picture1 = nullptr;
    platform::WebBrowser *wb = nullptr;

signals:
    // The page's own top document finished loading (not the blank page it starts with).
    void PageComplete();

private slots:
    void wb_DownloadBegin();
    void wb_TitleChange(const QString &Text);
    void wb_DocumentComplete(const QString &URL, bool isTop);
    void Web_V1_NewWindow(const QString &URL, bool &Processed);
    void wb_RendererGone();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Picture1_Resize();

    std::weak_ptr<IuTab> m_Implement;
    std::shared_ptr<CTabItem> m_Item;
    QString m_Address; // the game page, for reloading after its renderer died
    CrashRecovery m_Recovery;
};
