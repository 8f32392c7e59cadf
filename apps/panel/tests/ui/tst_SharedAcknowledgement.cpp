// Operator stations on one broker: an alarm acknowledged on one is acknowledged on the other,
// and the other's history records who acknowledged it; what happens while a station's link is
// down (an alarm and its return, an acknowledgement) reaches it when the link is back.
#include "MosquittoBroker.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "TcpProxy.h"
#include "TempFolder.h"
#include "panel/MqttSource.h"

#include <QDateTime>
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
    void anAlarmRaisedAndReturnedWhileTheLinkIsDownIsRecordedOnReconnection();
    void anAcknowledgementMissedWhileTheLinkIsDownConverges();
};

namespace {

bool bothConnected(MqttStation& a, MqttStation& b) {
    return QTest::qWaitFor(
        [&] { return a.controller.source().isConnected() && b.controller.source().isConnected(); },
        30000);
}

std::string throughProxy(const test::TcpProxy& link) {
    return "mqtt://127.0.0.1:" + std::to_string(link.port()) + "/plant";
}

} // namespace

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

void tst_SharedAcknowledgement::
    anAlarmRaisedAndReturnedWhileTheLinkIsDownIsRecordedOnReconnection() {
    test::MosquittoBroker broker;
    test::TcpProxy link(broker.port());
    MqttStation a("A", throughProxy(link));
    QVERIFY(QTest::qWaitFor([&] { return a.controller.source().isConnected(); }, 30000));
    QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    test::MqttPublisher publisher(broker.port());
    publisher.publish("plant/boiler/drum/pressure", "40");

    link.cut();
    QVERIFY(QTest::qWaitFor([&] { return !a.controller.source().isConnected(); }, 30000));
    const qint64 raisedAt = QDateTime::currentMSecsSinceEpoch(), returnedAt = raisedAt + 1000;
    publisher.publish("plant/boiler/drum/pressure",
                      R"({"value": 50, "ts": )" + std::to_string(raisedAt) + "}");
    publisher.publish("plant/boiler/drum/pressure",
                      R"({"value": 40, "ts": )" + std::to_string(returnedAt) + "}");
    link.restore();
    QTRY_COMPARE_WITH_TIMEOUT(a.state(), QStringLiteral("Returned, unacknowledged"), 30000);
    const auto transitions = a.history.query();
    QCOMPARE(transitions.size(), std::size_t(2));
    QCOMPARE(transitions[0].transition, Transition::Raised);
    QCOMPARE(transitions[0].kind, AlarmKind::AlarmHigh);
    QCOMPARE(transitions[0].value, 50.0);
    QCOMPARE(transitions[1].transition, Transition::Returned);
    QCOMPARE(transitions[1].value, 40.0);
    QVERIFY(transitions[0].timeMs <= transitions[1].timeMs);
}

void tst_SharedAcknowledgement::anAcknowledgementMissedWhileTheLinkIsDownConverges() {
    test::MosquittoBroker broker;
    test::TcpProxy linkOfB(broker.port());
    MqttStation a("A", broker.address("plant")), b("B", throughProxy(linkOfB));
    QVERIFY(bothConnected(a, b));
    QTest::qWait(50);
    test::MqttPublisher publisher(broker.port());
    publisher.publish("plant/boiler/drum/pressure", "50");
    QVERIFY(QTest::qWaitFor(
        [&] {
            return a.state() == "Active, unacknowledged" && b.state() == "Active, unacknowledged";
        },
        30000));

    linkOfB.cut();
    QVERIFY(QTest::qWaitFor([&] { return !b.controller.source().isConnected(); }, 30000));
    a.controller.acknowledgeAll();
    QCOMPARE(a.state(), QStringLiteral("Active, acknowledged"));
    linkOfB.restore();
    QTRY_COMPARE_WITH_TIMEOUT(b.state(), QStringLiteral("Active, acknowledged"), 30000);
    QCOMPARE(b.controller.alarms().unacknowledgedCount(), 0);
    QCOMPARE(b.history.query().back().station, std::string("A"));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_SharedAcknowledgement)
#include "tst_SharedAcknowledgement.moc"
