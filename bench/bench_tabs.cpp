// Time of one composition of the tab band (DrawTabs): 30 tabs in style 1 on a strip 1600 pixels
// wide, one hot with the pointer on its close mark, one selected.
//   bench_tabs [compositions]     (default 2000)
#include "platform/os/Resources.h"
#include "platform/winsys/MemDC.h"
#include "tabstrip/TabDrawing.h"
#include "tabstrip/TabLayout.h"
#include "tabstrip/TabMetrics.h"
#include "tabstrip/mdlTabAPI.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace TabDrawing;

namespace {

const int StripWidth = 1600;
const int TabCount = 30;

Scene makeScene()
{
    Scene scene;
    scene.Strip = {1, StripWidth, 10, 0}; // the main window's strip
    const QStringList captions{"Vantor 客户端", "游戏大厅", "http://127.0.0.1:47811/home/",
                               "第三章：远征", "Guild"};
    scene.Tabs.resize(TabCount);
    for (int i = 0; i < TabCount; ++i) {
        scene.Tabs[i].Caption = captions[i % captions.size()];
    }
    TabLayout::LayoutTabs(1, TabLayout::CalcTabWidth(scene.Strip, scene.Tabs), scene.Tabs);
    TabLayout::PlaceTabs(1, scene.Tabs);
    scene.Hot = 3;
    scene.CloseState = TabDrawing::CloseMarkHot;
    scene.Selected = 5;
    return scene;
}

struct Figures {
    double median, p90, mean;
};

template <typename Work> Figures timeEach(int count, Work work)
{
    std::vector<qint64> times(size_t(count), 0);
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        work();
        times[size_t(i)] = timer.nsecsElapsed();
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (qint64 t : times) {
        sum += double(t);
    }
    return {double(times[times.size() / 2]) / 1000.0, double(times[times.size() * 9 / 10]) / 1000.0,
            sum / count / 1000.0};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    const Scene scene = makeScene();
    std::unique_ptr<MemDC> skin =
        mdlTabAPI::CreateMemDCFromBitmap(platform::LoadBitmapResource(107));
    Art art{skin.get(), QApplication::font(), QApplication::font()};
    art.Font.setWeight(QFont::Weight(100));
    art.FontBold.setWeight(QFont::Bold);
    const int height = TabMetrics::ForStyle(1).StripHeight;
    std::unique_ptr<MemDC> back = mdlTabAPI::CreateMemBitmapDC(StripWidth, height);
    std::unique_ptr<MemDC> frame = mdlTabAPI::CreateMemBitmapDC(StripWidth, height);
    std::unique_ptr<MemDC> tabs = mdlTabAPI::CreateMemBitmapDC(StripWidth - 10, height);
    DrawDefaultBackground(scene.Strip, art, back.get());

    const auto drawTabs = [&] { DrawTabs(scene, art, tabs.get(), back.get(), frame.get()); };
    const auto drawStrip = [&] {
        DrawDefaultBackground(scene.Strip, art, back.get());
        drawTabs();
    };
    timeEach(std::max(1, count / 10), drawTabs); // warm up glyph caches
    const Figures tabsFigures = timeEach(count, drawTabs);
    const Figures stripFigures = timeEach(count, drawStrip);

    std::printf("tabs %d, style 1, strip %d px, tab width %d px, %d compositions\n", TabCount,
                StripWidth, scene.Tabs[0].Width, count);
    std::printf("DrawTabs   median %7.1f us   p90 %7.1f us   mean %7.1f us\n", tabsFigures.median,
                tabsFigures.p90, tabsFigures.mean);
    std::printf("DrawStrip  median %7.1f us   p90 %7.1f us   mean %7.1f us\n", stripFigures.median,
                stripFigures.p90, stripFigures.mean);
    return 0;
}
