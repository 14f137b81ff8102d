#pragma once

#include "platform/os/Replaceable.h"
#include "platform/web/PageDialogRequest.h"

#include <QDialog>
#include <QPointer>

class BForm;
class QCheckBox;
class QLabel;
class QLineEdit;
class iButton;
namespace platform {
class WebBrowser;
}

// A game page's alert, confirm or prompt, or the client's question whether the page may use a
// device, in the client's own dialog (the exit dialog's look). It stands over the page that
// asks, for that page alone: the strip, the caption buttons, F10 and the tray go on working, it
// hides while its tab or the window is hidden, and it closes without an answer when its page
// reloads or goes.
class PageDialog : public QDialog {
    Q_OBJECT

public:
    using Request = platform::PageDialogRequest;
    using Answer = platform::PageDialogRequest::Answer;

    // Asks the player and waits for the answer; tests put a scripted answerer in its place.
    using Service = platform::Replaceable<Answer(platform::WebBrowser *page, const Request &)>;
    static Service &Provider();
    static Answer Ask(platform::WebBrowser *page, const Request &request);

    // Every open page dialog closes without an answer (the window unloads).
    static void CloseAll();
    // How many are waiting for an answer now.
    static int Waiting();

    PageDialog(platform::WebBrowser &page, const Request &request);
    ~PageDialog() override;

    Answer Result() const { return m_answer; }

    BForm *BForm1 = nullptr;
    iButton *closebtn = nullptr;
    QLabel *Label1 = nullptr; // who asks
    QLabel *Label2 = nullptr; // what it says
    QLineEdit *Text1 = nullptr;
    QCheckBox *Check1 = nullptr;
    iButton *iButton1 = nullptr;
    iButton *iButton2 = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildBody(const Request &request);
    void FollowPage();
    void ComeForward();
    void Answered(bool accepted, bool chosen);
    void CloseUnanswered();

    QPointer<platform::WebBrowser> m_page;
    QPointer<QWidget> m_owner;
    Answer m_answer;
    bool m_offerStop = false;
};
