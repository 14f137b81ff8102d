#pragma once

#include "platform/winsys/WindowProc.h"

#include <QList>
#include <QMetaType>
#include <QStringList>

#include <memory>
#include <optional>

// One message as a procedure received it.
struct Seen {
    platform::UINT uMsg;
    platform::WPARAM wParam;
    platform::LPARAM lParam;
    bool operator==(const Seen &other) const = default;
};
Q_DECLARE_METATYPE(Seen)

// Installs a procedure on top of the window's chain that records every message and calls on
// down the chain. It returns what the chain below returns, or a fixed answer when given one;
// with an order list it also appends its name there on every message. Its record outlives the
// test's own variables, since the window's last message (WM_NCDESTROY) may come after they are
// gone.
class MessageRecorder {
public:
    explicit MessageRecorder(platform::HWND hWnd, std::optional<platform::LRESULT> answer = {},
                             std::shared_ptr<QStringList> order = nullptr, QString name = {});

    const QList<Seen> &seen() const { return m_record->seen; }
    QList<platform::UINT> messages() const;
    bool saw(platform::UINT uMsg) const { return messages().contains(uMsg); }
    // The procedure it replaced.
    const platform::WNDPROC &previous() const { return m_record->previous; }

private:
    struct Record {
        platform::WNDPROC previous;
        QList<Seen> seen;
    };
    std::shared_ptr<Record> m_record;
};
