#include "PageDialog.h"

#include "app/DialogSkin.h"
#include "controls/BForm.h"
#include "controls/iButton.h"
#include "platform/web/WebBrowser.h"
#include "platform/winsys/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

using platform::PageDialogRequest;

namespace {

const int DialogWidth = 360;
const int Margin = 24;
const int LongestMessage = 260; // pixels; a longer message scrolls
const QSize ButtonSize(platform::TwipsToPixels(975), platform::TwipsToPixels(375));

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QList<QPointer<PageDialog>> &openDialogs()
{
    static QList<QPointer<PageDialog>> dialogs;
    return dialogs;
}

int &waiting()
{
    static int count = 0;
    return count;
}

// Who asks: the host (and port) of the document, so a frame of a stranger cannot pass for the
// game.
QString askerLine(const PageDialogRequest &request)
{
    const QUrl origin(request.origin);
    const QString host =
        origin.port() > 0 ? origin.host() + ':' + QString::number(origin.port()) : origin.host();
    return text("网页 %1 提示：").arg(host.isEmpty() ? request.origin : host);
}

QWidget *messageArea(QLabel *message, QWidget *parent)
{
    const int width = DialogWidth - 2 * Margin;
    auto *area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(message);
    area->setFixedSize(width, std::min(message->heightForWidth(width - 16), LongestMessage));
    area->viewport()->setAutoFillBackground(false);
    message->setAutoFillBackground(false);
    return area;
}

PageDialog::Answer showAndWait(platform::WebBrowser *page, const PageDialogRequest &request)
{
    if (!page) {
        return {};
    }
    QPointer<PageDialog> dialog = new PageDialog(*page, request);
    QEventLoop loop;
    QObject::connect(dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(dialog, &QObject::destroyed, &loop, &QEventLoop::quit);
    ++waiting();
    loop.exec();
    --waiting();
    const PageDialog::Answer answer = dialog ? dialog->Result() : PageDialog::Answer{};
    delete dialog;
    return answer;
}

} // namespace

PageDialog::Service &PageDialog::Provider()
{
    static Service service(showAndWait);
    return service;
}

PageDialog::Answer PageDialog::Ask(platform::WebBrowser *page, const Request &request)
{
    return Provider()(page, request);
}

void PageDialog::CloseAll()
{
    for (const QPointer<PageDialog> &dialog : QList<QPointer<PageDialog>>(openDialogs())) {
        if (dialog) {
            dialog->CloseUnanswered();
        }
    }
}

int PageDialog::Waiting()
{
    return waiting();
}

PageDialog::PageDialog(platform::WebBrowser &page, const Request &request)
    : QDialog(page.window(), Qt::Dialog | Qt::FramelessWindowHint), m_page(&page),
      m_offerStop(request.offerStop)
{
    setObjectName("PageDialog");
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    BForm1 = DialogSkin::CaptionBar(this);
    BuildBody(request);
    closebtn = DialogSkin::CloseButton(this);
    connect(iButton1, &iButton::Click, this, [this] { Answered(true, true); });
    connect(iButton2, &iButton::Click, this, [this] { Answered(false, true); });
    connect(closebtn, &iButton::Click, this, [this] { Answered(false, false); });
    connect(m_page, &platform::WebBrowser::CancelPageDialog, this, &PageDialog::CloseUnanswered);
    connect(m_page, &QObject::destroyed, this, &PageDialog::CloseUnanswered);
    m_page->installEventFilter(this);
    m_owner = m_page->window();
    m_owner->installEventFilter(this);
    openDialogs().append(this);
    FollowPage();
}

PageDialog::~PageDialog()
{
    openDialogs().removeAll(this);
}

void PageDialog::BuildBody(const Request &request)
{
    const bool prompt = request.kind == Request::Kind::Prompt;
    const bool permission = request.kind == Request::Kind::Permission;
    Label1 = new QLabel(askerLine(request), this);
    Label1->setObjectName("Label1");
    Label1->setStyleSheet("color: #5a6470");
    Label2 = new QLabel(request.text);
    Label2->setObjectName("Label2");
    Label2->setWordWrap(true);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Text1 = new QLineEdit(request.defaultText, this);
    Text1->setObjectName("Text1");
    Text1->setVisible(prompt);
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Answered(true, true); });
    Check1 = new QCheckBox(text("禁止此页面再弹出对话框"), this);
    Check1->setObjectName("Check1");
    Check1->setVisible(request.offerStop);
    iButton1 = DialogSkin::AnswerButton(this, "iButton1", text(permission ? "允许" : "确定"),
                                        QRect(QPoint(), ButtonSize));
    iButton2 = DialogSkin::AnswerButton(this, "iButton2", text(permission ? "拒绝" : "取消"),
                                        QRect(QPoint(), ButtonSize));
    // An alert has nothing to choose.
    iButton2->setVisible(request.kind != Request::Kind::Alert);
    for (iButton *button : {iButton1, iButton2}) {
        button->setFixedSize(ButtonSize);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(iButton1);
    buttons->addSpacing(Margin);
    buttons->addWidget(iButton2);
    buttons->addStretch();
    auto *body = new QVBoxLayout(this);
    body->setContentsMargins(Margin, BForm1->height() + 16, Margin, 16);
    body->setSpacing(10);
    body->addWidget(Label1);
    body->addWidget(messageArea(Label2, this));
    body->addWidget(Text1);
    body->addWidget(Check1);
    body->addSpacing(4);
    body->addLayout(buttons);
    body->activate();
    setFixedSize(DialogWidth, body->totalSizeHint().height());
}

void PageDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    DialogSkin::Shape(this, BForm1, closebtn);
}

void PageDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Answered(true, true);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        Answered(false, false);
        return;
    }
    QDialog::keyPressEvent(event);
}

// Over the page that asks, and only while that page shows: another tab, or the window hidden
// by F10, hides it until the page is back.
void PageDialog::FollowPage()
{
    if (!m_page || !m_page->isVisible()) {
        hide();
        return;
    }
    if (!isVisible()) {
        const QRect page(m_page->mapToGlobal(QPoint()), m_page->size());
        move(page.center() - rect().center());
        show();
    }
    ComeForward();
}

// Never over a question that holds the whole program (the exit dialog, a message box).
void PageDialog::ComeForward()
{
    if (QApplication::activeModalWidget()) {
        return;
    }
    raise();
    activateWindow();
    if (Text1->isVisible()) {
        Text1->setFocus();
        Text1->selectAll();
    }
}

bool PageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        FollowPage();
    } else if (watched == m_owner && event->type() == QEvent::WindowActivate && isVisible()) {
        // The window came forward (shown again, clicked): the question stays in front of it,
        // once the window system has put the window where it goes.
        QTimer::singleShot(0, this, &PageDialog::ComeForward);
    }
    return QDialog::eventFilter(watched, event);
}

void PageDialog::Answered(bool accepted, bool chosen)
{
    m_answer.accepted = accepted;
    m_answer.chosen = chosen;
    m_answer.text = accepted && Text1->isVisibleTo(this) ? Text1->text() : QString();
    m_answer.stop = m_offerStop && Check1->isChecked();
    done(accepted ? Accepted : Rejected);
}

void PageDialog::CloseUnanswered()
{
    m_answer = {};
    done(Rejected);
}
