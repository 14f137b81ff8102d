#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace platform {
class DdeSource;
}

// One client per user. The first start holds a lock in the private runtime folder and answers
// later starts on a socket beside it; a later start asks it to show itself and ends. A lock or a
// socket left by a client that crashed is taken over: only a living client keeps its place.
class SingleClient : public QObject {
    Q_OBJECT

public:
    enum class Claim {
        First,        // this is the user's client; later starts come to ShowRequested
        HandedOver,   // another client runs and was asked to show itself: end with status 0
        NotAnswering, // another client holds the lock but did not answer
    };

    static constexpr char LockFileName[] = "client.lock";
    static constexpr char Topic[] = "VantorClient";
    static constexpr char ShowCommand[] = "[Show]";

    explicit SingleClient(QObject *parent = nullptr);
    ~SingleClient() override;

    // waitMs: how long a later start waits for the running client to answer (it may be starting).
    Claim Take(int waitMs = 10000);

    // Lets the lock and the socket go, as at the end of the program.
    void Release();

signals:
    // A later start asked for the client: its window (or the login) is to be shown and raised.
    void ShowRequested();

private:
    static bool TakeDamagedLock(QLockFile &lock);
    void Listen();
    static Claim HandOver(int waitMs);

    std::unique_ptr<QLockFile> m_lock;
    platform::DdeSource *m_source = nullptr;
};
