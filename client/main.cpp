#include "app/Forms.h"
#include "app/HeadlessRun.h"
#include "app/LoadFrm.h"
#include "app/SingleClient.h"
#include "app/StartOptions.h"
#include "login/GameWindow.h"
#include "login/LoginBgFrm.h"
#include "login/LoginFrm.h"
#include "mainwnd/WebMainFrm.h"
#include "net/AppConfig.h"
#include "platform/os/EndSignals.h"
#include "platform/os/Program.h"
#include "platform/web/WebBrowser.h"
#include "platform/winsys/WinApi.h"
#include "platform/winsys/WindowHandles.h"

#include <QApplication>
#include <QPointer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

void openMainWindow(const QString &address)
{
    const bool first = !Forms<WebMainFrm>::IfLoaded();
    WebMainFrm &main = Forms<WebMainFrm>::Get();
    if (first) {
        QObject::connect(&main, &WebMainFrm::GamePageComplete,
                         [] { HeadlessRun::ReachWhenSettled("main"); });
    }
    main.SetURL(address);
    main.show();
}

// A second start asked for us: the game's window, or the login before there is one, comes to the
// front, out of the tray or the minimised state.
void showRunningClient()
{
    if (WebMainFrm *main = Forms<WebMainFrm>::IfLoaded()) {
        WinApi::ShowWindow(platform::HandleOf(main), WinApi::SW_RESTORE);
        main->raise();
        main->activateWindow();
    } else if (Forms<LoginFrm>::IfLoaded()) {
        LoginFrm::ShowAgain();
    }
}

// The session ends or someone asks us to: the client ends as the exit dialog's "是" ends it,
// without asking. The main window unloads its pages and lets the tray icon and F10 go; before
// there is one, the program ends its windows directly.
void endClient()
{
    if (platform::ProgramEnding()) {
        return;
    }
    WebMainFrm *main = Forms<WebMainFrm>::IfLoaded();
    if (main && !main->IsUnloaded()) {
        main->m_bExit = true;
        main->close();
        return;
    }
    platform::EndProgram(0);
}

// The windows the loop left behind go before the application, and with it the web profile their
// pages belong to: a page must never outlive its profile.
void closeRemainingWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        windows.append(window);
    }
    for (const QPointer<QWidget> &window : windows) {
        delete window.data();
    }
}

QtMessageHandler previousHandler = nullptr;

struct HeldMessage {
    QtMsgType type;
    QString text;
};
QList<HeldMessage> heldMessages;

// While the application connects to the display, a failure there is Qt's fatal error and an
// abort, after a page of the platform's complaints; the player gets one line and a plain exit
// status instead. What the platform says meanwhile is held and said once the display is open.
void displayFailureHandler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtFatalMsg) {
        heldMessages.append({type, text});
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(StartOptions::NoDisplayText(text)));
    std::_Exit(1);
}

void releaseHeldMessages()
{
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage &message : std::exchange(heldMessages, {})) {
        const QMessageLogContext context;
        if (previousHandler) {
            previousHandler(message.type, context, message.text);
        } else {
            std::fprintf(stderr, "%s\n", qPrintable(message.text));
        }
    }
}

// Help, version and usage errors are answered before anything needs a display. True when the
// program goes on; status is the exit status otherwise.
bool answerCommandLine(int argc, char *argv[], StartOptions &options, int &status)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    options = StartOptions::Parse(arguments);
    if (options.action == StartOptions::Action::Print) {
        std::fprintf(stdout, "%s\n", qPrintable(options.text));
        status = 0;
        return false;
    }
    if (options.action == StartOptions::Action::BadUsage) {
        std::fprintf(stderr, "%s\n", qPrintable(options.text));
        status = StartOptions::UsageStatus;
        return false;
    }
    if (!StartOptions::DisplayNamed()) {
        std::fprintf(stderr, "%s\n", qPrintable(StartOptions::NoDisplayText({})));
        status = 1;
        return false;
    }
    return true;
}

// Nothing when this start goes on as the user's client; the exit status when another client
// runs. "/web" only opens the portal in the browser, beside any client.
std::optional<int> claimTheClient(SingleClient &single, const StartOptions &options)
{
    if (options.commandLine == QLatin1String("/web")) {
        return std::nullopt;
    }
    switch (single.Take()) {
    case SingleClient::Claim::HandedOver:
        return 0;
    case SingleClient::Claim::NotAnswering:
        std::fprintf(stderr, "vantor-client: another Vantor client of this user is running but "
                             "does not answer\n");
        return 1;
    case SingleClient::Claim::First:
        break;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    StartOptions options;
    int status = 0;
    if (!answerCommandLine(argc, argv, options, status)) {
        return status;
    }
    platform::WebBrowser::PrepareEngine();
    previousHandler = qInstallMessageHandler(displayFailureHandler);
    QApplication app(argc, argv);
    releaseHeldMessages();
    platform::EndSignals endSignals;
    QObject::connect(&endSignals, &platform::EndSignals::EndRequested, endClient);
    SingleClient single;
    if (const std::optional<int> ended = claimTheClient(single, options)) {
        return *ended;
    }
    QObject::connect(&single, &SingleClient::ShowRequested, showRunningClient);
    QApplication::setApplicationName("Vantor");
    // The desktop entry's id: Wayland's app id, so the desktop shows the entry's name and icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(AppConfig::DesktopId));
    QApplication::setApplicationVersion(AppConfig::Version);

    const auto headless = HeadlessRun::FromEnvironment();
    GameWindow::OpenProvider().Replace(openMainWindow);
    GameWindow::IsOpenProvider().Replace([] { return Forms<WebMainFrm>::IfLoaded() != nullptr; });
    // The version check waits on the network; the engine starts meanwhile, and the backdrop's
    // picture is decoded on another thread.
    platform::WebBrowser::StartEngineSoon();
    LoginBgFrm::PreloadPicture();
    LoadFrm &loadFrm = Forms<LoadFrm>::Get();
    QObject::connect(&loadFrm, &LoadFrm::LoadLoginWindow, [] { Forms<LoginFrm>::Get(); });
    if (loadFrm.Start(options.commandLine) == LoadFrm::Outcome::EndProgram) {
        return 0;
    }
    // Asked to end while start-up still held the loop (its question, its download).
    if (!platform::ProgramEnding()) {
        status = QApplication::exec();
    }
    closeRemainingWindows();
    return status;
}
