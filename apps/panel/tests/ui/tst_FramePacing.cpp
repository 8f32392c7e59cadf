// The panel's frames and its values: a change paints at once, a stream of values from a source's
// thread paints a gauge at most once a frame with its latest value, the pace follows the screen
// unless set, and values that cross a threshold and come back between two frames still raise,
// summarise and record both transitions.
#include "FakeSource.h"
#include "FramePacer.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include "panel/AlarmHistory.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <thread>

namespace merv::panel {
namespace {

// A child that counts its paints.
class Counted : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A panel of the default form on a fake source, shown, its gauges started.
struct Panel {
    explicit Panel(AlarmHistory* history = nullptr) {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        window = std::make_unique<PanelWindow>(defaultForm(), std::filesystem::path(),
                                               std::move(owned), history, "A");
        window->show();
        window->controller().start();
        source->sendStartValues();
        QTest::qWait(50);
    }
    FakeSource* source;
    std::unique_ptr<PanelWindow> window;
};

struct PacedWindow {
    PacedWindow() : pacer(&window), child(new Counted(&window)) {
        window.resize(200, 100);
        child->setGeometry(10, 10, 50, 50);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(100); // the first frames are past
    }
    QWidget window;
    FramePacer pacer;
    Counted* child;
};

} // namespace

class tst_FramePacing : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void aChangeAfterAQuietFramePaintsAtOnce();
    void aStreamOfValuesPaintsAGaugeOncePerFrameWithTheLatest();
    void theWindowsPaceIsTheScreensUnlessSet();
    void aValueThatCrossesAndComesBackWithinAFrameRaisesAndRecordsBoth();
};

void tst_FramePacing::aChangeAfterAQuietFramePaintsAtOnce() {
    PacedWindow w;
    QTest::qWait(60); // more than a frame without a change
    const int before = w.child->paints;
    const int frames = w.pacer.framesPainted();
    w.child->update();
    // Only the posted update request, no timer: the frame is not held.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(w.child->paints, before + 1);
    QCOMPARE(w.pacer.framesPainted(), frames + 1);
    QVERIFY(w.pacer.longestGapMs() >= 50);
}

void tst_FramePacing::aStreamOfValuesPaintsAGaugeOncePerFrameWithTheLatest() {
    Panel p;
    constexpr int FrameMs = 50;
    p.window->setMaxFramesPerSecond(1000.0 / FrameMs);
    MervGaugeWidget* gauge = p.window->controller().gauge(0);
    const QString tag = QString::fromStdString(p.window->controller().formGauge(0).tag);
    PaintCounter counter(gauge);
    std::atomic<bool> done = false;
    // A value every millisecond for half a second, each one different.
    std::thread sender([&] {
        for (int i = 0; i < 500; ++i) {
            p.source->sendFromThread(qPrintable(tag), 36 + (i % 10) * 0.5);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        p.source->sendFromThread(qPrintable(tag), 38.25);
        done = true;
    });
    QElapsedTimer ran;
    ran.start();
    QTRY_VERIFY_WITH_TIMEOUT(done && gauge->Value() == 38.25f, 10000);
    sender.join();
    QTest::qWait(2 * FrameMs); // the last frame paints
    const int frames = int(ran.elapsed() / FrameMs);
    QVERIFY2(counter.paints <= frames + 2,
             qPrintable(QStringLiteral("%1 paints in %2 frames").arg(counter.paints).arg(frames)));
    QVERIFY2(counter.paints >= 3, qPrintable(QStringLiteral("%1 paints").arg(counter.paints)));
}

void tst_FramePacing::theWindowsPaceIsTheScreensUnlessSet() {
    QWidget window;
    FramePacer pacer(&window);
    const QScreen* screen = window.screen();
    const qreal rate = screen && screen->refreshRate() > 0 ? screen->refreshRate()
                                                           : FramePacer::DefaultFramesPerSecond;
    QCOMPARE(pacer.framesPerSecond(), rate);
    pacer.setMaxFramesPerSecond(30);
    QCOMPARE(pacer.framesPerSecond(), std::min(rate, 30.0));
    QCOMPARE(pacer.frameInterval().count(), std::llround(1e6 / std::min(rate, 30.0)));
}

void tst_FramePacing::aValueThatCrossesAndComesBackWithinAFrameRaisesAndRecordsBoth() {
    test::TempFolder folder;
    AlarmHistory history(folder / "history.sqlite");
    Panel p(&history);
    PanelWindow& window = *p.window;
    window.setMaxFramesPerSecond(10); // a frame of 100 ms, which both values fall within
    // Above the drum pressure's high alarm at 48 and back, from the source's thread.
    std::thread sender([&] {
        p.source->sendFromThread("boiler/drum/pressure", 50);
        p.source->sendFromThread("boiler/drum/pressure", 41);
    });
    sender.join();
    QTRY_COMPARE(window.controller().gauge(0)->Value(), 41.0f);
    QCOMPARE(window.controller().raisedCounts().at(AlarmKind::AlarmHigh), 1);
    const auto& alarms = window.controller().alarms().alarms();
    QCOMPARE(alarms.size(), std::size_t(1));
    QCOMPARE(alarms.front().state, AlarmState::ReturnedUnacknowledged);
    window.controller().finish(1000);
    std::vector<Transition> recorded;
    for (const AlarmTransition& t : history.query())
        if (t.kind == AlarmKind::AlarmHigh)
            recorded.push_back(t.transition);
    QCOMPARE(recorded, (std::vector<Transition>{Transition::Raised, Transition::Returned}));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_FramePacing)
#include "tst_FramePacing.moc"
