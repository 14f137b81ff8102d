#pragma once

#include "mainwnd/PageDialog.h"

#include <QList>

#include <functional>

// Answers every page dialog as the script says and notes what it was asked, for as long as it
// lives; nothing waits for a person.
struct ScriptedPageDialogs {
    using Request = PageDialog::Request;
    using Answer = PageDialog::Answer;

    explicit ScriptedPageDialogs(std::function<Answer(const Request &)> script)
        : replacement(PageDialog::Provider(),
                      [this, script](platform::WebBrowser *, const Request &request) {
                          asked.append(request);
                          return script(request);
                      })
    {
    }

    QList<Request> asked;
    platform::ScopedReplacement<PageDialog::Service> replacement;
};
