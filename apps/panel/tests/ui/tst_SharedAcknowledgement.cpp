// Operator stations on one broker: an alarm acknowledged on one is acknowledged on the other,
// and the other's history records who acknowledged it; what happens while a station's link is
// down (an alarm and its return, an acknowledgement) reaches it when the link is back.
#include "MosquittoBroker.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "TcpProxy.h"
#include "TempFolder.h"
#include "panel/MqttPayload.h"
#include "panel/MqttSource.h"

#include <QDateTime>
#include <QTest>
#include <QWidget>
#include <unistd.h>

namespace merv::panel {
namespace {

// One operator station, on the default form unless given another, fed from a real broker under
// a prefix; its history holds the earlier transitions given.
struct MqttStation {
    MqttStation(const std::string& name, const std::string& address, Form form = defaultForm(),
                const std::vector<AlarmTransition>& earlier = {})
        : history(folder / "history.sqlite"),
          controller(std::move(form), std::make_unique<MqttSource>(readMqttAddress(address), name),
                     &recorded(history, earlier), name, &parent) {
        controller.start();
    }
    static AlarmHistory& recorded(AlarmHistory& history, const std::vector<AlarmTransition>& rows) {
        history.recordAll(rows);
        return history;
    }
    // The text of the station alarm that another panel runs under this one's name, or empty.
    QString nameClash() {
        return QString::fromStdString(
            controller.alarms().stationAlarmText(PanelController::StationNameAlarmId));
    }
    // The state of that station alarm, or empty while there is none.
    QString nameClashState() {
        for (const auto& alarm : controller.alarms().alarms())
            if (alarm.station && alarm.variable == PanelController::StationNameAlarmId)
                return AlarmSummaryModel::stateName(alarm.state);
        return {};
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
    void aStationThatStartsAfterAnAcknowledgementTakesItFromTheBroker();
    void twoPanelsUnderOneNameBothReportItUntilOneHasLeft();
    void twoPanelsUnderOneNameAndFormTakingTurnsOnTheSessionAreReported();
    void aForgedReplayedMalformedOrOversizedAcknowledgementChangesNothingAndIsCounted();
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

// The default form with one more gauge: another set of topics, so another session.
Form largerForm() {
    Form form = defaultForm();
    FormGauge extra = form.gauges.front();
    extra.tag = "boiler/spare";
    extra.row = 9;
    form.gauges.push_back(extra);
    return form;
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
    a.controller.alarms().setOperatorName("alice");
    a.controller.acknowledgeAll();
    QVERIFY(QTest::qWaitFor([&] { return b.state() == "Active, acknowledged"; }));
    // Both histories say who acknowledged, at which station.
    for (AlarmHistory* history : {&a.history, &b.history}) {
        waitForHistory(history == &a.history ? a.controller : b.controller);
        const auto transitions = history->query();
        QCOMPARE(transitions.size(), std::size_t(2));
        QCOMPARE(transitions[1].transition, Transition::Acknowledged);
        QCOMPARE(transitions[1].station, std::string("A"));
        QCOMPARE(transitions[1].operatorName, std::string("alice"));
        QCOMPARE(transitions[1].variable, std::string("Drum pressure"));
    }
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
    waitForHistory(a.controller);
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
    waitForHistory(b.controller);
    QCOMPARE(b.history.query().back().station, std::string("A"));
}

// A station whose session the broker does not hold (first start, another form, a broker that lost
// it) still learns of the acknowledgement another operator gave while it was away: the broker
// keeps the latest of each alarm.
void tst_SharedAcknowledgement::aStationThatStartsAfterAnAcknowledgementTakesItFromTheBroker() {
    test::MosquittoBroker broker;
    const qint64 raisedAt = QDateTime::currentMSecsSinceEpoch() - 60000;
    {
        MqttStation a("A", broker.address("plant"));
        QVERIFY(QTest::qWaitFor([&] { return a.controller.source().isConnected(); }, 30000));
        QTest::qWait(50);
        test::MqttPublisher publisher(broker.port());
        publisher.publish("plant/boiler/drum/pressure", "50");
        QTRY_COMPARE_WITH_TIMEOUT(a.state(), QStringLiteral("Active, unacknowledged"), 30000);
        a.controller.acknowledgeAll();
        QTest::qWait(200); // the acknowledgement reaches the broker before A goes
    }
    // B ran before, raised the alarm a minute ago and stopped; it comes back on another form.
    const AlarmTransition raised{
        raisedAt,           "B", "Drum pressure",       AlarmKind::AlarmHigh,
        Transition::Raised, 50,  "boiler/drum/pressure"};
    MqttStation b("B", broker.address("plant"), largerForm(), {raised});
    QCOMPARE(b.controller.alarms().alarms().size(), std::size_t(1));
    QVERIFY(b.controller.alarms().alarms()[0].carriedOver);
    QTRY_COMPARE_WITH_TIMEOUT(b.state(), QStringLiteral("Active, acknowledged"), 30000);
    waitForHistory(b.controller);
    const auto transitions = b.history.query();
    QCOMPARE(transitions.back().transition, Transition::Acknowledged);
    QCOMPARE(transitions.back().station, std::string("A"));
    QCOMPARE(transitions.back().tag, std::string("boiler/drum/pressure"));
}

void tst_SharedAcknowledgement::twoPanelsUnderOneNameBothReportItUntilOneHasLeft() {
    test::MosquittoBroker broker;
    MqttStation first("A", broker.address("plant"));
    QVERIFY(QTest::qWaitFor([&] { return first.controller.source().isConnected(); }, 30000));
    QTest::qWait(100);
    QCOMPARE(first.nameClash(), QString());
    {
        MqttStation second("A", broker.address("plant"), largerForm());
        QTRY_VERIFY_WITH_TIMEOUT(!first.nameClash().isEmpty() && !second.nameClash().isEmpty(),
                                 30000);
        QVERIFY2(first.nameClash().contains(QStringLiteral("station's name A")),
                 qPrintable(first.nameClash()));
        QVERIFY2(first.nameClash().contains(QString::number(::getpid())),
                 qPrintable(first.nameClash()));
    }
    // Gone, the clash has returned; it stays in the summary until acknowledged, as alarms do.
    QTRY_COMPARE_WITH_TIMEOUT(first.nameClashState(), QStringLiteral("Returned, unacknowledged"),
                              30000);
}

// Two panels of one name on one form share a session, which the broker gives to whichever
// connected last, without a will for the link it ends: each finds the other's presence when it
// takes the session back, newer than its own.
void tst_SharedAcknowledgement::twoPanelsUnderOneNameAndFormTakingTurnsOnTheSessionAreReported() {
    test::MosquittoBroker broker;
    MqttStation first("A", broker.address("plant"));
    QVERIFY(QTest::qWaitFor([&] { return first.controller.source().isConnected(); }, 30000));
    MqttStation second("A", broker.address("plant"));
    QTRY_VERIFY_WITH_TIMEOUT(!first.nameClash().isEmpty() && !second.nameClash().isEmpty(), 30000);
}

// Any client that can publish on the acknowledgement topic can try; what does not match an alarm
// raised here before it was given, or comes again, changes nothing and leaves no row.
void tst_SharedAcknowledgement::
    aForgedReplayedMalformedOrOversizedAcknowledgementChangesNothingAndIsCounted() {
    test::MosquittoBroker broker;
    MqttStation b("B", broker.address("plant"));
    QStringList logged;
    connect(&b.controller, &PanelController::logged, this,
            [&logged](const QString& line) { logged << line; });
    QVERIFY(QTest::qWaitFor([&] { return b.controller.source().isConnected(); }, 30000));
    QTest::qWait(50);
    test::MqttPublisher publisher(broker.port());
    publisher.publish("plant/boiler/drum/pressure", "50");
    QTRY_COMPARE_WITH_TIMEOUT(b.state(), QStringLiteral("Active, unacknowledged"), 30000);

    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto ack = [](const std::string& station, const std::string& tag, qint64 timeMs,
                        const std::string& instance = {}, std::uint64_t seq = 0) {
        return writeAcknowledgement({{timeMs, station, "Drum pressure", AlarmKind::AlarmHigh,
                                      Transition::Acknowledged, 0, tag, "mallory"},
                                     0,
                                     instance,
                                     seq});
    };
    // Given now, before the return to come: the history keeps its rows in time order.
    const std::string valid = ack("Z", "boiler/drum/pressure", now, "feed", 1);
    for (const std::string& payload :
         {std::string("not json"), std::string(70 * 1024, 'x'),
          std::string(30000, '[') + std::string(30000, ']'),
          ack("Z", "boiler/no/such/gauge", now + 100),
          // Dated 1970: before the alarm was raised.
          ack("Z", "boiler/drum/pressure", 0), ack("Z", "boiler/drum/pressure", now + 3600 * 1000)})
        publisher.publish("plant/mervgauge/ack", payload);
    QVERIFY(publisher.waitUntilTaken());
    const AcknowledgementLedger& refused = b.controller.refusedAcknowledgements();
    QTRY_COMPARE_WITH_TIMEOUT(refused.total(), std::uint64_t(6), 30000);
    QCOMPARE(refused.countOf(AcknowledgementRefusal::Malformed), std::uint64_t(2));
    QCOMPARE(refused.countOf(AcknowledgementRefusal::Oversized), std::uint64_t(1));
    QCOMPARE(refused.countOf(AcknowledgementRefusal::UnknownAlarm), std::uint64_t(2));
    QCOMPARE(refused.countOf(AcknowledgementRefusal::FromTheFuture), std::uint64_t(1));
    QCOMPARE(b.state(), QStringLiteral("Active, unacknowledged"));
    // Told once for each reason, counted after.
    QCOMPARE(logged.filter(QStringLiteral("Refused an acknowledgement (malformed)")).size(), 1);
    QCOMPARE(logged.filter(QStringLiteral("Refused an acknowledgement")).size(), 4);

    // A well-formed one for the alarm is taken, with its sender; sent again once the alarm has
    // come back, it is a replay and changes nothing.
    publisher.publish("plant/mervgauge/ack", valid);
    QTRY_COMPARE_WITH_TIMEOUT(b.state(), QStringLiteral("Active, acknowledged"), 30000);
    publisher.publish("plant/boiler/drum/pressure", "40");
    publisher.publish("plant/boiler/drum/pressure", "50");
    QTRY_COMPARE_WITH_TIMEOUT(b.state(), QStringLiteral("Active, unacknowledged"), 30000);
    publisher.publish("plant/mervgauge/ack", valid);
    QTRY_COMPARE_WITH_TIMEOUT(refused.countOf(AcknowledgementRefusal::Duplicate), std::uint64_t(1),
                              30000);
    QCOMPARE(b.state(), QStringLiteral("Active, unacknowledged"));

    std::vector<std::string> rows;
    waitForHistory(b.controller);
    for (const AlarmTransition& t : b.history.query())
        rows.push_back(std::string(nameOf(t.transition)) + " " + t.station + " " + t.operatorName);
    QCOMPARE(rows, (std::vector<std::string>{"raised B ", "acknowledged Z mallory", "returned B ",
                                             "raised B "}));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_SharedAcknowledgement)
#include "tst_SharedAcknowledgement.moc"
