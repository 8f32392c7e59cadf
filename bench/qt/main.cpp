// mervgauge-qt-bench: the widget's repaint against plain QPainter gauges, in one process so
// that their ratios hold whatever the machine's load.
#include "common/QtPlatformChoice.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    merv::tools::choosePlatformBeforeQt();
    // The Qt Quick benchmarks render with the software scene graph, which needs no GPU.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    // The benchmark's own flags first, so that Qt sees only what is left.
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
