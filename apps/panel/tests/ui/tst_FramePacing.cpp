// The panel's frames and its values: a change paints at once, each frame is counted, and values
// that cross a threshold and come back between two frames still raise, summarise and record
// both transitions.
#include "FakeSource.h"
#include "FramePacer.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include "panel/AlarmHistory.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QPaintEvent>
#include <QTest>

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

void tst_FramePacing::aValueThatCrossesAndComesBackWithinAFrameRaisesAndRecordsBoth() {
    test::TempFolder folder;
    AlarmHistory history(folder / "history.sqlite");
    auto owned = std::make_unique<FakeSource>();
    FakeSource* source = owned.get();
    PanelWindow window(defaultForm(), {}, std::move(owned), &history, "A");
    window.show();
    window.controller().start();
    source->sendStartValues();
    QTest::qWait(50);
    // Above the drum pressure's high alarm at 48 and back, with no frame between.
    source->send("boiler/drum/pressure", 50);
    source->send("boiler/drum/pressure", 40);
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
