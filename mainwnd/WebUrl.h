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
// scroll bars; its alert, confirm and prompt appear in the client's page dialog; a window the
// page opens goes to the player's own web browser instead of the client. It gets what games use
// (PagePolicy). The keys it leaves reload and zoom it, and F11 asks for fullscreen. A page whose
// renderer dies reloads itself once.
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
    // The page asks to show alone over the screen (on), or to leave that; see
    // WebBrowser::FullScreenRequested.
    void FullScreenRequested(WebUrl *page, bool on, bool &accept);
    // F11, left to the client by the page.
    void FullScreenKey(WebUrl *page);

private slots:
    void wb_DownloadBegin();
    void wb_TitleChange(const QString &Text);
    void wb_DocumentComplete(const QString &URL, bool isTop);
    void Web_V1_NewWindow(const QString &URL, bool &Processed);
    void wb_RendererGone();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Picture1_Resize();

    std::weak_ptr<IuTab> m_Implement;
    std::shared_ptr<CTabItem> m_Item;
    QString m_Address; // the game page, for reloading after its renderer died
    CrashRecovery m_Recovery;
};
