#include "app/HeadlessRun.h"
#include "app/LoadFrm.h"
#include "app/PublicData.h"
#include "net/AppConfig.h"
#include "platform/os/Connection.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Shell.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace platform;

namespace {

struct ShownBox {
    QString text;
    QString title;
    unsigned flags;
};

// Scripts the platform for one test: the connection state, and recorders for message boxes and
// shell requests.
struct StartupWorld {
    bool connected = true;
    QList<ShownBox> boxes;
    QStringList opened;

    ScopedReplacement<ConnectionService> connection{ConnectionProvider(),
                                                    [this] { return connected; }};
    ScopedReplacement<MessageBoxService> box{
        MessageBoxProvider(), [this](const QString &text, const QString &title, unsigned flags) {
            boxes.append({text, title, flags});
            return id::Ok;
        }};
    ScopedReplacement<ShellOpenService> shell{ShellOpenProvider(),
                                              [this](const QString &target, const QStringList &) {
                                                  opened.append(target);
                                                  return true;
                                              }};
};

// A start-up window whose version check finds no manifest: nothing listens on port 1.
std::unique_ptr<LoadFrm> newLoadFrm()
{
    auto window = std::make_unique<LoadFrm>();
    window->SetManifestAddress("http://127.0.0.1:1/gamehome/qvmr/update.txt");
    return window;
}

QList<QWidget *> visibleTopLevels()
{
    QList<QWidget *> visible;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            visible.append(widget);
        }
    }
    return visible;
}

} // namespace

class LoadFrmTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void webSwitchOpensPortalOnlyWhenExact_data();
    void webSwitchOpensPortalOnlyWhenExact();
    void noConnectionShowsOnlyTheWarning();
    void splashHasImageSizeAndIsCentred();
    void transparentSplashPixelsLetClicksThrough();
    void unloadHidesOnceAndClosingUnloads();
    void headlessRunShootsTheSplashWhileItIsUp();
    void commandLineKeepsBlanksBetweenArguments_data();
    void commandLineKeepsBlanksBetweenArguments();

private:
    QTemporaryDir m_runtime;
};

void LoadFrmTest::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
}

void LoadFrmTest::webSwitchOpensPortalOnlyWhenExact_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("opensPortal");

    QTest::newRow("exact") << "/web" << true;
    QTest::newRow("upper case") << "/WEB" << false;
    QTest::newRow("mixed case") << "/Web" << false;
    QTest::newRow("trailing blank") << "/web " << false;
    QTest::newRow("leading blank") << " /web" << false;
    QTest::newRow("more text") << "/web http://x" << false;
    QTest::newRow("prefix only") << "/we" << false;
    QTest::newRow("no argument") << "" << false;
}

void LoadFrmTest::webSwitchOpensPortalOnlyWhenExact()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, opensPortal);
    StartupWorld world;

    const auto splash = newLoadFrm();
    const LoadFrm::Outcome outcome = splash->Start(commandLine);

    QVERIFY(world.boxes.isEmpty());
    if (opensPortal) {
        QCOMPARE(outcome, LoadFrm::Outcome::EndProgram);
        QCOMPARE(world.opened, QStringList{QString::fromUtf8(AppConfig::GamePortal)});
        QVERIFY(!splash->isVisible());
        QVERIFY(splash->LayeredImage().isNull());
    } else {
        QCOMPARE(outcome, LoadFrm::Outcome::Continue);
        QVERIFY(world.opened.isEmpty());
        QVERIFY(splash->isVisible());
    }
}

void LoadFrmTest::noConnectionShowsOnlyTheWarning()
{
    StartupWorld world;
    world.connected = false;

    const auto splash = newLoadFrm();
    QCOMPARE(splash->Start("/web"), LoadFrm::Outcome::EndProgram);

    QCOMPARE(world.boxes.size(), 1);
    QCOMPARE(world.boxes[0].text, QString("未能连接到服务器，请检查网络连接是否正常！"));
    QCOMPARE(world.boxes[0].title, QString("提示"));
    QCOMPARE(world.boxes[0].flags, mb::Ok | mb::IconWarning);
    QVERIFY(world.opened.isEmpty());
    QVERIFY(visibleTopLevels().isEmpty());
}

void LoadFrmTest::splashHasImageSizeAndIsCentred()
{
    StartupWorld world;
    const auto splash = newLoadFrm();
    QCOMPARE(splash->Start(""), LoadFrm::Outcome::Continue);
    QVERIFY(QTest::qWaitForWindowExposed(splash.get()));

    QCOMPARE(splash->size(), QSize(356, 122));
    QCOMPARE(splash->LayeredImage().size(), QSize(356, 122));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(splash->frameGeometry().center(), screen.center());
    QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
}

void LoadFrmTest::transparentSplashPixelsLetClicksThrough()
{
    StartupWorld world;
    QWidget desktop;
    desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
    desktop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&desktop));

    const auto splash = newLoadFrm();
    splash->Start("");
    QVERIFY(QTest::qWaitForWindowExposed(splash.get()));
    splash->raise();

    const QImage image = PublicData::LoadPngResource(102, "PNG");
    QPoint transparent(-1, -1);
    QPoint opaque(-1, -1);
    for (int y = 0; y < image.height() && (transparent.x() < 0 || opaque.x() < 0); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha == 0 && transparent.x() < 0) {
                transparent = {x, y};
            } else if (alpha == 255 && opaque.x() < 0) {
                opaque = {x, y};
            }
        }
    }
    QVERIFY2(transparent.x() >= 0, "the splash picture has no transparent pixel");
    QVERIFY2(opaque.x() >= 0, "the splash picture has no opaque pixel");

    // The window system decides which window is under a point, so this asks the X server.
    QTRY_COMPARE(QApplication::topLevelAt(splash->mapToGlobal(opaque)), splash.get());
    QCOMPARE(QApplication::topLevelAt(splash->mapToGlobal(transparent)), &desktop);
}

void LoadFrmTest::unloadHidesOnceAndClosingUnloads()
{
    StartupWorld world;
    const auto splash = newLoadFrm();
    splash->Start("");
    QVERIFY(splash->isVisible());

    splash->Form_Unload();
    QVERIFY(!splash->isVisible());
    QVERIFY(splash->IsUnloaded());
    QVERIFY(splash->LayeredImage().isNull());
    splash->Form_Unload();
    QVERIFY(!splash->isVisible());

    const auto closed = newLoadFrm();
    closed->Start("");
    QVERIFY(closed->close());
    QVERIFY(closed->IsUnloaded());
    QVERIFY(world.boxes.isEmpty());
}

void LoadFrmTest::headlessRunShootsTheSplashWhileItIsUp()
{
    StartupWorld world;
    QTemporaryDir shots;
    HeadlessRun run(QDir(shots.path()), "never", 600);
    const auto splash = newLoadFrm();
    splash->Start("");
    const QImage image = PublicData::LoadPngResource(102, "PNG");
    const QPoint centre(image.width() / 2, image.height() / 2);
    // The login page of a fast server replaces the splash soon after it appears.
    QTimer::singleShot(700, splash.get(), [&splash] { splash->Form_Unload(); });

    const QString shot = shots.filePath("1-splash.png");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(shot), 5000);
    const QColor seen = QImage(shot).pixelColor(splash->mapToGlobal(centre));
    const QColor painted = image.pixelColor(centre);
    QVERIFY2(
        qAbs(seen.red() - painted.red()) + qAbs(seen.green() - painted.green()) +
                qAbs(seen.blue() - painted.blue()) <=
            6,
        qPrintable(
            QString("the shot shows %1 where the splash has %2").arg(seen.name(), painted.name())));
}

void LoadFrmTest::commandLineKeepsBlanksBetweenArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("program only") << QStringList{"vantor"} << "";
    QTest::newRow("switch") << QStringList{"vantor", "/web"} << "/web";
    QTest::newRow("switch and more") << QStringList{"vantor", "/web", "x"} << "/web x";
    QTest::newRow("quoted blank kept") << QStringList{"vantor", "/web "} << "/web ";
}

void LoadFrmTest::commandLineKeepsBlanksBetweenArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, commandLine);
    QCOMPARE(CommandLineOf(arguments), commandLine);
}

QTEST_MAIN(LoadFrmTest)
#include "tst_loadfrm.moc"
