#include "DialogSkin.h"

#include "controls/BForm.h"
#include "controls/iButton.h"
#include "net/AppConfig.h"
#include "platform/os/Resources.h"
#include "platform/winsys/Region.h"
#include "platform/winsys/Twips.h"

#include <QDialog>
#include <QFont>

using platform::TwipsToPixels;

namespace DialogSkin {
namespace {

const int CloseBitmapId = 103;
const int CloseRightTwips = 730;
const int CornerEllipse = 4;
const char BarBackColor[] = "14606046"; // 0x00DEDEDE

} // namespace

QFont ButtonFont()
{
    QFont font;
    font.setFamilies({"SimSun", "宋体", "Noto Serif CJK SC", "AR PL UMing CN"});
    font.setPointSize(9);
    return font;
}

BForm *CaptionBar(QDialog *dialog)
{
    auto *bar = new BForm(dialog);
    bar->setObjectName("BForm1");
    bar->SetBackColor(BarBackColor);
    bar->SetHasLogo(false);
    bar->SetfrmHwnd(platform::HandleOf(dialog));
    bar->SetCaption(QString::fromUtf8(AppConfig::GameTitle) +
                    QString::fromUtf8(AppConfig::CaptionSuffix));
    return bar;
}

iButton *CloseButton(QDialog *dialog)
{
    auto *button = new iButton(dialog);
    button->setObjectName("closebtn");
    button->setGeometry(0, TwipsToPixels(15), TwipsToPixels(645), TwipsToPixels(270));
    button->SetBackPicture(platform::LoadBitmapResource(CloseBitmapId));
    return button;
}

iButton *AnswerButton(QWidget *parent, const char *name, const QString &caption,
                      const QRect &geometry)
{
    auto *button = new iButton(parent);
    button->setObjectName(name);
    button->SetAutoSize(false);
    button->SetBackPicture(platform::LoadDesignPicture("dialog_buttons.png"));
    button->SetcFont(ButtonFont());
    button->SetCaption(caption);
    button->setGeometry(geometry);
    return button;
}

void Shape(QDialog *dialog, BForm *bar, iButton *closeButton)
{
    platform::SetWindowRgn(platform::HandleOf(dialog),
                           platform::CreateRoundRectRgn(0, 0, dialog->width(), dialog->height(),
                                                        CornerEllipse, CornerEllipse),
                           true);
    bar->resize(dialog->width(), bar->height());
    bar->Printform(dialog);
    closeButton->move(TwipsToPixels(dialog->width() * platform::TwipsPerPixel - CloseRightTwips),
                      closeButton->y());
}

} // namespace DialogSkin
