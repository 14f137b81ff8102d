#pragma once

#include <QDir>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <memory>

class QWidget;

// The unattended run: when VANTOR_SHOTS_DIR is set, a picture of the whole screen is saved each
// time one of the client's stage windows first appears (splash, login, main window): the splash
// as soon as it is painted, the others once their web pages have had time to paint. After the
// stage named by VANTOR_SHOTS_LAST the program ends by itself; VANTOR_SHOTS_TIMEOUT (seconds)
// ends it with a failure if that stage is never reached.
class HeadlessRun : public QObject {
    Q_OBJECT

public:
    static std::unique_ptr<HeadlessRun> FromEnvironment();

    // A stage that is not a window appearing (the hand-off to the game): saved at once.
    static void Reach(const QString &stage);
    // A stage whose picture needs a moment to settle on screen (a page that just loaded).
    static void ReachWhenSettled(const QString &stage);

    HeadlessRun(const QDir &folder, const QString &lastStage, int timeoutSeconds);
    ~HeadlessRun() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void StageReached(const QString &stage);
    void ReachWhenOnScreen(const QString &stage, QWidget *window, int triesLeft);
    void Finish(int exitCode);
    void SaveScreen(const QString &stage);
    void GiveUp();

    QDir m_folder;
    QString m_lastStage;
    QStringList m_reached;
};
