// What a value write costs in Qt Quick: the MervGauge item's frame against a QQuickPaintedItem
// peer that paints the cached dial, the needle and the value text each frame, both rendered by
// the software scene graph into the window's image.
#include "PeerGauge.h"

#include <mervgauge/MervGauge.h>

#include <QDeadlineTimer>
#include <QPainter>
#include <QQuickPaintedItem>
#include <QQuickWindow>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Every benchmark renders the control's 170 x 147 pixels.
constexpr QSize GaugeSize(170, 147);
// Values whose captions and needle tips differ from each one to the next, as the widget's
// benchmark writes them.
constexpr std::array<float, 8> Values{12.5f, 27.25f, 50.0f, 70.75f, 91.125f, 66.0f, 33.5f, 5.0f};
// Long enough for the first face redraw (the redraw timer's 100 ms) on a loaded machine.
constexpr int SettleMs = 2000;

template <typename Condition>
bool settle(Condition done) {
    QDeadlineTimer deadline(SettleMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

// The peer: a value property whose write repaints the whole item from the cached dial.
class PeerItem : public QQuickPaintedItem {
public:
    explicit PeerItem(QQuickItem* parent) : QQuickPaintedItem(parent) { setSize(GaugeSize); }
    void setValue(float value) {
        m_value = value;
        update();
    }
    void paint(QPainter* painter) override { m_peer.paintCached(*painter, m_value); }

private:
    PeerGauge m_peer;
    float m_value = 0;
};

// One frame of the window as the software scene graph renders it: polish, synchronise (the
// painted items paint what is dirty into their textures) and render into an image.
void renderFrame(QQuickWindow& window) {
    benchmark::DoNotOptimize(window.grabWindow().constBits());
}

// Runs the writes and frames in a shown window of the gauge's size.
template <typename Item, typename Ready, typename Write>
void writeAndRender(benchmark::State& state, Ready ready, Write write) {
    QQuickWindow window;
    window.resize(GaugeSize);
    Item* item = new Item(window.contentItem());
    window.show();
    if (!settle([&] { return window.isExposed() && ready(*item); })) {
        state.SkipWithError("the window did not settle");
        return;
    }
    renderFrame(window);
    std::size_t i = 0;
    for (auto _ : state) {
        write(*item, Values[i]);
        renderFrame(window);
        i = (i + 1) % Values.size();
    }
}

// A Value write on a started MervGauge and the frame it causes.
void BM_QuickValueRepaint(benchmark::State& state) {
    writeAndRender<MervGauge>(
        state, [](MervGauge& gauge) { return gauge.started() && gauge.isFaceDrawn(); },
        [](MervGauge& gauge, float value) { gauge.setValue(value); });
}
BENCHMARK(BM_QuickValueRepaint);

// The peer's value write and the frame it causes.
void BM_QuickPeerRepaint(benchmark::State& state) {
    writeAndRender<PeerItem>(
        state, [](PeerItem&) { return true; },
        [](PeerItem& peer, float value) { peer.setValue(value); });
}
BENCHMARK(BM_QuickPeerRepaint);

// What no item's write can go below, in two parts: the frame of an unchanged window (the
// scene graph renders it whole into the image) ...
void BM_QuickFrameAlone(benchmark::State& state) {
    writeAndRender<PeerItem>(
        state, [](PeerItem&) { return true; }, [](PeerItem&, float) {});
}
BENCHMARK(BM_QuickFrameAlone);

// ... and the gauge's Value write with the notices it sends, no frame rendered: the value
// update, the change signals and the repaint asked for.
void BM_QuickValueWriteAlone(benchmark::State& state) {
    QQuickWindow window;
    window.resize(GaugeSize);
    auto* gauge = new MervGauge(window.contentItem());
    window.show();
    if (!settle([&] { return window.isExposed() && gauge->started() && gauge->isFaceDrawn(); })) {
        state.SkipWithError("the window did not settle");
        return;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        gauge->setValue(Values[i]);
        i = (i + 1) % Values.size();
    }
}
BENCHMARK(BM_QuickValueWriteAlone);

// Gauges made in code in one window, as a dashboard fills, until every one has started.
void BM_QuickGaugesStart(benchmark::State& state) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        QQuickWindow window;
        std::vector<MervGauge*> gauges;
        for (int i = 0; i < count; ++i)
            gauges.push_back(new MervGauge(window.contentItem()));
        if (!settle([&] {
                return std::all_of(gauges.begin(), gauges.end(),
                                   [](const MervGauge* gauge) { return gauge->started(); });
            })) {
            state.SkipWithError("the gauges did not start");
            return;
        }
    }
}
BENCHMARK(BM_QuickGaugesStart)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
