#pragma once

#include <QString>

// A command of the login page: an address the page navigates to, matched by substring in the
// order exit, minimise, load game (the first match wins), case-sensitively.
struct LoginCommand {
    enum Kind {
        None,     // any other address: navigates normally
        Exit,     // "app://exitgame"
        Minimize, // "app://minimize"
        LoadGame, // "app://loadgame|<game address>"
        Refused,  // a load-game command without a usable web address: ignored
    };
    Kind kind = None;
    QString gameAddress;

    // The game address is the text between the first and the second "|". Only http and https
    // addresses are accepted: the address comes from a web page and is opened by the client.
    static LoginCommand FromAddress(const QString &address);
};
