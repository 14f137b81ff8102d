#pragma once

#include <QObject>

class QSocketNotifier;

// The signals that ask a program to end (SIGTERM, SIGHUP when the session closes, SIGINT),
// delivered in the event loop instead of ending the process where it stands: the program then
// ends the way it would by itself, its files written. Only one instance watches at a time; later
// signals while an end is under way change nothing.
namespace platform {

class EndSignals : public QObject {
    Q_OBJECT

public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

    bool IsWatching() const { return m_notifier != nullptr; }

signals:
    void EndRequested(int signalNumber);

private:
    void Deliver();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
