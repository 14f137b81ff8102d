#pragma once

#include <QString>
#include <QStringList>

// What vantor-link does: hands the running client one command over the link and tells how it
// went.
//   vantor-link ADDRESS   open the http(s) address in a tab of the client, or select its tab,
//                         restoring a minimised or hidden window
//   vantor-link --toggle  hide or show the main window, as F10 does
namespace LinkCommand {

enum ExitStatus {
    Accepted = 0,
    Refused = 1,
    NoClient = 2, // no client runs, or it did not answer
    Usage = 64,
};

// arguments: the command line without the program's name. message: one line for the user,
// empty when the command was accepted.
int Run(const QStringList &arguments, QString &message);

} // namespace LinkCommand
