// Two operator stations on one broker: an alarm acknowledged on one is acknowledged on the
// other, and the other's history records who acknowledged it.
#include "MosquittoBroker.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "TempFolder.h"
#include "panel/MqttSource.h"

#include <QTest>
#include <QWidget>

namespace merv::panel {
namespace {

// One operator station on the default form, fed from a real broker under a prefix.
struct MqttStation {
    MqttStation(const std::string& name, const std::string& address)
        : history(folder / "history.sqlite"),
          controller(defaultForm(), std::make_unique<MqttSource>(readMqttAddress(address), name),
                     &history, name, &parent) {
        controller.start();
    }
    QString state() {
        const auto& alarms = controller.alarms().alarms();
        return alarms.empty() ? QString() : AlarmSummaryModel::stateName(alarms[0].state);
    }
    test::TempFolder folder;
    AlarmHistory history;
    QWidget parent;
    PanelController controller;
};

} // namespace

class tst_SharedAcknowledgement : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void anAlarmAcknowledgedOnOneStationIsAcknowledgedOnTheOther();
};

void tst_SharedAcknowledgement::anAlarmAcknowledgedOnOneStationIsAcknowledgedOnTheOther() {
    test::MosquittoBroker broker;
    MqttStation a("A", broker.address("plant")), b("B", broker.address("plant"));
    QVERIFY(QTest::qWaitFor([&] {
        return a.controller.source().isConnected() && b.controller.source().isConnected();
    }));
    QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    test::MqttPublisher publisher(broker.port());
    publisher.publish("plant/boiler/drum/pressure", "50"); // above the high alarm at 48
    QVERIFY(QTest::qWaitFor([&] {
        return a.state() == "Active, unacknowledged" && b.state() == "Active, unacknowledged";
    }));
    a.controller.acknowledgeAll();
    QVERIFY(QTest::qWaitFor([&] { return b.state() == "Active, acknowledged"; }));
    const auto transitions = b.history.query();
    QCOMPARE(transitions.size(), std::size_t(2));
    QCOMPARE(transitions[1].transition, Transition::Acknowledged);
    QCOMPARE(transitions[1].station, std::string("A"));
    QCOMPARE(transitions[1].variable, std::string("Drum pressure"));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_SharedAcknowledgement)
#include "tst_SharedAcknowledgement.moc"
