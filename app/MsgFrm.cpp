#include "MsgFrm.h"

#include "DialogSkin.h"
#include "controls/BForm.h"
#include "controls/iButton.h"
#include "platform/winsys/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

using platform::TwipsToPixels;

namespace {

const QSize ClientTwips(3630, 2100);

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace

MsgFrm::MsgFrm(bool &bExit, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_bExit(bExit)
{
    setObjectName("MsgFrm");
    setModal(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    BForm1 = DialogSkin::CaptionBar(this);

    Label1 = new QLabel(QString::fromUtf8(QuestionText), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(twipsRect(360, 840, 3135, 615));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    iButton1 = DialogSkin::AnswerButton(this, "iButton1", QString::fromUtf8("是"),
                                        twipsRect(840, 1320, 975, 375));
    iButton2 = DialogSkin::AnswerButton(this, "iButton2", QString::fromUtf8("否"),
                                        twipsRect(2040, 1320, 975, 375));
    closebtn = DialogSkin::CloseButton(this);
    connect(iButton1, &iButton::Click, this, &MsgFrm::iButton1_Click);
    connect(iButton2, &iButton::Click, this, &MsgFrm::iButton2_Click);
    connect(closebtn, &iButton::Click, this, &MsgFrm::closebtn_Click);

    const QSize size(TwipsToPixels(ClientTwips.width()), TwipsToPixels(ClientTwips.height()));
    setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void MsgFrm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    DialogSkin::Shape(this, BForm1, closebtn);
}

void MsgFrm::Answer(bool bExit)
{
    m_bExit = bExit;
    done(bExit ? Accepted : Rejected);
}

void MsgFrm::iButton1_Click()
{
    Answer(true);
}

void MsgFrm::iButton2_Click()
{
    Answer(false);
}

void MsgFrm::closebtn_Click()
{
    Answer(false);
}
