#include "StartOptions.h"

#include "LoadFrm.h"
#include "net/AppConfig.h"

namespace {

const char UsageText[] = "usage: vantor-client [/web]\n"
                         "  /web           open the game portal in the web browser and end\n"
                         "  -h, --help     print this help and end\n"
                         "  -v, --version  print the version and end";

StartOptions printed(const QString &text)
{
    StartOptions options;
    options.action = StartOptions::Action::Print;
    options.text = text;
    return options;
}

} // namespace

StartOptions StartOptions::Parse(const QStringList &arguments)
{
    const QStringList given = arguments.mid(1);
    for (const QString &argument : given) {
        if (argument == "-h" || argument == "--help") {
            return printed(QString::fromUtf8(UsageText));
        }
        if (argument == "-v" || argument == "--version") {
            return printed(QString("vantor-client %1").arg(QString::fromUtf8(AppConfig::Version)));
        }
        // "/web" and other words keep their old meaning; only a dash marks an option.
        if (argument.startsWith('-')) {
            StartOptions options;
            options.action = Action::BadUsage;
            options.text = QString("vantor-client: unknown option '%1'\n").arg(argument) +
                           QString::fromUtf8(UsageText);
            return options;
        }
    }
    StartOptions options;
    options.commandLine = CommandLineOf(arguments);
    return options;
}

QString StartOptions::NoDisplayText(const QString &detail)
{
    QString text = "vantor-client: no display to show the client on (set DISPLAY or "
                   "WAYLAND_DISPLAY, or start it from a desktop session)";
    const QString said = detail.section('\n', 0, 0).trimmed();
    return said.isEmpty() ? text : text + ": " + said;
}

bool StartOptions::DisplayNamed()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool desktop =
        platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    return !desktop || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
