#include "MosquittoBroker.h"
#include "PanelController.h"
#include "TempFolder.h"
#include "panel/MqttSource.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

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
    std::string state() {
        const auto& alarms = controller.alarms().alarms();
        return alarms.empty() ? "" : AlarmSummaryModel::stateName(alarms[0].state).toStdString();
    }
    test::TempFolder folder;
    AlarmHistory history;
    QWidget parent;
    PanelController controller;
};

TEST(SharedAcknowledgement, AnAlarmAcknowledgedOnOneStationIsAcknowledgedOnTheOther) {
    test::MosquittoBroker broker;
    MqttStation a("A", broker.address("plant")), b("B", broker.address("plant"));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return a.controller.source().isConnected() && b.controller.source().isConnected();
    }));
    QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    test::MqttPublisher publisher(broker.port());
    publisher.publish("plant/boiler/drum/pressure", "50"); // above the high alarm at 48
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return a.state() == "Active, unacknowledged" && b.state() == "Active, unacknowledged";
    }));
    a.controller.acknowledgeAll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.state() == "Active, acknowledged"; }));
    const auto transitions = b.history.query();
    ASSERT_EQ(transitions.size(), 2u);
    EXPECT_EQ(transitions[1].transition, Transition::Acknowledged);
    EXPECT_EQ(transitions[1].station, "A");
    EXPECT_EQ(transitions[1].variable, "Drum pressure");
}

} // namespace
} // namespace merv::panel
