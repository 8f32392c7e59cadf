// The panel on a real Modbus server: served values reach the gauges, a register the server
// lacks leaves its gauge of bad quality, and a restarted server is polled again.
#include "ModbusServer.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "panel/ModbusSource.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QTest>
#include <QWidget>

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

} // namespace

class tst_ModbusPanel : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void servedValuesReachTheGaugesAndARestartedServerIsPolledAgain();
};

void tst_ModbusPanel::servedValuesReachTheGaugesAndARestartedServerIsPolledAgain() {
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
    QVERIFY(QTest::qWaitFor([&] { return controller.gauge(3)->Value() == -10; }));
    for (int i = 0; i < controller.gaugeCount(); ++i)
        QVERIFY2(controller.qualityReason(i).isEmpty() == (i != Unreadable),
                 qPrintable(QStringLiteral("%1: %2").arg(i).arg(controller.qualityReason(i))));

    server.set(1, Kind::Holding, 0, 500); // above the high alarm at 48 bar
    QVERIFY(
        QTest::qWaitFor([&] { return controller.raisedCounts().contains(AlarmKind::AlarmHigh); }));
    QCOMPARE(float(controller.gauge(0)->Value()), 50.0f);
    QCOMPARE(controller.raisedCounts().size(), std::size_t(1));

    server.stop();
    QVERIFY(QTest::qWaitFor([&] { return controller.badQualityCount() == 6; }));
    server.set(1, Kind::Holding, 1, 110);
    server.start();
    QVERIFY(QTest::qWaitFor([&] { return controller.gauge(1)->Value() == 110; }));
    QCOMPARE(controller.badQualityCount(), 1);
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_ModbusPanel)
#include "tst_ModbusPanel.moc"
