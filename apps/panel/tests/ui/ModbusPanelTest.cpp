#include "ModbusServer.h"
#include "PanelController.h"
#include "panel/ModbusSource.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

using merv::test::ModbusServer;
using Kind = ModbusServer::Kind;

constexpr int PollMs = 20;

// The default form's six gauges on holding registers: drum pressure in tenths of a bar, the drum
// level signed, and the flue gas oxygen on a register the server does not have.
constexpr const char* Tags[] = {"hr:0*0.1", "hr:1", "hr:2", "hr:3:int16", "hr:4", "hr:100"};
constexpr int Unreadable = 5;

Form modbusForm() {
    Form form = defaultForm();
    for (std::size_t i = 0; i < form.gauges.size(); ++i)
        form.gauges[i].tag = Tags[i];
    return form;
}

TEST(ModbusPanel, ServedValuesReachTheGaugesAndARestartedServerIsPolledAgain) {
    ModbusServer server;
    server.set(1, Kind::Holding, 0, 400); // 40.0 bar, normal
    server.set(1, Kind::Holding, 1, 105);
    server.set(1, Kind::Holding, 2, 14);
    server.set(1, Kind::Holding, 3, std::uint16_t(-10));
    server.set(1, Kind::Holding, 4, 420);
    QWidget parent;
    PanelController controller(
        modbusForm(), std::make_unique<ModbusSource>(readModbusAddress(server.address()), PollMs),
        nullptr, "A", &parent);
    controller.start();
    QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.gauge(3)->Value() == -10; }));
    for (int i = 0; i < controller.gaugeCount(); ++i)
        EXPECT_EQ(controller.qualityReason(i).isEmpty(), i != Unreadable)
            << i << ": " << controller.qualityReason(i).toStdString();

    server.set(1, Kind::Holding, 0, 500); // above the high alarm at 48 bar
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return controller.raisedCounts().contains(AlarmKind::AlarmHigh); }));
    EXPECT_FLOAT_EQ(controller.gauge(0)->Value(), 50);
    EXPECT_EQ(controller.raisedCounts().size(), 1u);

    server.stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.badQualityCount() == 6; }));
    server.set(1, Kind::Holding, 1, 110);
    server.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.gauge(1)->Value() == 110; }));
    EXPECT_EQ(controller.badQualityCount(), 1);
}

} // namespace
} // namespace merv::panel
