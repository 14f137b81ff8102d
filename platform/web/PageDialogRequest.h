#pragma once

#include <QString>

namespace platform {

// What a page asks the player through the client's dialog: its own alert, confirm or prompt, or
// the client's question whether it may use a device.
struct PageDialogRequest {
    enum class Kind { Alert, Confirm, Prompt, Permission };

    // What came back. Left as it is (nothing accepted, no text) it is the answer of a page whose
    // dialogs are not shown: confirm false, prompt null.
    struct Answer {
        bool accepted = false;
        QString text;        // the prompt's line, when accepted
        bool chosen = false; // the player pressed an answer (not: the dialog was closed for them)
        bool stop = false;   // the player asked that this page show no more dialogs
    };

    Kind kind = Kind::Alert;
    QString origin; // "scheme://host:port" of the document that asks
    QString text;
    QString defaultText; // the prompt's line as the page fills it in
    // This page has opened dialog after dialog: the player may stop them.
    bool offerStop = false;
};

} // namespace platform
