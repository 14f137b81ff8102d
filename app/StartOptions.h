#pragma once

#include <QString>
#include <QStringList>

// What the client's command line asks for before anything needs a display: the help and the
// version are printed and the program ends; an unknown option is a usage error. Everything else
// is the start-up's own command line ("/web", or nothing).
struct StartOptions {
    enum class Action {
        Start,    // go on starting; commandLine is what the start-up window compares
        Print,    // print text on standard output and end with status 0
        BadUsage, // print text on standard error and end with UsageStatus
    };

    static constexpr int UsageStatus = 64;

    Action action = Action::Start;
    QString text;
    QString commandLine;

    // arguments: the whole command line, the program's name first.
    static StartOptions Parse(const QStringList &arguments);

    // The one line said when no display can be opened; detail is what the window system said.
    static QString NoDisplayText(const QString &detail);

    // Whether the environment names any display the platform could open: DISPLAY or
    // WAYLAND_DISPLAY for the desktop platforms; any other platform chosen by QT_QPA_PLATFORM
    // (offscreen, a VNC server) brings its own.
    static bool DisplayNamed();
};
