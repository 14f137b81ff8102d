#pragma once

#include <QRect>
#include <QString>

class BForm;
class QDialog;
class QFont;
class QWidget;
class iButton;

// The look the client's own dialogs share: white, rounded, the skinned caption bar with the
// program's caption and its close button, and the answer buttons of the dialog strip.
namespace DialogSkin {

// SimSun where it is installed; elsewhere the Song-style face that stands in for it.
QFont ButtonFont();

// The caption bar across the top, dragging the dialog and reading "Vantor客户端".
BForm *CaptionBar(QDialog *dialog);

// The close button on the caption bar; Shape keeps it at its place from the right edge.
iButton *CloseButton(QDialog *dialog);

iButton *AnswerButton(QWidget *parent, const char *name, const QString &caption,
                      const QRect &geometry);

// After every resize: the rounded shape, the bar across the width and its border on the form,
// the close button at the right.
void Shape(QDialog *dialog, BForm *bar, iButton *closeButton);

} // namespace DialogSkin
