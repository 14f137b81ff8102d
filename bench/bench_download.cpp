// Throughput and memory of the downloader against curl, on loopback, for one large body.
//   bench_download [bytes] [rounds]     (default 1 GiB, 3 rounds)
// The two clients take turns and the medians are compared, because disk write-back from one
// round easily slows the next by more than the difference being measured.
#include "DemoServer.h"
#include "Percentile.h"
#include "net/KubDownLoadFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

double secondsFor(const std::function<bool()> &work, bool &ok)
{
    QElapsedTimer timer;
    timer.start();
    ok = work();
    return timer.nsecsElapsed() / 1e9;
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const qint64 bytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : (qint64(1) << 30);
    DemoServer server;
    if (!server.start()) {
        std::fprintf(stderr, "cannot start the demo server\n");
        return 1;
    }
    const QString url = server.baseUrl() + "/fault/big?bytes=" + QString::number(bytes);
    QTemporaryDir scratch;
    const QString curlTarget = scratch.filePath("curl.bin");
    const QString ourTarget = scratch.filePath("ours.bin");

    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const long rssBefore = peakResidentKiB();
    KubDownLoadFile downloader;
    std::vector<double> curlTimes, curlSyncTimes, ourTimes, ourTransferTimes;
    QElapsedTimer sinceStart;
    double lastChunkAt = 0;
    QObject::connect(&downloader, &KubDownLoadFile::Loading,
                     [&] { lastChunkAt = sinceStart.nsecsElapsed() / 1e9; });
    bool curlOk = true, ourOk = true;
    qint64 written = 0;
    for (int round = 0; round < rounds; ++round) {
        bool ok = false;
        curlTimes.push_back(secondsFor(
            [&] {
                return QProcess::execute("curl", {"-sS", "-o", curlTarget, url}) == 0;
            },
            ok));
        curlOk = curlOk && ok;
        QFile::remove(curlTarget);
        // The same guarantee as ours: the file on disk before anyone relies on it.
        curlSyncTimes.push_back(secondsFor(
            [&] {
                return QProcess::execute("curl", {"-sS", "-o", curlTarget, url}) == 0 &&
                       QProcess::execute("sync", {curlTarget}) == 0;
            },
            ok));
        curlOk = curlOk && ok;
        QFile::remove(curlTarget);
        sinceStart.start();
        ourTimes.push_back(
            secondsFor([&] { return downloader.DownLoadFile(url, ourTarget, false, true); }, ok));
        ourTransferTimes.push_back(lastChunkAt);
        ourOk = ourOk && ok;
        written = QFile(ourTarget).size();
        QFile::remove(ourTarget);
    }
    const double curlSeconds = median(curlTimes);
    const double curlSyncSeconds = median(curlSyncTimes);
    const double ourSeconds = median(ourTimes);
    const double ourTransferSeconds = median(ourTransferTimes);

    const double mib = bytes / 1048576.0;
    std::printf("body            %.0f MiB, median of %d rounds each\n", mib, rounds);
    std::printf("curl -o         %.2f s  %.0f MiB/s  %s\n", curlSeconds, mib / curlSeconds,
                curlOk ? "ok" : "FAILED");
    std::printf("curl -o + sync  %.2f s  %.0f MiB/s\n", curlSyncSeconds, mib / curlSyncSeconds);
    std::printf("KubDownLoadFile %.2f s  %.0f MiB/s  %s (%lld bytes written)\n", ourSeconds,
                mib / ourSeconds, ourOk ? "ok" : "FAILED", static_cast<long long>(written));
    std::printf(
        "  of which body %.2f s  %.0f MiB/s (the rest is the durable commit: fsync, rename)\n",
        ourTransferSeconds, mib / ourTransferSeconds);
    std::printf("ratio           %.2f of curl's throughput, %.2f for the body alone, %.2f of "
                "curl + sync\n",
                curlSeconds / ourSeconds, curlSeconds / ourTransferSeconds,
                curlSyncSeconds / ourSeconds);
    std::printf("peak RSS        %.1f MiB (%.1f MiB before the download)\n",
                peakResidentKiB() / 1024.0, rssBefore / 1024.0);
    return ourOk && written == bytes ? 0 : 1;
}
