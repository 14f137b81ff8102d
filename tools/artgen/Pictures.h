#pragma once

#include <QImage>
#include <QList>

// One function per picture of the client's skin. Each returns the finished image at its final
// pixel size; main() checks the size and writes the file.
namespace art {

QImage drawSplash();
QImage drawLoginBackdrop();
QImage drawLoginMinimize();
QImage drawLoginClose();

QImage drawMinimizeStrip();
QImage drawMaximizeRestoreStrip();
QImage drawCloseStrip();
QImage drawToolStrip();

QImage drawCaptionLogo();
QImage drawTabSkinSloped();
QImage drawTabSkinRounded();
QImage drawWindowSkin();

QImage drawDialogButtons();
QImage drawGameSpaceButton();
QImage drawOtherUserButton();

QImage drawAppIcon();
QList<QImage> drawIconImages();
// The program's icon for the desktop's icon theme (hicolor), one picture per size.
QImage drawDesktopIcon(int side);
QList<int> desktopIconSides();

} // namespace art
