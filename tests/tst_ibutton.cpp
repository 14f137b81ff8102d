#include "controls/ButtonFacePainter.h"
#include "controls/ButtonLayout.h"
#include "controls/ButtonStrip.h"
#include "controls/iButton.h"
#include "platform/os/Resources.h"
#include "platform/winsys/Twips.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace ButtonStrip;

namespace {

const QSize Frame(20, 12);
const QRgb Magenta = qRgb(255, 0, 255);

QRgb frameColour(int frame)
{
    return QColor::fromHsv(frame * 45, 255, 200).rgb();
}

// A strip of plain frames, each its own colour, so a pixel of the face says which frame shows.
QImage colouredStrip(int style)
{
    QImage strip(Frame.width() * FrameCount(style), Frame.height(), QImage::Format_RGB32);
    for (int i = 0; i < FrameCount(style); ++i) {
        for (int y = 0; y < Frame.height(); ++y) {
            for (int x = 0; x < Frame.width(); ++x) {
                strip.setPixel(i * Frame.width() + x, y, frameColour(i));
            }
        }
    }
    return strip;
}

// A pixel of the face away from the focus rectangle and any caption.
QRgb facePixel(const iButton &button)
{
    return button.Image().pixel(1, 1);
}

QRgb inverted(QRgb pixel)
{
    return qRgba(255 - qRed(pixel), 255 - qGreen(pixel), 255 - qBlue(pixel), qAlpha(pixel));
}

// The bounding box of the pixels that are (or are not) of one colour.
QRect boxWhere(const QImage &image, QRgb colour, bool equal)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (((image.pixel(x, y) & RGB_MASK) == (colour & RGB_MASK)) == equal) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

QRect boxOfColour(const QImage &image, QRgb colour)
{
    return boxWhere(image, colour, true);
}

// Whatever was printed over a plain face: the caption's ink, antialiased edges included.
QRect inkOver(const QImage &image, QRgb face)
{
    return boxWhere(image, face, false);
}

// Every event of one button, in order; MouseMove is left out, since the pointer moves a test
// makes come back as moves at times of the window system's choosing.
struct EventLog {
    explicit EventLog(iButton &button)
    {
        QObject::connect(&button, &iButton::Click, [this, &button] {
            events << "Click";
            valueAtClick << button.Value();
        });
        QObject::connect(&button, &iButton::MouseDown,
                         [this](short &Button, short &, float &, float &) {
                             events << QString("MouseDown %1").arg(Button);
                         });
        QObject::connect(&button, &iButton::MouseUp,
                         [this](short &Button, short &, float &, float &) {
                             events << QString("MouseUp %1").arg(Button);
                         });
        QObject::connect(&button, &iButton::KeyDown, [this](short &KeyCode, short &) {
            events << QString("KeyDown %1").arg(KeyCode);
        });
        QObject::connect(&button, &iButton::KeyUP, [this](short &KeyCode, short &) {
            events << QString("KeyUP %1").arg(KeyCode);
        });
        QObject::connect(&button, &iButton::KeyPress, [this](short &KeyAscii) {
            events << QString("KeyPress %1").arg(KeyAscii);
        });
        QObject::connect(&button, &iButton::MouseOut, [this] { events << "MouseOut"; });
        QObject::connect(&button, &iButton::MouseOver, [this] { events << "MouseOver"; });
        QObject::connect(&button, &iButton::DBClick, [this] { events << "DBClick"; });
    }
    int count(const QString &event) const { return int(events.count(event)); }
    QStringList events;
    QList<bool> valueAtClick;
};

// A button on a small window, away from where the tests park the pointer.
struct ButtonOnForm {
    explicit ButtonOnForm(int style = PushStyle)
    {
        form.setGeometry(200, 200, 240, 120);
        button = new iButton(&form);
        button->SetStyle(style);
        button->SetBackPicture(colouredStrip(style));
        button->move(60, 40);
    }
    bool show()
    {
        form.show();
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }
    QPoint centre() const { return button->rect().center(); }
    void pointAtButton() const { QCursor::setPos(button->mapToGlobal(centre())); }
    QWidget form;
    iButton *button;
};

QPoint parkingPlace()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return screen.bottomRight() - QPoint(5, 5);
}

} // namespace

class IButtonTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void frameSize_data();
    void frameSize();
    void clientStripsSizeTheirButtons_data();
    void clientStripsSizeTheirButtons();
    void picturesForRatioTwo_data();
    void picturesForRatioTwo();
    void faceAtRatioTwoKeepsItsDetail();
    void faceFollowsStateAndValue_data();
    void faceFollowsStateAndValue();
    void valueStaysFalseOnPushButton();
    void disabledButtonShowsGreyedNormalFrame();
    void lockedShowsPressedButCaptionMovesOnlyWhenPressed();
    void captionIsCentred_data();
    void captionIsCentred();
    void iconIsCentredWithoutCaption();
    void transparentStyleLetsMagentaThrough();

    void mouseOutOnceAfterCreation();
    void hoverRaisesMouseOverThenMouseOut_data();
    void hoverRaisesMouseOverThenMouseOut();
    void leftClickProtocol_data();
    void leftClickProtocol();
    void dragOffAndReleaseIsNoClick();
    void rightClickIsNoClick();
    void mouseDownHandlerCanChangeTheButton();
    void doubleClickRaisesOneClick();
    void toggleFlipsOncePerClick_data();
    void toggleFlipsOncePerClick();
    void keyboard_data();
    void keyboard();
    void heldSpaceRepeatsNoClick();
    void focusRectangleOnFocus();

    void propertiesWrittenInOrderWithDefaultsLeftOut();
    void propertiesRoundTrip();
};

void IButtonTest::init()
{
    QCursor::setPos(parkingPlace());
}

void IButtonTest::frameSize_data()
{
    QTest::addColumn<QSize>("strip");
    QTest::addColumn<int>("style");
    QTest::addColumn<QSize>("frame");

    QTest::newRow("close strip 129 x 18") << QSize(129, 18) << PushStyle << QSize(43, 18);
    QTest::newRow("minimise strip 72 x 18") << QSize(72, 18) << PushStyle << QSize(24, 18);
    QTest::newRow("toggle strip 150 x 18") << QSize(150, 18) << ToggleStyle << QSize(25, 18);
    QTest::newRow("uneven push 100") << QSize(100, 18) << PushStyle << QSize(33, 18);
    QTest::newRow("uneven push 101") << QSize(101, 18) << PushStyle << QSize(34, 18);
    // 153 / 6 is 25.5 in pixels, but the strip's HIMETRIC width makes it 25.499.
    QTest::newRow("toggle half frame") << QSize(153, 18) << ToggleStyle << QSize(25, 18);
    QTest::newRow("tall strip") << QSize(225, 22) << PushStyle << QSize(75, 22);
    QTest::newRow("empty") << QSize(0, 0) << PushStyle << QSize(0, 0);
}

void IButtonTest::frameSize()
{
    QFETCH(QSize, strip);
    QFETCH(int, style);
    QFETCH(QSize, frame);
    QCOMPARE(FrameSize(strip, style), frame);
}

void IButtonTest::clientStripsSizeTheirButtons_data()
{
    QTest::addColumn<int>("bitmap");
    QTest::addColumn<int>("style");
    QTest::addColumn<QSize>("twips");

    QTest::newRow("101 minimise") << 101 << PushStyle << QSize(360, 270);
    QTest::newRow("102 min/max toggle") << 102 << ToggleStyle << QSize(375, 270);
    QTest::newRow("103 close") << 103 << PushStyle << QSize(645, 270);
    QTest::newRow("104 tool") << 104 << PushStyle << QSize(360, 270);
}

void IButtonTest::clientStripsSizeTheirButtons()
{
    QFETCH(int, bitmap);
    QFETCH(int, style);
    QFETCH(QSize, twips);

    iButton button;
    button.SetStyle(style);
    button.SetBackPicture(platform::LoadBitmapResource(bitmap));
    QCOMPARE(button.size() * platform::TwipsPerPixel, twips);

    // The size stays forced while AutoSize holds, and is free once it is off.
    button.resize(100, 40);
    QCOMPARE(button.size() * platform::TwipsPerPixel, twips);
    button.SetAutoSize(false);
    button.resize(100, 40);
    QCOMPARE(button.size(), QSize(100, 40));
}

void IButtonTest::picturesForRatioTwo_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("size");

    QTest::newRow("splash") << "PNG/102" << QSize(356, 122);
    QTest::newRow("backdrop") << "PNG/101" << QSize(1237, 696);
    const QList<QSize> bitmaps = {{72, 18}, {150, 18}, {129, 18}, {72, 18},
                                  {29, 29}, {415, 25}, {421, 28}, {94, 85}};
    for (int i = 0; i < bitmaps.size(); ++i) {
        QTest::addRow("BITMAP %d", 101 + i) << QString("BITMAP/%1").arg(101 + i) << bitmaps[i];
    }
    QTest::newRow("login minimise") << "design/login_minimize.png" << QSize(32, 32);
    QTest::newRow("login close") << "design/login_close.png" << QSize(40, 40);
    QTest::newRow("dialog buttons") << "design/dialog_buttons.png" << QSize(225, 22);
    QTest::newRow("game site") << "design/gamespace_btn.png" << QSize(243, 22);
    QTest::newRow("other user") << "design/otheruser_btn.png" << QSize(297, 22);
}

void IButtonTest::picturesForRatioTwo()
{
    QFETCH(QString, resource);
    QFETCH(QSize, size);
    const QStringList parts = resource.split('/');
    const auto load = [&](qreal ratio) {
        return parts[0] == "design"
                   ? platform::LoadDesignPicture(parts[1], ratio)
                   : platform::LoadPictureResource(parts[0], parts[1].toInt(), ratio);
    };
    QCOMPARE(load(1).size(), size);
    QCOMPARE(load(1).devicePixelRatio(), 1.0);
    QCOMPARE(load(2).size(), size * 2);
    QCOMPARE(load(2).devicePixelRatio(), 2.0);
}

// A face drawn for a ratio of 2 is the sharp frame pixel for pixel, not the small one blown up.
void IButtonTest::faceAtRatioTwoKeepsItsDetail()
{
    const QImage strip = platform::LoadBitmapResource(103, 2);
    ButtonFacePainter face;
    face.SetStrip(strip, PushStyle);
    QImage surface(QSize(86, 36), QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(2);
    surface.fill(Qt::black);
    face.PaintFace(surface, QRect(0, 0, 43, 18), StateHover, false);
    const QImage hover = strip.copy(86, 0, 86, 36).convertToFormat(surface.format());
    QCOMPARE(surface, hover);
}

void IButtonTest::faceFollowsStateAndValue_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("value");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("frame");

    for (int state = StateNormal; state <= StatePressed; ++state) {
        QTest::addRow("push, state %d", state) << PushStyle << false << state << state;
        QTest::addRow("toggle off, state %d", state) << ToggleStyle << false << state << state;
        QTest::addRow("toggle on, state %d", state) << ToggleStyle << true << state << state + 3;
    }
}

void IButtonTest::faceFollowsStateAndValue()
{
    QFETCH(int, style);
    QFETCH(bool, value);
    QFETCH(int, state);
    QFETCH(int, frame);

    iButton button;
    button.SetStyle(style);
    button.SetBackPicture(colouredStrip(style));
    button.SetValue(value);
    button.cMouseAction(state, false);
    QCOMPARE(facePixel(button), frameColour(frame));
    QCOMPARE(button.Image().size(), Frame);
}

void IButtonTest::valueStaysFalseOnPushButton()
{
    iButton button;
    button.SetBackPicture(colouredStrip(PushStyle));
    button.SetValue(true);
    QVERIFY(!button.Value());
    QCOMPARE(facePixel(button), frameColour(0));

    // Turning a toggle button back into a push button drops its value too.
    button.SetStyle(ToggleStyle);
    button.SetValue(true);
    QVERIFY(button.Value());
    button.SetStyle(PushStyle);
    QVERIFY(!button.Value());
}

void IButtonTest::disabledButtonShowsGreyedNormalFrame()
{
    iButton button;
    button.SetStyle(ToggleStyle);
    button.SetBackPicture(colouredStrip(ToggleStyle));
    button.SetValue(true);
    button.SetEnabled(false);

    QCOMPARE(button.CurrentState(), StateDisabled);
    const QRgb face = facePixel(button);
    QCOMPARE(qRed(face), qGreen(face));
    QCOMPARE(qGreen(face), qBlue(face));
    QVERIFY(!button.Enabled());

    button.SetEnabled(true);
    QCOMPARE(facePixel(button), frameColour(3));
}

void IButtonTest::lockedShowsPressedButCaptionMovesOnlyWhenPressed()
{
    iButton button;
    button.SetBackPicture(colouredStrip(PushStyle));
    button.SetAutoSize(false);
    button.resize(60, 30);
    button.SetcForeColor(platform::RGB(255, 255, 255));
    button.SetCaption("X");
    button.SetLocked(true);

    const QRgb pressed = frameColour(StatePressed);
    button.cMouseAction(StateNormal, true);
    QCOMPARE(facePixel(button), pressed);
    const QRect resting = inkOver(button.Image(), pressed);
    QVERIFY(!resting.isEmpty());

    button.cMouseAction(StateHover, true);
    QCOMPARE(facePixel(button), pressed);
    QCOMPARE(inkOver(button.Image(), pressed), resting);

    button.cMouseAction(StatePressed, true);
    QCOMPARE(inkOver(button.Image(), pressed), resting.translated(1, 1));
}

void IButtonTest::captionIsCentred_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");

    QTest::newRow("chinese") << "确定" << QSize(75, 22);
    QTest::newRow("wider than the button") << "一二三四五六七八九十" << QSize(40, 22);
}

void IButtonTest::captionIsCentred()
{
    QFETCH(QString, caption);
    QFETCH(QSize, size);

    iButton button;
    button.SetBackPicture(colouredStrip(PushStyle));
    button.SetAutoSize(false);
    button.resize(size);
    button.SetcForeColor(platform::RGB(255, 255, 255));
    button.SetCaption(caption);

    // The text's advance box is centred; its ink lies within the advance, so the ink's centre
    // may stray by a pixel or two from the button's.
    const QRect ink = inkOver(button.Image(), frameColour(StateNormal));
    QVERIFY(!ink.isEmpty());
    QVERIFY2(qAbs(ink.center().x() - size.width() / 2) <= 2,
             qPrintable(QString("ink centre %1").arg(ink.center().x())));
    QVERIFY(qAbs(ink.center().y() - size.height() / 2) <= 3);
}

void IButtonTest::iconIsCentredWithoutCaption()
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgb(255, 255, 0));
    iButton button;
    button.SetBackPicture(colouredStrip(PushStyle));
    button.SetAutoSize(false);
    button.resize(64, 16);
    button.SetIcon(icon);
    button.SetCaption(QString());
    button.cMouseAction(StateNormal, true);

    const QRect drawn = boxOfColour(button.Image(), qRgb(255, 255, 0));
    QCOMPARE(drawn.size(), QSize(16, 16));
    QCOMPARE(drawn.left(), (64 - 16) / 2);

    // Transparent style draws no icon.
    button.SetcBackStyle(0);
    QVERIFY(boxOfColour(button.Image(), qRgb(255, 255, 0)).isEmpty());
}

void IButtonTest::transparentStyleLetsMagentaThrough()
{
    QImage strip = colouredStrip(PushStyle);
    for (int frame = 0; frame < 3; ++frame) {
        strip.setPixel(frame * Frame.width(), 0, Magenta);
        strip.setPixel(frame * Frame.width() + 1, 0, Magenta);
    }
    ButtonOnForm on;
    on.button->SetBackPicture(strip);
    on.button->SetcBackStyle(0);
    QVERIFY(on.show());

    QVERIFY(!on.button->mask().contains(QPoint(0, 0)));
    QVERIFY(!on.button->mask().contains(QPoint(1, 0)));
    QVERIFY(on.button->mask().contains(QPoint(2, 0)));
    QCOMPARE(qAlpha(on.button->Image().pixel(0, 0)), 0);
    // The pointer over a see-through pixel is over the window beneath.
    QCOMPARE(QApplication::widgetAt(on.button->mapToGlobal(QPoint(0, 0))), &on.form);
    QCOMPARE(QApplication::widgetAt(on.button->mapToGlobal(QPoint(5, 5))), on.button);

    on.button->SetcBackStyle(1);
    QVERIFY(on.button->mask().isEmpty());
    QCOMPARE(on.button->Image().pixel(0, 0), Magenta);
}

void IButtonTest::mouseOutOnceAfterCreation()
{
    QElapsedTimer clock;
    clock.start();
    ButtonOnForm on;
    QSignalSpy outs(on.button, &iButton::MouseOut);
    QVERIFY(on.show());
    QTRY_COMPARE(outs.size(), 1);
    QVERIFY2(clock.elapsed() >= 45, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(4 * iButton::HoverPollMs);
    QCOMPARE(outs.size(), 1);
}

void IButtonTest::hoverRaisesMouseOverThenMouseOut_data()
{
    QTest::addColumn<bool>("covered");
    QTest::newRow("the pointer moves away") << false;
    QTest::newRow("a window comes over the resting pointer") << true;
}

void IButtonTest::hoverRaisesMouseOverThenMouseOut()
{
    QFETCH(bool, covered);
    ButtonOnForm on;
    EventLog log(*on.button);
    QVERIFY(on.show());
    QTRY_COMPARE(log.count("MouseOut"), 1);

    on.pointAtButton();
    QTRY_COMPARE(log.count("MouseOver"), 1);
    QCOMPARE(facePixel(*on.button), frameColour(StateHover));
    QCOMPARE(on.button->cursor().shape(), Qt::PointingHandCursor);

    // More moves over the button raise nothing new.
    QCursor::setPos(on.button->mapToGlobal(QPoint(2, 2)));
    QTest::qWait(3 * iButton::HoverPollMs);
    QCOMPARE(log.count("MouseOver"), 1);
    // At rest the pointer is not polled; a move or a leave is what wakes the button.
    QTRY_VERIFY(!on.button->IsWatchingPointer());

    QWidget cover(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    cover.setGeometry(on.form.geometry());
    if (covered) {
        cover.show();
    } else {
        QCursor::setPos(parkingPlace());
    }
    QTRY_COMPARE(log.count("MouseOut"), 2);
    QCOMPARE(facePixel(*on.button), frameColour(StateNormal));
    QCOMPARE(log.events, (QStringList{"MouseOut", "MouseOver", "MouseOut"}));
}

void IButtonTest::leftClickProtocol_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("valueAtClick");

    QTest::newRow("push") << PushStyle << false;
    QTest::newRow("toggle flips before Click") << ToggleStyle << true;
}

void IButtonTest::leftClickProtocol()
{
    QFETCH(int, style);
    QFETCH(bool, valueAtClick);

    ButtonOnForm on(style);
    QVERIFY(on.show());
    on.pointAtButton();
    EventLog log(*on.button);
    QTRY_COMPARE(log.count("MouseOver"), 1);

    QTest::mousePress(on.button, Qt::LeftButton, {}, on.centre());
    QCOMPARE(facePixel(*on.button), frameColour(StatePressed));
    QCOMPARE(on.button->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(on.button, Qt::LeftButton, {}, on.centre());

    QCOMPARE(log.events, (QStringList{"MouseOver", "MouseDown 1", "MouseUp 1", "Click"}));
    QCOMPARE(log.valueAtClick, QList<bool>{valueAtClick});
    QCOMPARE(facePixel(*on.button), frameColour(StateHover + (valueAtClick ? 3 : 0)));
}

void IButtonTest::dragOffAndReleaseIsNoClick()
{
    ButtonOnForm on;
    QVERIFY(on.show());
    on.pointAtButton();
    EventLog log(*on.button);
    QTRY_COMPARE(log.count("MouseOver"), 1);

    QTest::mousePress(on.button, Qt::LeftButton, {}, on.centre());
    const QPoint away = on.form.mapToGlobal(QPoint(5, 5));
    QCursor::setPos(away);
    // Held outside: the next tick draws normal and raises no MouseOut.
    QTRY_COMPARE(facePixel(*on.button), frameColour(StateNormal));
    QTest::qWait(3 * iButton::HoverPollMs);
    QCOMPARE(log.count("MouseOut"), 0);

    // Coming back while held shows pressed again.
    on.pointAtButton();
    QTRY_COMPARE(facePixel(*on.button), frameColour(StatePressed));
    QCursor::setPos(away);
    QTRY_COMPARE(facePixel(*on.button), frameColour(StateNormal));

    QTest::mouseRelease(on.button, Qt::LeftButton, {}, on.button->mapFromGlobal(away));
    QCOMPARE(log.events, (QStringList{"MouseOver", "MouseDown 1", "MouseUp 1"}));
    QTRY_COMPARE(log.count("MouseOut"), 1);
    QCOMPARE(log.events.last(), QString("MouseOut"));
    QCOMPARE(log.count("Click"), 0);
    QCOMPARE(facePixel(*on.button), frameColour(StateNormal));
}

void IButtonTest::rightClickIsNoClick()
{
    ButtonOnForm on(ToggleStyle);
    QVERIFY(on.show());
    on.pointAtButton();
    EventLog log(*on.button);
    QTRY_COMPARE(log.count("MouseOver"), 1);
    const QImage before = on.button->Image();

    QTest::mouseClick(on.button, Qt::RightButton, {}, on.centre());
    QCOMPARE(log.events, (QStringList{"MouseOver", "MouseDown 2", "MouseUp 2"}));
    QVERIFY(!on.button->Value());
    QCOMPARE(on.button->Image(), before);
}

void IButtonTest::mouseDownHandlerCanChangeTheButton()
{
    ButtonOnForm on(ToggleStyle);
    QVERIFY(on.show());
    on.pointAtButton();
    EventLog log(*on.button);
    QTRY_COMPARE(log.count("MouseOver"), 1);
    // An owner that turns every press into a right press: the button acts on what it left.
    connect(on.button, &iButton::MouseDown,
            [](short &Button, short &, float &, float &) { Button = 2; });

    QTest::mousePress(on.button, Qt::LeftButton, {}, on.centre());
    QCOMPARE(facePixel(*on.button), frameColour(StateHover));
    QTest::mouseRelease(on.button, Qt::LeftButton, {}, on.centre());
    QCOMPARE(log.count("Click"), 0);
    QVERIFY(on.button->Value()); // the release still was a left one
}

void IButtonTest::doubleClickRaisesOneClick()
{
    ButtonOnForm on;
    QVERIFY(on.show());
    on.pointAtButton();
    EventLog log(*on.button);
    QTRY_COMPARE(log.count("MouseOver"), 1);

    QTest::mousePress(on.button, Qt::LeftButton, {}, on.centre());
    QTest::mouseRelease(on.button, Qt::LeftButton, {}, on.centre());
    QTest::mouseDClick(on.button, Qt::LeftButton, {}, on.centre());
    QCOMPARE(facePixel(*on.button), frameColour(StatePressed));
    QTest::mouseRelease(on.button, Qt::LeftButton, {}, on.centre());
    QCOMPARE(log.events, (QStringList{"MouseOver", "MouseDown 1", "MouseUp 1", "Click", "DBClick",
                                      "MouseUp 1"}));
}

void IButtonTest::toggleFlipsOncePerClick_data()
{
    QTest::addColumn<QString>("sequence"); // s single click, d double click
    QTest::addColumn<int>("clicks");
    QTest::newRow("click") << "s" << 1;
    QTest::newRow("double click") << "d" << 1;
    QTest::newRow("double click, click") << "ds" << 2;
}

// The face shows Value, and owners follow Value by its Click: every flip comes with one.
void IButtonTest::toggleFlipsOncePerClick()
{
    QFETCH(QString, sequence);
    QFETCH(int, clicks);
    ButtonOnForm on(ToggleStyle);
    QVERIFY(on.show());
    on.pointAtButton();
    EventLog log(*on.button);
    QTRY_COMPARE(log.count("MouseOver"), 1);
    for (const QChar kind : sequence) {
        QTest::mouseClick(on.button, Qt::LeftButton, {}, on.centre());
        if (kind == 'd') {
            QTest::mouseDClick(on.button, Qt::LeftButton, {}, on.centre());
            QTest::mouseRelease(on.button, Qt::LeftButton, {}, on.centre());
        }
    }
    QCOMPARE(log.count("Click"), clicks);
    QCOMPARE(on.button->Value(), clicks % 2 == 1);
}

void IButtonTest::keyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("clicksWhileDown");
    QTest::addColumn<bool>("pressedWhileDown");
    QTest::addColumn<int>("clicksAfterUp");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("Enter clicks on key down")
        << int(Qt::Key_Return) << "\r" << 1 << false << 1
        << QStringList{"KeyDown 13", "Click", "KeyPress 13", "KeyUP 13"};
    QTest::newRow("Space shows pressed, clicks on key up")
        << int(Qt::Key_Space) << " " << 0 << true << 1
        << QStringList{"KeyDown 32", "KeyPress 32", "KeyUP 32", "Click"};
    QTest::newRow("a letter only reports itself")
        << int(Qt::Key_A) << "a" << 0 << false << 0
        << QStringList{"KeyDown 65", "KeyPress 97", "KeyUP 65"};
}

void IButtonTest::keyboard()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, clicksWhileDown);
    QFETCH(bool, pressedWhileDown);
    QFETCH(int, clicksAfterUp);
    QFETCH(QStringList, events);

    ButtonOnForm on(ToggleStyle);
    QVERIFY(on.show());
    on.button->setFocus();
    QTRY_VERIFY(on.button->hasFocus());
    QTRY_VERIFY(!on.button->Image().isNull());
    EventLog log(*on.button);
    QTest::qWait(2 * iButton::HoverPollMs); // let the first MouseOut pass
    log.events.clear();

    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(on.button, &down);
    QCOMPARE(log.count("Click"), clicksWhileDown);
    QCOMPARE(facePixel(*on.button) == frameColour(StatePressed), pressedWhileDown);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(on.button, &up);
    QCOMPARE(log.count("Click"), clicksAfterUp);
    QCOMPARE(log.events, events);
    QCOMPARE(on.button->Value(), clicksAfterUp == 1);
    QCOMPARE(log.valueAtClick, QList<bool>(clicksAfterUp, true));
}

void IButtonTest::heldSpaceRepeatsNoClick()
{
    ButtonOnForm on;
    QVERIFY(on.show());
    QSignalSpy clicks(on.button, &iButton::Click);
    int downs = 0;
    connect(on.button, &iButton::KeyDown, [&downs](short &, short &) { ++downs; });
    // A held key repeats as press/release pairs marked auto-repeat; only the last release counts.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(on.button, &press);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(on.button, &repeatUp);
        QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(on.button, &repeatDown);
    }
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(downs, 4);
    QCOMPARE(facePixel(*on.button), frameColour(StatePressed));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(on.button, &release);
    QCOMPARE(clicks.size(), 1);
}

void IButtonTest::focusRectangleOnFocus()
{
    ButtonOnForm on;
    on.button->SetAutoSize(false);
    on.button->resize(40, 20);
    QLineEdit elsewhere(&on.form);
    elsewhere.move(0, 90);
    QVERIFY(on.show());
    elsewhere.setFocus();
    QTRY_VERIFY(elsewhere.hasFocus());
    const QRgb face = frameColour(StateNormal);
    QCOMPARE(on.button->Image().pixel(3, 3), face);

    on.button->setFocus();
    QTRY_VERIFY(on.button->hasFocus());
    const QImage focused = on.button->Image();
    QCOMPARE(focused.pixel(3, 3), inverted(face)); // top-left corner of the rectangle
    QCOMPARE(focused.pixel(4, 3), face);           // dotted: every other pixel
    QCOMPARE(focused.pixel(36, 16), inverted(face));
    QCOMPARE(focused.pixel(2, 2), face);
    QCOMPARE(focused.pixel(10, 10), face);

    // Any redraw takes it away.
    on.button->cMouseAction(StateNormal, true);
    QCOMPARE(on.button->Image().pixel(3, 3), face);
}

void IButtonTest::propertiesWrittenInOrderWithDefaultsLeftOut()
{
    iButton fresh;
    platform::PropertyBag bag;
    fresh.WriteProperties(bag);
    QCOMPARE(bag.Keys(), (QStringList{"cfont", "cdrawmode", "cforecolor"}));
    QCOMPARE(bag.ReadProperty("cDrawMode").toInt(), 13);
    QCOMPARE(bag.ReadProperty("cForeColor").toUInt(), 0x80000012u);

    iButton changed;
    changed.SetBackPicture(colouredStrip(ToggleStyle));
    changed.SetIcon(QImage(4, 4, QImage::Format_ARGB32));
    changed.SetEnabled(false);
    changed.SetcBackStyle(0);
    changed.SetCaption("确定");
    changed.SetStyle(ToggleStyle);
    changed.SetAutoSize(false);
    platform::PropertyBag all;
    changed.WriteProperties(all);
    QCOMPARE(all.Keys(), (QStringList{"backpicture", "icon", "enabled", "style", "cbackstyle",
                                      "caption", "autosize", "cfont", "cdrawmode", "cforecolor"}));
}

void IButtonTest::propertiesRoundTrip()
{
    QFont font("Noto Sans CJK SC", 11);
    font.setItalic(true);
    iButton original;
    original.SetStyle(ToggleStyle);
    original.SetBackPicture(colouredStrip(ToggleStyle));
    original.SetCaption("最小化");
    original.SetcForeColor(platform::RGB(1, 2, 3));
    original.SetcFont(font);
    original.SetcDrawMode(7);
    original.SetcBackStyle(0);
    original.SetAutoSize(false);
    original.SetEnabled(false);
    platform::PropertyBag bag;
    original.WriteProperties(bag);

    const auto stored = platform::PropertyBag::FromContents(bag.Contents());
    QVERIFY(stored);
    QWidget form;
    iButton &loaded = *new iButton(&form);
    loaded.ReadProperties(*stored);
    QCOMPARE(loaded.Style(), ToggleStyle);
    QCOMPARE(loaded.BackPicture(), original.BackPicture());
    QCOMPARE(loaded.Caption(), QString("最小化"));
    QCOMPARE(loaded.cForeColor(), platform::RGB(1, 2, 3));
    QCOMPARE(loaded.cFont(), font);
    QCOMPARE(loaded.cDrawMode(), short(7));
    QCOMPARE(loaded.cBackStyle(), short(0));
    QVERIFY(!loaded.AutoSize());
    QVERIFY(!loaded.Enabled());

    // Loaded pictures are cut when the button first shows.
    loaded.SetEnabled(true);
    loaded.resize(80, 40);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(facePixel(loaded), frameColour(0));
}

QTEST_MAIN(IButtonTest)
#include "tst_ibutton.moc"
