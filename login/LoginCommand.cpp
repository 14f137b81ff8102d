#include "LoginCommand.h"

#include "platform/os/WebAddress.h"

LoginCommand LoginCommand::FromAddress(const QString &address)
{
    if (address.contains("app://exitgame")) {
        return {Exit, {}};
    }
    if (address.contains("app://minimize")) {
        return {Minimize, {}};
    }
    if (!address.contains("app://loadgame")) {
        return {None, {}};
    }
    const QStringList fields = address.split('|');
    const QString game = fields.size() > 1 ? fields[1] : QString();
    return platform::IsWebAddress(game) ? LoginCommand{LoadGame, game} : LoginCommand{Refused, {}};
}
