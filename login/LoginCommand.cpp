#include "LoginCommand.h"

#include <QUrl>

namespace {

bool isWebAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == "http" || scheme == "https");
}

} // namespace

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
    return isWebAddress(game) ? LoginCommand{LoadGame, game} : LoginCommand{Refused, {}};
}
