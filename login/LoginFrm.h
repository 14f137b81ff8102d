#pragma once

#include <QWidget>

class PictureButton;
namespace platform {
class WebBrowser;
}

// The login window: a web page from the login server on a see-through window that rides on the
// backdrop. The page logs the player in by its own means and drives the client by navigating
// to app:// addresses (exit, minimise, load the game).
class LoginFrm : public QWidget {
    Q_OBJECT

public:
    LoginFrm();
    ~LoginFrm() override;

    // The login page; the login server's "/qvmrwd/" unless set otherwise before loading.
    static QString LoginPage();
    static void SetLoginPage(const QString &address);

    // Shows the login again over a running game: a login that is not loaded is loaded (it
    // shows itself once its page is in); one that is minimised or behind comes to the front.
    static void ShowAgain();

    void Form_Unload();

    // Sits exactly on the backdrop: at its position, or at its origin when it is part of it.
    void FollowBackdrop();

    platform::WebBrowser *WebBrowser1 = nullptr;
    QWidget *Picture1 = nullptr;
    PictureButton *MiniBtn = nullptr;
    PictureButton *CloseBtn = nullptr;

public slots:
    void WebBrowser1_DownloadBegin();
    void WebBrowser1_BeforeNavigate(const QString &url, bool &Cancel);
    void WebBrowser1_DocumentComplete(const QString &url, bool isTop);
    void MiniBtn_Click();
    void CloseBtn_Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void Form_Load();
    void BuildControls();
    void SetBackdropIcons();
    void UpdateShape();
    void ShowLoginScreen();
    void LoadGame(const QString &address);

    bool m_unloaded = false;
};
