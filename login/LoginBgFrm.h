#pragma once

#include "platform/winsys/LayeredWindow.h"

// The login screen's decorative frame: a per-pixel-alpha window that carries the login pair's
// taskbar button, caption and icons. The login window rides on it; dragging it by any opaque
// pixel moves both, and minimising or closing it does the same to both.
class LoginBgFrm : public platform::LayeredWindow {
    Q_OBJECT

public:
    LoginBgFrm();
    ~LoginBgFrm() override;

    // Starts decoding the backdrop's picture (some 30 ms of work) on a thread of its own, for a
    // backdrop built later; the program's start calls it while it waits for the version check.
    static void PreloadPicture();

    // Releases the picture, gives the window its procedure back, unloads the login window and
    // then itself. Later calls do nothing.
    void Form_Unload();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_MouseDown();

    QImage m_Image;
    bool m_unloaded = false;
};
