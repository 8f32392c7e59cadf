// What a value write costs on screen: the widget's repaint of its dirty region, against a
// plain QPainter gauge painted whole or from a cached dial, against the hand-written widget
// that repaints itself whole from a cached dial, and a panel of a hundred of each.
#include "PeerGauge.h"
#include "PeerWidget.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/dial/DialFace.h>

#include <QApplication>
#include <QBackingStore>
#include <QDeadlineTimer>
#include <QGridLayout>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// Every benchmark paints the control's 170 x 147 pixels.
constexpr QSize GaugeSize(170, 147);
// Values whose captions differ from each one to the next (precision 0) and whose needle tips
// lie far apart, so that every write changes both the text and the needle.
constexpr std::array<float, 8> Values{12.5f, 27.25f, 50.0f, 70.75f, 91.125f, 66.0f, 33.5f, 5.0f};
// The panel: a hundred gauges in a square grid.
constexpr int PanelColumns = 10;
constexpr int PanelGauges = 100;
// Long enough for the first face redraw (the redraw timer's 100 ms) on a loaded machine.
constexpr int SettleMs = 2000;

// Runs the event loop until the condition holds or time runs out; whether it holds.
template <typename Condition>
bool settle(Condition done) {
    QDeadlineTimer deadline(SettleMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

bool faceDrawn(const MervGaugeWidget& gauge) {
    return mervGaugeControl(gauge).face().bandsDrawn();
}

// Whether the window is on its screen and has painted once, so that updates reach the screen.
bool exposed(const QWidget& window) {
    const auto* image = dynamic_cast<const QImage*>(window.backingStore()->paintDevice());
    return window.windowHandle() && window.windowHandle()->isExposed() && image &&
           image->size() == window.size();
}

// Delivers the update requests the writes posted: Qt's repaint manager paints the union of the
// dirty regions into the window's backing store, exactly as it does in an application. All
// posted events, as the event loop does: a filtered delivery leaves its delivered entries in
// Qt's queue, which then grows with every iteration.
void repaintNow() {
    QCoreApplication::sendPostedEvents();
}

// The region of the paint events a widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) : m_widget(widget) { widget.installEventFilter(this); }
    ~PaintRecorder() override { m_widget.removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion region;

private:
    QWidget& m_widget;
};

// Why a widget benchmark would measure something else than a partial repaint that moves the
// needle; empty when it measures what it claims.
QString partialRepaintProblem(MervGaugeWidget& gauge) {
    if (!faceDrawn(gauge))
        return QStringLiteral("the face was never drawn");
    const merv::Line& needle = mervGaugeControl(gauge).ui().LineValore;
    for (std::size_t i = 0; i < Values.size(); ++i) {
        const QPointF before(needle.x1(), needle.y1());
        PaintRecorder recorder(gauge);
        gauge.setValue(Values[i]);
        repaintNow();
        if (QPointF(needle.x1(), needle.y1()) == before)
            return QStringLiteral("a value write left the needle in place");
        if (recorder.region.isEmpty())
            return QStringLiteral("a value write painted nothing");
        if (recorder.region.boundingRect() == gauge.rect())
            return QStringLiteral("a value write repainted the whole gauge");
    }
    return {};
}

// What the window paints into, for the report: its size and pixel format.
QString formatName(const QWidget& window) {
    // On the offscreen and xcb platforms the backing store is an image.
    const auto* image = dynamic_cast<const QImage*>(window.backingStore()->paintDevice());
    if (!image)
        return QStringLiteral("a non-image backing store");
    QString format = QString::number(int(image->format()));
    if (image->format() == QImage::Format_RGB32)
        format = QStringLiteral("RGB32");
    else if (image->format() == QImage::Format_ARGB32_Premultiplied)
        format = QStringLiteral("ARGB32_Premultiplied");
    return QStringLiteral("%1x%2 %3 backing store")
        .arg(image->width())
        .arg(image->height())
        .arg(format);
}

// A Value write on a restored gauge and the repaint it causes, as Qt paints the dirty region
// into the window's image (170 x 147; RGB32 on the offscreen platform, which the raster engine
// paints as fast as premultiplied ARGB). Qt's own path rather than QWidget::render with the
// collected region: render sets up a painter and a redirection per call, about twice the
// repaint manager's cost here, which no application pays for an update.
void BM_WidgetValueRepaint(benchmark::State& state) {
    MervGaugeWidget gauge;
    gauge.show();
    if (!settle([&] { return faceDrawn(gauge) && exposed(gauge); }) || gauge.size() != GaugeSize) {
        state.SkipWithError("the gauge did not settle at its own size");
        return;
    }
    if (const QString problem = partialRepaintProblem(gauge); !problem.isEmpty()) {
        state.SkipWithError(qPrintable(problem));
        return;
    }
    state.SetLabel(formatName(gauge).toStdString());
    std::size_t i = 0;
    for (auto _ : state) {
        gauge.setValue(Values[i]);
        repaintNow();
        i = (i + 1) % Values.size();
    }
}
BENCHMARK(BM_WidgetValueRepaint);

// The hand-written peer widget through the same path: a Value write, then the repaint it
// causes, the whole widget from its cached dial.
void BM_PeerWidgetRepaint(benchmark::State& state) {
    PeerWidget peer;
    peer.show();
    if (!settle([&] { return exposed(peer); }) || peer.size() != GaugeSize) {
        state.SkipWithError("the peer did not settle at the gauge's size");
        return;
    }
    state.SetLabel(formatName(peer).toStdString());
    std::size_t i = 0;
    for (auto _ : state) {
        peer.setValue(Values[i]);
        repaintNow();
        i = (i + 1) % Values.size();
    }
}
BENCHMARK(BM_PeerWidgetRepaint);

// Paints the peer into an image of the gauge's size once per iteration, the value cycling.
void paintPeer(benchmark::State& state, void (PeerGauge::*paint)(QPainter&, float) const) {
    const PeerGauge peer;
    QImage image(GaugeSize, QImage::Format_ARGB32_Premultiplied);
    std::size_t i = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        (peer.*paint)(painter, Values[i]);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        i = (i + 1) % Values.size();
    }
}

// The peer painted whole each frame, antialiased.
void BM_QPainterFullGauge(benchmark::State& state) {
    paintPeer(state, &PeerGauge::paintFull);
}
BENCHMARK(BM_QPainterFullGauge);

// The peer with its static dial cached: one image copy, the needle and the value text.
void BM_QPainterCachedGauge(benchmark::State& state) {
    paintPeer(state, &PeerGauge::paintCached);
}
BENCHMARK(BM_QPainterCachedGauge);

// A hundred gauges of one kind in one window, each given a new value, then one repaint of the
// window. ready says when a gauge can take values as an application's would.
template <typename Gauge, typename Ready>
void paintPanel(benchmark::State& state, Ready ready) {
    QWidget panel;
    auto* grid = new QGridLayout(&panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    std::vector<Gauge*> gauges;
    for (int k = 0; k < PanelGauges; ++k) {
        gauges.push_back(new Gauge(&panel));
        grid->addWidget(gauges.back(), k / PanelColumns, k % PanelColumns);
    }
    panel.show();
    const bool drawn = settle([&] {
        return exposed(panel) &&
               std::all_of(gauges.begin(), gauges.end(), [&](auto* g) { return ready(*g); });
    });
    if (!drawn || gauges.front()->size() != GaugeSize) {
        state.SkipWithError("the panel's gauges did not settle at their own size");
        return;
    }
    state.SetLabel(formatName(panel).toStdString());
    std::size_t i = 0;
    for (auto _ : state) {
        // Neighbours take different values, so no two gauges repaint the same way.
        for (std::size_t k = 0; k < gauges.size(); ++k)
            gauges[k]->setValue(Values[(i + k) % Values.size()]);
        repaintNow();
        i = (i + 1) % Values.size();
    }
}

// The widget: the union of the gauges' needle and label boxes.
void BM_Panel100(benchmark::State& state) {
    paintPanel<MervGaugeWidget>(state, faceDrawn);
}
BENCHMARK(BM_Panel100)->Unit(benchmark::kMillisecond);

// The peer widgets: each repaints itself whole.
void BM_PeerPanel100(benchmark::State& state) {
    paintPanel<PeerWidget>(state, [](const PeerWidget&) { return true; });
}
BENCHMARK(BM_PeerPanel100)->Unit(benchmark::kMillisecond);

} // namespace
