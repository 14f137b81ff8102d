#pragma once

#include "platform/os/MessageBox.h"

#include <QList>
#include <QStringList>

// Answers every message box with one button and notes what it was asked, for as long as it
// lives; nothing waits for a person.
struct ScriptedBoxes {
    explicit ScriptedBoxes(int answer);

    QStringList texts;
    QStringList titles;
    QList<unsigned> flags;
    platform::ScopedReplacement<platform::MessageBoxService> replacement;
};
