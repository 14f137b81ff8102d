#include "HeadlessRun.h"

#include "platform/Program.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPixmap>
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
// A window that is one picture of its own is complete once painted; this is for the compositor.
// The splash needs it: the login replaces it as soon as the page has loaded.
const int PaintedSettleMilliseconds = 100;

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
            const int settle = painted ? PaintedSettleMilliseconds : SettleMilliseconds;
            QTimer::singleShot(settle, this, [this, stage] { StageReached(stage); });
        }
    }
    return QObject::eventFilter(watched, event);
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
