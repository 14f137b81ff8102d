#include "HeadlessRun.h"

#include "platform/os/Program.h"
#include "platform/winsys/LayeredWindow.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// Top-level windows by object name, and the stage each one stands for.
QString stageOfWindow(const QObject *window)
{
    static const QHash<QString, QString> stages{{"LoadFrm", "splash"}, {"LoginBgFrm", "login"}};
    return stages.value(window->objectName());
}

// Long enough for the compositor and a web page to paint after the window is mapped.
const int SettleMilliseconds = 1500;
// A window that is one picture of its own is complete once painted, but a compositor draws it on
// the screen a moment later, sooner or later as the machine is busy. The splash cannot wait long
// (the login replaces it as soon as the page has loaded), so the screen is looked at until it
// shows the picture.
const int OnScreenPollMilliseconds = 25;
const int OnScreenTries = 40;

// Whether the screen shows the window's own picture at its centre yet.
bool showsOnScreen(QWidget *window)
{
    const auto *layered = qobject_cast<const platform::LayeredWindow *>(window);
    const QImage picture = layered ? layered->LayeredImage() : QImage();
    if (picture.isNull()) {
        return true;
    }
    // The window's centre, and the picture's pixel there (a picture for a higher ratio has more).
    const QSize size = picture.deviceIndependentSize().toSize();
    const QPoint centre(size.width() / 2, size.height() / 2);
    const QColor wanted =
        picture.pixelColor((QPointF(centre) * picture.devicePixelRatio()).toPoint());
    if (wanted.alpha() < 255) {
        return true;
    }
    const QPoint onScreen = window->mapToGlobal(centre);
    const QColor seen = QGuiApplication::primaryScreen()
                            ->grabWindow(0, onScreen.x(), onScreen.y(), 1, 1)
                            .toImage()
                            .pixelColor(0, 0);
    return qAbs(seen.red() - wanted.red()) + qAbs(seen.green() - wanted.green()) +
               qAbs(seen.blue() - wanted.blue()) <=
           24;
}

bool isOnePicture(const QString &stage)
{
    return stage == QLatin1String("splash");
}

HeadlessRun *current = nullptr;

} // namespace

std::unique_ptr<HeadlessRun> HeadlessRun::FromEnvironment()
{
    const QString folder = qEnvironmentVariable("VANTOR_SHOTS_DIR");
    if (folder.isEmpty()) {
        return nullptr;
    }
    QDir().mkpath(folder);
    const int timeout = qEnvironmentVariableIntValue("VANTOR_SHOTS_TIMEOUT");
    return std::make_unique<HeadlessRun>(QDir(folder), qEnvironmentVariable("VANTOR_SHOTS_LAST"),
                                         timeout > 0 ? timeout : 60);
}

HeadlessRun::HeadlessRun(const QDir &folder, const QString &lastStage, int timeoutSeconds)
    : m_folder(folder), m_lastStage(lastStage)
{
    current = this;
    qApp->installEventFilter(this);
    QTimer::singleShot(timeoutSeconds * 1000, this, &HeadlessRun::GiveUp);
}

HeadlessRun::~HeadlessRun()
{
    current = nullptr;
}

void HeadlessRun::Reach(const QString &stage)
{
    if (current && !current->m_reached.contains(stage)) {
        current->m_reached.append(stage);
        current->StageReached(stage);
    }
}

void HeadlessRun::ReachWhenSettled(const QString &stage)
{
    if (current) {
        QTimer::singleShot(SettleMilliseconds, current, [stage] { Reach(stage); });
    }
}

bool HeadlessRun::eventFilter(QObject *watched, QEvent *event)
{
    const bool shown = event->type() == QEvent::Show;
    const bool painted = event->type() == QEvent::Paint;
    if ((shown || painted) && watched->isWidgetType()) {
        const QString stage = stageOfWindow(watched);
        if (!stage.isEmpty() && !m_reached.contains(stage) && painted == isOnePicture(stage)) {
            m_reached.append(stage);
            if (painted) {
                ReachWhenOnScreen(stage, static_cast<QWidget *>(watched), OnScreenTries);
            } else {
                QTimer::singleShot(SettleMilliseconds, this,
                                   [this, stage] { StageReached(stage); });
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// Looks again until the picture is on the screen, the window went, or the tries ran out; the
// screen is saved then in any case.
void HeadlessRun::ReachWhenOnScreen(const QString &stage, QWidget *window, int triesLeft)
{
    QTimer::singleShot(OnScreenPollMilliseconds, this,
                       [this, stage, window = QPointer<QWidget>(window), triesLeft] {
                           if (window && window->isVisible() && triesLeft > 0 &&
                               !showsOnScreen(window)) {
                               ReachWhenOnScreen(stage, window, triesLeft - 1);
                           } else {
                               StageReached(stage);
                           }
                       });
}

void HeadlessRun::StageReached(const QString &stage)
{
    SaveScreen(stage);
    if (stage == m_lastStage) {
        std::printf("headless run: last stage \"%s\" reached, closing\n", qPrintable(stage));
        std::fflush(stdout);
        Finish(0);
    }
}

void HeadlessRun::SaveScreen(const QString &stage)
{
    const QString name = QString("%1-%2.png").arg(m_reached.indexOf(stage) + 1).arg(stage);
    const QString path = m_folder.filePath(name);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const bool saved = screen.save(path, "PNG");
    std::printf("headless run: stage \"%s\" %s %s\n", qPrintable(stage),
                saved ? "saved to" : "could not be saved to", qPrintable(path));
    std::fflush(stdout);
}

void HeadlessRun::GiveUp()
{
    std::fprintf(stderr, "headless run: stage \"%s\" not reached in time (reached: %s)\n",
                 qPrintable(m_lastStage), qPrintable(m_reached.join(", ")));
    Finish(3);
}

// From the event loop, so whatever handler reached the stage finishes first.
void HeadlessRun::Finish(int exitCode)
{
    QTimer::singleShot(0, this, [exitCode] { platform::EndProgram(exitCode); });
}
