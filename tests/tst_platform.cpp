#include "platform/os/DdeLink.h"
#include "platform/os/HotKey.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Shell.h"
#include "platform/os/TempFolder.h"
#include "platform/winsys/LayeredWindow.h"
#include "platform/winsys/SystemColors.h"
#include "platform/winsys/WindowHandles.h"
#include "tests/support/AsNobody.h"
#include "tests/support/KeyGrab.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPalette>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <X11/keysym.h>
#include <cstdlib>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

using namespace platform;

namespace {

// Points the temporary-folder lookup at scratch places for one test.
class TempEnvironment {
public:
    TempEnvironment(const QByteArray &runtimeDir, const QByteArray &tmpDir)
        : m_runtime(qgetenv("XDG_RUNTIME_DIR")), m_tmp(qgetenv("TMPDIR"))
    {
        set("XDG_RUNTIME_DIR", runtimeDir);
        set("TMPDIR", tmpDir);
    }
    ~TempEnvironment()
    {
        set("XDG_RUNTIME_DIR", m_runtime);
        set("TMPDIR", m_tmp);
    }

private:
    static void set(const char *name, const QByteArray &value)
    {
        if (value.isEmpty()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
    QByteArray m_runtime;
    QByteArray m_tmp;
};

mode_t permissionsOf(const QString &path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

QString userFolderName()
{
    return QString("vantor-%1").arg(::geteuid());
}

// A link client that sends raw bytes and reads the answer without blocking the event loop.
QByteArray linkAnswer(QLocalSocket &socket, int timeoutMs = 5000)
{
    const bool answered = QTest::qWaitFor([&] { return socket.canReadLine(); }, timeoutMs);
    return answered ? socket.readLine().trimmed() : QByteArray();
}

// Stands in for the desktop's opener of local files and counts what it was handed.
class FileOpener : public QObject {
    Q_OBJECT

public:
    FileOpener() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~FileOpener() override { QDesktopServices::unsetUrlHandler("file"); }
    int opened = 0;

public slots:
    void open(const QUrl &) { ++opened; }
};

void writeScript(const QString &path, const QByteArray &text, QFile::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(file.setPermissions(permissions));
}

const QFile::Permissions Runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void tempFolderEndsInOneSeparatorAndIsPrivate_data();
    void tempFolderEndsInOneSeparatorAndIsPrivate();
    void tempFolderTightensLoosePermissions();
    void tempFolderRefusesWhatIsNotOurOwnDirectory_data();
    void tempFolderRefusesWhatIsNotOurOwnDirectory();

    void handlesAreStableAndNeverReused();

    void translateColor_data();
    void translateColor();

    void shellRefusesAddressesThatAreNotWeb_data();
    void shellRefusesAddressesThatAreNotWeb();
    void shellStartsExecutableWithItsArgument();
    void programThatCannotRunIsNeverOpened_data();
    void programThatCannotRunIsNeverOpened();
    void programOnNoexecFolderIsNeverOpened();

    void scopedReplacementPutsTheServiceBack();

    void opaqueRegionFollowsAlpha();

    void hotKeyHeldByAnotherClientIsRefused();
    void hotKeyIsFreeOnceItsWindowIsGone();

    void linkAnswersEachRequest_data();
    void linkAnswersEachRequest();
    void silentLinkClientHoldsNothingUp();
    void linkReplacesStaleSocketKeepsLiveOne();
    void linkSendsNothingToAnotherUsersSocket();
    void linkHearsNothingFromAnotherUser();
};

void PlatformTest::tempFolderEndsInOneSeparatorAndIsPrivate_data()
{
    QTest::addColumn<bool>("useRuntimeDir");
    QTest::addColumn<QString>("baseSuffix");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("runtime dir") << true << ""
                                 << "vantor";
    QTest::newRow("runtime dir with trailing slash") << true << "/"
                                                     << "vantor";
    QTest::newRow("tmpdir") << false << "" << userFolderName();
    QTest::newRow("tmpdir with trailing slashes") << false << "//" << userFolderName();
}

void PlatformTest::tempFolderEndsInOneSeparatorAndIsPrivate()
{
    QFETCH(bool, useRuntimeDir);
    QFETCH(QString, baseSuffix);
    QFETCH(QString, expectedName);

    QTemporaryDir scratch;
    const QByteArray base = QFile::encodeName(scratch.path() + baseSuffix);
    TempEnvironment env(useRuntimeDir ? base : QByteArray(), useRuntimeDir ? QByteArray() : base);

    const QString folder = PrivateTempFolder();
    QCOMPARE(folder, scratch.path() + "/" + expectedName + "/");
    QVERIFY(!folder.endsWith("//"));
    QCOMPARE(permissionsOf(folder), mode_t(0700));
    QCOMPARE(PrivateTempFolder(), folder);
}

void PlatformTest::tempFolderTightensLoosePermissions()
{
    QTemporaryDir scratch;
    TempEnvironment env({}, QFile::encodeName(scratch.path()));
    const QString existing = scratch.filePath(userFolderName());
    QVERIFY(QDir().mkdir(existing));
    ::chmod(QFile::encodeName(existing).constData(), 0777);
    QFile mine(existing + "/mine");
    QVERIFY(mine.open(QIODevice::WriteOnly));
    if (::geteuid() == 0) {
        // What another user put there while it was open: a socket under the link's name, a file.
        const sockaddr_un address = unixAddress(QFile::encodeName(existing + "/TesselDDE"));
        const int planted = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QCOMPARE(::bind(planted, reinterpret_cast<const sockaddr *>(&address), sizeof(address)), 0);
        ::close(planted);
        QFile theirs(existing + "/update.txt");
        QVERIFY(theirs.open(QIODevice::WriteOnly));
        for (const char *name : {"/TesselDDE", "/update.txt"}) {
            const QByteArray path = QFile::encodeName(existing + name);
            QCOMPARE(::chown(path.constData(), NobodyId, NobodyId), 0);
        }
    }

    QCOMPARE(PrivateTempFolder(), existing + "/");
    QCOMPARE(permissionsOf(existing), mode_t(0700));
    QCOMPARE(QDir(existing).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{"mine"});
}

void PlatformTest::tempFolderRefusesWhatIsNotOurOwnDirectory_data()
{
    QTest::addColumn<QString>("plant");
    QTest::newRow("symbolic link to a folder") << "symlink";
    QTest::newRow("plain file") << "file";
    QTest::newRow("folder of another user") << "foreign";
    QTest::newRow("another user's files inside") << "foreign inside";
}

void PlatformTest::tempFolderRefusesWhatIsNotOurOwnDirectory()
{
    QFETCH(QString, plant);
    QTemporaryDir scratch;
    TempEnvironment env({}, QFile::encodeName(scratch.path()));
    const QString target = scratch.filePath(userFolderName());

    if (plant == "symlink") {
        QVERIFY(QDir().mkdir(scratch.filePath("elsewhere")));
        QVERIFY(QFile::link(scratch.filePath("elsewhere"), target));
    } else if (plant == "file") {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (plant == "foreign") {
        if (::geteuid() != 0) {
            QSKIP("only root can hand a folder to another user");
        }
        QVERIFY(QDir().mkdir(target));
        QCOMPARE(::chown(QFile::encodeName(target).constData(), 4242, 4242), 0);
    } else {
        if (::geteuid() != 0) {
            QSKIP("only root can hand a folder to another user");
        }
        // A folder of theirs with their file in it cannot be taken away from them.
        QVERIFY(QDir().mkpath(target + "/theirs"));
        QFile file(target + "/theirs/file");
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(::chown(QFile::encodeName(target + "/theirs").constData(), 4242, 4242), 0);
    }
    QCOMPARE(PrivateTempFolder(), QString());
}

void PlatformTest::handlesAreStableAndNeverReused()
{
    auto *first = new QWidget;
    const HWND firstHandle = HandleOf(first);
    QVERIFY(firstHandle != 0);
    QCOMPARE(HandleOf(first), firstHandle);
    QCOMPARE(WidgetOf(firstHandle), first);
    QVERIFY(IsWindow(firstHandle));

    delete first;
    QVERIFY(!IsWindow(firstHandle));
    QCOMPARE(WidgetOf(firstHandle), nullptr);

    // A new widget may well get the same address; it must not inherit the old handle.
    QWidget second;
    QVERIFY(HandleOf(&second) != firstHandle);
    QVERIFY(!IsWindow(firstHandle));
    QCOMPARE(HandleOf(nullptr), HWND(0));
    QVERIFY(!IsWindow(0));
}

void PlatformTest::translateColor_data()
{
    QTest::addColumn<quint32>("colorRef");
    QTest::addColumn<QColor>("expected");

    const QPalette palette = QGuiApplication::palette();
    QTest::newRow("red in the low byte") << quint32(0x000000FF) << QColor(255, 0, 0);
    QTest::newRow("tab caption blue") << quint32(0x00A36004) << QColor(4, 96, 163);
    QTest::newRow("caption bar default") << quint32(14346732) << QColor(236, 233, 218);
    QTest::newRow("button text") << quint32(0x80000012) << palette.color(QPalette::ButtonText);
    QTest::newRow("window") << quint32(0x80000005) << palette.color(QPalette::Base);
    QTest::newRow("button face") << quint32(0x8000000F) << palette.color(QPalette::Button);
}

void PlatformTest::translateColor()
{
    QFETCH(quint32, colorRef);
    QFETCH(QColor, expected);
    QCOMPARE(TranslateColor(colorRef), expected);
}

void PlatformTest::shellRefusesAddressesThatAreNotWeb_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("javascript") << "javascript:alert(1)";
    QTest::newRow("file address") << "file:///etc/passwd";
    QTest::newRow("data") << "data:text/html,<b>x</b>";
    QTest::newRow("custom scheme") << "app://exitgame";
    QTest::newRow("relative path") << "some/relative/file";
    QTest::newRow("missing local file") << "/nonexistent/vantor/file";
    QTest::newRow("empty") << "";
}

void PlatformTest::shellRefusesAddressesThatAreNotWeb()
{
    QFETCH(QString, target);
    QVERIFY(!ShellOpen(target));
}

void PlatformTest::shellStartsExecutableWithItsArgument()
{
    QTemporaryDir scratch;
    const QString script = scratch.filePath("record.sh");
    const QString record = scratch.filePath("argument.txt");
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/argument.txt\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QString argument = "/opt/game dir/|/opt/game dir/vantor-client";
    QVERIFY(ShellOpen(script, {argument}));
    const auto recorded = [&record] {
        QFile result(record);
        return result.open(QIODevice::ReadOnly) ? QString::fromUtf8(result.readAll()) : QString();
    };
    QTRY_COMPARE(recorded(), argument);
}

void PlatformTest::programThatCannotRunIsNeverOpened_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("permissions");

    QTest::newRow("not executable") << QByteArray("#!/bin/sh\n") << int(QFile::ReadOwner);
    QTest::newRow("interpreter missing") << QByteArray("#!/nowhere/sh\n") << int(Runnable);
    QTest::newRow("not a program at all") << QByteArray("\x7f"
                                                        "ELF garbage")
                                          << int(Runnable);
}

void PlatformTest::programThatCannotRunIsNeverOpened()
{
    QFETCH(QByteArray, text);
    QFETCH(int, permissions);

    QTemporaryDir scratch;
    const QString program = scratch.filePath("Update.exe");
    writeScript(program, text, QFile::Permissions(permissions));
    FileOpener opener;
    QVERIFY(!StartProgram(program, {"a|b"}));
    QVERIFY(!StartProgram(scratch.filePath("missing")));
    QVERIFY(!StartProgram(scratch.path()));
    QCOMPARE(opener.opened, 0);
}

// A temporary folder mounted noexec: the program there cannot run, and the desktop's opener
// must not be handed it instead. The mount lives in a namespace of a child of its own.
void PlatformTest::programOnNoexecFolderIsNeverOpened()
{
    QTemporaryDir scratch;
    const QByteArray folder = QFile::encodeName(scratch.path());
    FileOpener opener;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.constData(), "tmpfs", MS_NOEXEC, "mode=0700") != 0) {
            ::_exit(77);
        }
        const QString program = scratch.filePath("Update.exe");
        QFile file(program);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(Runnable);
        const bool started = ShellOpen(program) || StartProgram(program);
        ::_exit((started ? 1 : 0) | (opener.opened ? 2 : 0));
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        QSKIP("no private mount namespace here (needs root)");
    }
    QCOMPARE(WEXITSTATUS(status), 0);
}

void PlatformTest::scopedReplacementPutsTheServiceBack()
{
    int calls = 0;
    {
        ScopedReplacement outer(MessageBoxProvider(), [&](const QString &, const QString &,
                                                          unsigned) { return ++calls, id::Yes; });
        {
            ScopedReplacement inner(MessageBoxProvider(), [](const QString &, const QString &,
                                                             unsigned) { return id::No; });
            QCOMPARE(MessageBox("x", "t", mb::YesNo), id::No);
        }
        QCOMPARE(MessageBox("x", "t", mb::YesNo), id::Yes);
    }
    QCOMPARE(calls, 1);
}

void PlatformTest::opaqueRegionFollowsAlpha()
{
    QImage image(10, 6, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(2, 1, QColor(0, 0, 0, 1)); // faint, still part of the shape
    for (int x = 4; x < 9; ++x) {
        image.setPixelColor(x, 4, QColor(200, 10, 10, 255));
    }

    const QRegion region = OpaqueRegion(image);
    QVERIFY(region.contains(QPoint(2, 1)));
    QVERIFY(region.contains(QPoint(4, 4)));
    QVERIFY(region.contains(QPoint(8, 4)));
    QVERIFY(!region.contains(QPoint(3, 4)));
    QVERIFY(!region.contains(QPoint(9, 4)));
    QVERIFY(!region.contains(QPoint(0, 0)));
    QCOMPARE(region.boundingRect(), QRect(2, 1, 7, 4));
}

void PlatformTest::hotKeyHeldByAnotherClientIsRefused()
{
    QWidget window;
    const HWND hWnd = HandleOf(&window);
    QVERIFY(RegisterHotKey(hWnd, 1, 0, VK_F10));
    QVERIFY(!RegisterHotKey(hWnd, 1, 0, VK_F10));
    QVERIFY(UnregisterHotKey(hWnd, 1));

    bool registered = true;
    {
        const KeyHeldElsewhere other(XK_F10);
        QVERIFY(other.held());
        registered = RegisterHotKey(hWnd, 1, 0, VK_F10);
    }
    QVERIFY(!registered);
    QVERIFY(!UnregisterHotKey(hWnd, 1));
}

// A window that goes without unregistering its key lets go of it: another program can have it.
void PlatformTest::hotKeyIsFreeOnceItsWindowIsGone()
{
    auto *window = new QWidget;
    QVERIFY(RegisterHotKey(HandleOf(window), 1, 0, VK_F10));
    QVERIFY(!anotherClientCanGrab(XK_F10));
    delete window;
    QVERIFY(anotherClientCanGrab(XK_F10));
}

void PlatformTest::linkAnswersEachRequest_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("split"); // where the request is cut into two sends; 0: one send
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("executed");

    const QByteArray longest(MaxLinkCommandBytes, 'a');
    QTest::newRow("a line") << QByteArray("open \xe5\xae\xa2\n") << 0 << QByteArray("OK")
                            << QString::fromUtf8("open 客");
    QTest::newRow("CR LF") << QByteArray("x\r\n") << 0 << QByteArray("OK") << "x";
    QTest::newRow("refused by the handler")
        << QByteArray("no\n") << 0 << QByteArray("REFUSED") << "no";
    QTest::newRow("8 KiB") << longest + "\n" << 0 << QByteArray("OK") << QString(longest);
    QTest::newRow("8 KiB and one") << longest + "a\n" << 0 << QByteArray("REFUSED") << QString();
    QTest::newRow("8 KiB CR LF") << longest + "\r\n" << 0 << QByteArray("OK") << QString(longest);
    QTest::newRow("8 KiB CR LF, cut before the CR") << longest + "\r\n"
                                                    << 8192 << QByteArray("OK") << QString(longest);
    QTest::newRow("8 KiB CR LF, cut between CR and LF")
        << longest + "\r\n"
        << 8193 << QByteArray("OK") << QString(longest);
    QTest::newRow("8 KiB and one CR LF, cut between CR and LF")
        << longest + "a\r\n"
        << 8194 << QByteArray("REFUSED") << QString();
    QTest::newRow("8 KiB and a CR inside, cut after it")
        << longest + "\ra\n"
        << 8193 << QByteArray("REFUSED") << QString();
    QTest::newRow("endless, no line end")
        << QByteArray(100000, 'a') << 0 << QByteArray("REFUSED") << QString();
    QTest::newRow("not UTF-8") << QByteArray("\xff\xfe\n") << 0 << QByteArray("REFUSED")
                               << QString();
    QTest::newRow("never finished")
        << QByteArray("half a line") << 0 << QByteArray("REFUSED") << QString();
}

void PlatformTest::linkAnswersEachRequest()
{
    QFETCH(QByteArray, request);
    QFETCH(int, split);
    QFETCH(QByteArray, answer);
    QFETCH(QString, executed);
    QTemporaryDir runtime;
    TempEnvironment env(QFile::encodeName(runtime.path()), {});
    DdeSource source;
    source.SetReadDeadline(1000);
    QStringList seen;
    connect(&source, &DdeSource::LinkExecute, [&](const QString &command, bool &Cancel) {
        seen << command;
        Cancel = command == "no";
    });
    QVERIFY(source.Listen("topic"));

    QLocalSocket client;
    client.connectToServer(LinkServerName("topic"));
    QVERIFY(client.waitForConnected(1000));
    if (split > 0) {
        // The source reads the first part on its own before the rest arrives.
        client.write(request.left(split));
        client.flush();
        QTest::qWait(100);
    }
    client.write(request.mid(split));
    QCOMPARE(linkAnswer(client), answer);
    QCOMPARE(seen, executed.isNull() ? QStringList() : QStringList{executed});
}

// Requests are read as they come: one client that sends nothing must not hold up the next, and it
// is let go at its deadline.
void PlatformTest::silentLinkClientHoldsNothingUp()
{
    QTemporaryDir runtime;
    TempEnvironment env(QFile::encodeName(runtime.path()), {});
    DdeSource source;
    source.SetReadDeadline(2000);
    connect(&source, &DdeSource::LinkExecute, [](const QString &, bool &) {});
    QVERIFY(source.Listen("topic"));
    QLocalSocket silent;
    silent.connectToServer(source.ServerName());
    QVERIFY(silent.waitForConnected(1000));

    QElapsedTimer clock;
    clock.start();
    QLocalSocket talking;
    talking.connectToServer(source.ServerName());
    talking.write("x\n");
    QCOMPARE(linkAnswer(talking), QByteArray("OK"));
    QVERIFY(clock.elapsed() < 1500);
    QCOMPARE(linkAnswer(silent), QByteArray("REFUSED"));
}

void PlatformTest::linkReplacesStaleSocketKeepsLiveOne()
{
    QTemporaryDir runtime;
    TempEnvironment env(QFile::encodeName(runtime.path()), {});
    const QByteArray path = QFile::encodeName(LinkServerName("topic"));
    // A crashed client leaves its socket behind, with nobody answering on it.
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QCOMPARE(::bind(stale, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(stale);

    DdeSource first;
    connect(&first, &DdeSource::LinkExecute, [](const QString &, bool &) {});
    QVERIFY(first.Listen("topic"));
    DdeSource second;
    QVERIFY(!second.Listen("topic"));
    QLocalSocket client;
    client.connectToServer(QFile::decodeName(path));
    client.write("x\n");
    QCOMPARE(linkAnswer(client), QByteArray("OK"));
}

// The link's socket is another user's (a folder once open to others let it in): the command, an
// address of the player's, is not handed to them.
void PlatformTest::linkSendsNothingToAnotherUsersSocket()
{
    QTemporaryDir open;
    QCOMPARE(::chmod(QFile::encodeName(open.path()).constData(), 0777), 0);
    const QByteArray path = QFile::encodeName(open.filePath("TesselDDE"));
    const pid_t listener = startAsNobody([&path] {
        // Listening before it shows under the link's name.
        const sockaddr_un address = unixAddress(path + ".new");
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(server, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0 ||
            ::listen(server, 1) != 0 || ::rename(address.sun_path, path.constData()) != 0) {
            return 2;
        }
        const int peer = ::accept(server, nullptr, nullptr);
        char byte = 0;
        const bool heard = ::read(peer, &byte, 1) == 1;
        return heard && ::write(peer, "OK\n", 3) == 3 ? 1 : 0;
    });
    QTRY_VERIFY(QFile::exists(QFile::decodeName(path)));
    QCOMPARE(DdeExecute(QFile::decodeName(path), "http://game.test/play"),
             LinkAnswer::ForeignSource);
    QCOMPARE(exitStatusOf(listener), 0);
}

// Another user's program reaches the socket (every folder on the way left open): it is let go
// unheard.
void PlatformTest::linkHearsNothingFromAnotherUser()
{
    QTemporaryDir runtime;
    TempEnvironment env(QFile::encodeName(runtime.path()), {});
    DdeSource source;
    QStringList seen;
    connect(&source, &DdeSource::LinkExecute,
            [&](const QString &command, bool &) { seen << command; });
    QVERIFY(source.Listen("topic"));
    const QByteArray path = QFile::encodeName(source.ServerName());
    for (const QString &way : {runtime.path(), runtime.filePath("vantor"), source.ServerName()}) {
        QCOMPARE(::chmod(QFile::encodeName(way).constData(), 0777), 0);
    }

    const pid_t caller = startAsNobody([&path] {
        const sockaddr_un address = unixAddress(path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) != 0) {
            return 2;
        }
        char answer[8] = {};
        return ::write(fd, "x\n", 2) == 2 && ::read(fd, answer, 3) == 3 &&
                       qstrcmp(answer, "OK\n") == 0
                   ? 0
                   : 1;
    });
    QCOMPARE(exitStatusOf(caller), 1);
    QVERIFY(seen.isEmpty());
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
