#include "IcoWriter.h"
#include "Painting.h"
#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <functional>

namespace {

struct Picture {
    const char *fileName;
    QSize size;
    std::function<QImage()> draw;
    // Icons come in sizes of their own; everything else also gets an "@2x" twin.
    bool twin = true;
};

const QList<Picture> &pictures()
{
    static const QList<Picture> all = {
        {"png_102_splash.png", {356, 122}, art::drawSplash},
        {"png_101_backdrop.png", {1237, 696}, art::drawLoginBackdrop},
        {"login_minimize.png", {32, 32}, art::drawLoginMinimize},
        {"login_close.png", {40, 40}, art::drawLoginClose},
        {"bitmap_101_min.png", {72, 18}, art::drawMinimizeStrip},
        {"bitmap_102_minmax.png", {150, 18}, art::drawMaximizeRestoreStrip},
        {"bitmap_103_close.png", {129, 18}, art::drawCloseStrip},
        {"bitmap_104_tool.png", {72, 18}, art::drawToolStrip},
        {"bitmap_105_logo.png", {29, 29}, art::drawCaptionLogo},
        {"bitmap_106_tabskin0.png", {415, 25}, art::drawTabSkinSloped},
        {"bitmap_107_tabskin1.png", {421, 28}, art::drawTabSkinRounded},
        {"bitmap_108_caption.png", {94, 85}, art::drawWindowSkin},
        {"dialog_buttons.png", {225, 22}, art::drawDialogButtons},
        {"gamespace_btn.png", {243, 22}, art::drawGameSpaceButton},
        {"otheruser_btn.png", {297, 22}, art::drawOtherUserButton},
        {"appicon.png", {256, 256}, art::drawAppIcon, false},
    };
    return all;
}

// Qt's own naming: "name@2x.png" beside "name.png".
QString fileNameAt(const char *fileName, int scale)
{
    QString name = QString::fromLatin1(fileName);
    if (scale > 1) {
        name.insert(name.lastIndexOf('.'), QString("@%1x").arg(scale));
    }
    return name;
}

bool writePicture(const QDir &dir, const Picture &picture, int scale)
{
    art::setScale(scale);
    const QImage image = picture.draw();
    if (image.size() != picture.size * scale) {
        std::fprintf(stderr, "artgen: %s came out %dx%d at %dx\n", picture.fileName, image.width(),
                     image.height(), scale);
        return false;
    }
    const QString path = dir.filePath(fileNameAt(picture.fileName, scale));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeIcon(const QDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("icon_101_vantor.ico"));
    if (art::writeIco(path, art::drawIconImages()))
        return true;
    std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
    return false;
}

bool writeDesktopIcons(const QDir &dir)
{
    bool ok = true;
    for (int side : art::desktopIconSides()) {
        const QString path = dir.filePath(QStringLiteral("desktop_icon_%1.png").arg(side));
        if (!art::drawDesktopIcon(side).save(path, "PNG")) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

bool hasPlatformArgument(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "-platform")
            return true;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs fonts but no screen; this also runs on build machines without a display.
    if (!hasPlatformArgument(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: artgen OUTPUT_DIRECTORY\n");
        return 2;
    }
    QDir dir(arguments.at(1));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    bool ok = writeIcon(dir) && writeDesktopIcons(dir);
    for (const Picture &picture : pictures()) {
        ok = writePicture(dir, picture, 1) && ok;
        if (picture.twin)
            ok = writePicture(dir, picture, 2) && ok;
    }
    return ok ? 0 : 1;
}
