#include "LinkCommand.h"

#include "net/AppConfig.h"
#include "platform/os/DdeLink.h"

namespace LinkCommand {
namespace {

const char UsageText[] =
    "usage: vantor-link ADDRESS | vantor-link --toggle\n"
    "  ADDRESS        open the http(s) address in a tab of the running client\n"
    "  --toggle       hide or show the client's main window, as F10 does\n"
    "  -h, --help     print this help\n"
    "  -v, --version  print the version";

} // namespace

int Run(const QStringList &arguments, QString &message)
{
    message.clear();
    if (arguments.size() != 1 || arguments[0].isEmpty()) {
        message = UsageText;
        return Usage;
    }
    if (arguments[0] == "-h" || arguments[0] == "--help") {
        message = UsageText;
        return Accepted;
    }
    if (arguments[0] == "-v" || arguments[0] == "--version") {
        message = QString("vantor-link %1").arg(QString::fromUtf8(AppConfig::Version));
        return Accepted;
    }
    // An option we do not know is a mistake, not an address.
    if (arguments[0].startsWith('-') && arguments[0] != "--toggle") {
        message = QString("vantor-link: unknown option '%1'\n").arg(arguments[0]) + UsageText;
        return Usage;
    }
    const bool toggle = arguments[0] == "--toggle";
    const QString command = toggle ? QString::fromUtf8(AppConfig::LinkToggleCommand) : arguments[0];
    const QString server = platform::LinkServerName(QString::fromUtf8(AppConfig::LinkTopic));
    switch (platform::DdeExecute(server, command)) {
    case platform::LinkAnswer::Accepted:
        return Accepted;
    case platform::LinkAnswer::Refused:
        message = "vantor-link: the client refused it (only http and https addresses of at most "
                  "8 KiB are opened, in at most 30 tabs)";
        return Refused;
    case platform::LinkAnswer::NoAnswer:
        message = "vantor-link: the Vantor client did not answer";
        return NoClient;
    case platform::LinkAnswer::ForeignSource:
        message = "vantor-link: the link's socket belongs to another user; nothing was sent";
        return NoClient;
    case platform::LinkAnswer::NoSource:
        break;
    }
    message = "vantor-link: no Vantor client is running";
    return NoClient;
}

} // namespace LinkCommand
