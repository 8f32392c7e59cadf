// The sample forms under examples/forms/ on a real broker and a real Modbus server: their tags
// name what the documentation says they name.
#include "ModbusServer.h"
#include "MosquittoBroker.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "panel/ModbusSource.h"
#include "panel/MqttSource.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QTest>
#include <QWidget>

#include <filesystem>

namespace merv::panel {
namespace {

using merv::test::ModbusServer;
using Kind = ModbusServer::Kind;

Form sampleForm(const char* name) {
    return loadForm(std::filesystem::path(MERVGAUGE_SOURCE_DIR) / "examples/forms" / name);
}

// Each gauge's value as the controller shows it, in the form's order, as the control's singles.
QList<float> values(const PanelController& controller) {
    QList<float> out;
    for (int i = 0; i < controller.gaugeCount(); ++i)
        out.push_back(float(controller.gauge(i)->Value()));
    return out;
}

} // namespace

class tst_SampleForms : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void theMqttFormShowsWhatIsPublishedUnderItsPrefix();
    void theModbusFormReadsWhatTheServerHolds();
};

void tst_SampleForms::theMqttFormShowsWhatIsPublishedUnderItsPrefix() {
    test::MosquittoBroker broker;
    Form form = sampleForm("cooling-water-mqtt.json");
    const std::string prefix = readMqttAddress(form.source).prefix;
    QCOMPARE(prefix, std::string("site1"));
    QWidget parent;
    PanelController controller(
        form, std::make_unique<MqttSource>(readMqttAddress(broker.address(prefix)), "A"), nullptr,
        "A", &parent);
    controller.start();
    QVERIFY(QTest::qWaitFor([&] { return controller.source().isConnected(); }));
    QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    test::MqttPublisher publisher(broker.port());
    // The payloads the documentation shows: a number as text, and a JSON object with a time.
    publisher.publish("site1/cooling/supply/temperature", "24.5");
    publisher.publish("site1/cooling/return/temperature", R"({"value": 31.2})");
    publisher.publish("site1/cooling/pump/pressure", R"({"value": 8.6, "ts": 1700000000000})");
    publisher.publish("site1/cooling/loop/flow", "212");
    const QList<float> published{24.5f, 31.2f, 8.6f, 212};
    // A wait that ends unmet shows in the comparison after it, with the values.
    static_cast<void>(QTest::qWaitFor([&] { return values(controller) == published; }));
    QCOMPARE(values(controller), published);
    // 8.6 bar lies above the pump's high alarm at 8.
    QCOMPARE(controller.raisedCounts().at(AlarmKind::AlarmHigh), 1);
}

void tst_SampleForms::theModbusFormReadsWhatTheServerHolds() {
    ModbusServer server;
    server.set(1, Kind::Holding, 0, 2950);                 // hr:0, rpm
    server.set(2, Kind::Input, 7, std::uint16_t(655));     // 2/ir:7:int16*0.1, 65.5 °C
    server.setFloat(1, Kind::Holding, 40, 7.25f, "cdab");  // hr:40:float32:cdab, bar
    server.setFloat(1, Kind::Holding, 42, 400.5f, "cdab"); // ...-273.15, K to °C
    QWidget parent;
    PanelController controller(
        sampleForm("compressor-modbus.json"),
        std::make_unique<ModbusSource>(readModbusAddress(server.address()), 20), nullptr, "A",
        &parent);
    controller.start();
    // Each differs from its gauge's start value, so the wait ends when every one has arrived.
    const QList<float> served{2950, float(655 * 0.1), 7.25f, float(400.5 - 273.15)};
    // A wait that ends unmet shows in the comparison after it, with the values.
    static_cast<void>(QTest::qWaitFor([&] { return values(controller) == served; }));
    QCOMPARE(values(controller), served);
    QCOMPARE(controller.badQualityCount(), 0);
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_SampleForms)
#include "tst_SampleForms.moc"
