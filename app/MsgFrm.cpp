#include "MsgFrm.h"

#include "controls/BForm.h"
#include "controls/iButton.h"
#include "net/AppConfig.h"
#include "platform/os/Resources.h"
#include "platform/winsys/Region.h"
#include "platform/winsys/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

using platform::TwipsToPixels;

namespace {

const QSize ClientTwips(3630, 2100);
const int CloseBitmapId = 103;
const int CloseRightTwips = 730;
const int CornerEllipse = 4;
const char BarBackColor[] = "14606046"; // 0x00DEDEDE

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

// SimSun where it is installed; elsewhere the Song-style face that stands in for it.
QFont buttonFont()
{
    QFont font;
    font.setFamilies({"SimSun", "宋体", "Noto Serif CJK SC", "AR PL UMing CN"});
    font.setPointSize(9);
    return font;
}

iButton *answerButton(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *button = new iButton(parent);
    button->setObjectName(name);
    button->SetAutoSize(false);
    button->SetBackPicture(platform::LoadDesignPicture("dialog_buttons.png"));
    button->SetcFont(buttonFont());
    button->SetCaption(QString::fromUtf8(caption));
    button->setGeometry(geometry);
    return button;
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

    BForm1 = new BForm(this);
    BForm1->setObjectName("BForm1");
    BForm1->SetBackColor(BarBackColor);
    BForm1->SetHasLogo(false);
    BForm1->SetfrmHwnd(platform::HandleOf(this));

    Label1 = new QLabel(QString::fromUtf8(QuestionText), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(twipsRect(360, 840, 3135, 615));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    iButton1 = answerButton(this, "iButton1", "是", twipsRect(840, 1320, 975, 375));
    iButton2 = answerButton(this, "iButton2", "否", twipsRect(2040, 1320, 975, 375));
    closebtn = new iButton(this);
    closebtn->setObjectName("closebtn");
    closebtn->setGeometry(twipsRect(0, 15, 645, 270));
    connect(iButton1, &iButton::Click, this, &MsgFrm::iButton1_Click);
    connect(iButton2, &iButton::Click, this, &MsgFrm::iButton2_Click);
    connect(closebtn, &iButton::Click, this, &MsgFrm::closebtn_Click);

    const QSize size(TwipsToPixels(ClientTwips.width()), TwipsToPixels(ClientTwips.height()));
    setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    Form_Load();
}

void MsgFrm::Form_Load()
{
    BForm1->resize(width(), BForm1->height());
    closebtn->SetBackPicture(platform::LoadBitmapResource(CloseBitmapId));
    BForm1->SetCaption(QString::fromUtf8(AppConfig::GameTitle) +
                       QString::fromUtf8(AppConfig::CaptionSuffix));
}

void MsgFrm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    platform::SetWindowRgn(
        platform::HandleOf(this),
        platform::CreateRoundRectRgn(0, 0, width(), height(), CornerEllipse, CornerEllipse), true);
    BForm1->Printform(this);
    closebtn->move(TwipsToPixels(width() * platform::TwipsPerPixel - CloseRightTwips),
                   closebtn->y());
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
