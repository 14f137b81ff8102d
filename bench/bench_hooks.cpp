// Cost per message of a hooked window against the same window unhooked.
//   bench_hooks [messages]     (default 1,000,000)
#include "hooks/CSubclass.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>

using namespace platform;

namespace {

const UINT Quiet = 0x0400;     // in neither table
const UINT Delivered = 0x0401; // delivered before and after

double nanosPerMessage(HWND hWnd, UINT uMsg, int count)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        SendMessage(hWnd, uMsg, WPARAM(i), 0);
    }
    return double(timer.nsecsElapsed()) / count;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 1000000;
    QWidget window;
    const HWND hWnd = HandleOf(&window);

    nanosPerMessage(hWnd, Quiet, count / 10); // warm up
    const double unhooked = nanosPerMessage(hWnd, Quiet, count);

    CSubclass hook;
    int deliveries = 0;
    QObject::connect(&hook, &CSubclass::WindowProc,
                     [&deliveries](bool, bool &, LRESULT &, HWND, UINT, WPARAM, LPARAM, LPARAM &) {
                         ++deliveries;
                     });
    hook.ssc_Subclass(hWnd);
    // A realistic table: a handful of messages, the quiet one not among them.
    for (UINT m : {wm::Size, wm::Paint, wm::EraseBkgnd, wm::MouseMove, wm::MouseLeave}) {
        hook.ssc_AddMsg(hWnd, qint32(m), CSubclass::MSG_BEFORE_AND_AFTER);
    }
    hook.ssc_AddMsg(hWnd, Delivered, CSubclass::MSG_BEFORE_AND_AFTER);
    const double quiet = nanosPerMessage(hWnd, Quiet, count);
    const double delivered = nanosPerMessage(hWnd, Delivered, count);

    std::printf("messages per case      %d\n", count);
    std::printf("unhooked               %.1f ns/message\n", unhooked);
    std::printf("hooked, not in tables  %.1f ns/message (+%.1f ns)\n", quiet, quiet - unhooked);
    std::printf("hooked, before+after   %.1f ns/message (+%.1f ns, %d deliveries)\n", delivered,
                delivered - unhooked, deliveries);
    return 0;
}
