#pragma once

#include <QString>

#include <optional>

// The one argument the client starts the updater with: the client's folder, "|", the client's
// executable.
struct UpdateArgument {
    QString folder;           // ends in exactly one separator
    QString clientExecutable; // started again when the update does not go through

    // Nothing when the argument is empty or does not name two absolute paths; the updater then
    // has nowhere it may safely write and ends at once.
    static std::optional<UpdateArgument> Parse(const QString &argument);
};
