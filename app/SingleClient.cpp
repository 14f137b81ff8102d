#include "SingleClient.h"

#include "platform/os/DdeLink.h"
#include "platform/os/TempFolder.h"

#include <QDeadlineTimer>
#include <QThread>

SingleClient::SingleClient(QObject *parent) : QObject(parent) {}

SingleClient::~SingleClient()
{
    Release();
}

SingleClient::Claim SingleClient::Take(int waitMs)
{
    const QString folder = platform::PrivateTempFolder();
    if (folder.isEmpty()) {
        return Claim::First; // nowhere private to meet another start; run alone
    }
    m_lock = std::make_unique<QLockFile>(folder + LockFileName);
    // Stale only when its owner is gone, however long a client has been running.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0) || TakeDamagedLock(*m_lock)) {
        Listen();
        return Claim::First;
    }
    const bool held = m_lock->error() == QLockFile::LockFailedError;
    m_lock.reset();
    return held ? HandOver(waitMs) : Claim::First;
}

// QLockFile never sees a lock that names no owner (empty or garbled by a crash) as stale.
bool SingleClient::TakeDamagedLock(QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.error() != QLockFile::LockFailedError || lock.getLockInfo(&pid, &host, &application)) {
        return false;
    }
    lock.removeStaleLockFile();
    return lock.tryLock(0);
}

void SingleClient::Listen()
{
    m_source = new platform::DdeSource(this);
    connect(
        m_source, &platform::DdeSource::LinkExecute, this,
        [this](const QString &command, bool &Cancel) {
            Cancel = command != QLatin1String(ShowCommand);
            if (!Cancel) {
                emit ShowRequested();
            }
        },
        Qt::DirectConnection);
    m_source->Listen(Topic);
}

// The running client may hold the lock a moment before it listens; it is asked until it answers.
SingleClient::Claim SingleClient::HandOver(int waitMs)
{
    const QString server = platform::LinkServerName(Topic);
    const QDeadlineTimer deadline(waitMs);
    do {
        const platform::LinkAnswer answer = platform::DdeExecute(
            server, ShowCommand, int(qMax<qint64>(deadline.remainingTime(), 1)));
        if (answer == platform::LinkAnswer::Accepted) {
            return Claim::HandedOver;
        }
        if (answer != platform::LinkAnswer::NoSource) {
            return Claim::NotAnswering;
        }
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return Claim::NotAnswering;
}

void SingleClient::Release()
{
    if (m_source) {
        m_source->Close();
    }
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}
