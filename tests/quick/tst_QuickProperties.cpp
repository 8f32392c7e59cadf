// The item's properties and events as QML meets them: bindings both ways, change signals only
// on real change, events once per entry, refused writes and a hostile declaration order.
#include "QuickTestSupport.h"

#include <mervgauge/platform/PropertyBag.h>

#include <QSignalSpy>
#include <QTest>

class QuickProperties : public QObject {
    Q_OBJECT
private slots:
    void aBindingDrivesTheValueAndRaisesTheAlarmOncePerEntry();
    void aBindingReadsTheStatusBack();
    void aWriteOfTheHeldValueNotifiesNothing();
    void colourIsThereAsStoredValueAndAsColor();
    void statusPropertiesAreReadOnly();
    void refusedWrite_data();
    void refusedWrite();
    void aQmlHandlerHearsTheRefusalByItsParameters();
    void aHandlerMayWriteTheValueAgain();
    void declaredPropertiesRestoreInThePersistedOrder();
    void propertiesByNameConvertAsAHostDoes();
    void aBagGivenInCodeTakesThePlaceOfTheDeclaredProperties();
};

namespace {

// A source value bound into the gauge, and a text bound out of its alarm status; the gauge
// counts its high alarms.
const QByteArray BoundScene = R"(
import QtQuick
import MERVGauge
Item {
    property real reading: 10
    property int alarms: 0
    property alias shownStatus: status.text
    MervGauge {
        objectName: "gauge"
        value: reading
        onOnAlarmHigh: alarms += 1
    }
    Text {
        id: status
        text: gauge().AlarmHighStatus ? "alarm" : "normal"
        function gauge() { return parent.children[0] }
    }
}
)";

} // namespace

void QuickProperties::aBindingDrivesTheValueAndRaisesTheAlarmOncePerEntry() {
    QuickScene scene(BoundScene);
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge("gauge");
    QVERIFY(gauge);
    QSignalSpy values(gauge, &MervGauge::ValueChanged);
    QCOMPARE(gauge->Value(), 10.0);
    for (double reading : {90.0, 95.0, 50.0, 85.0, 85.0})
        scene.root()->setProperty("reading", reading);
    QCOMPARE(gauge->Value(), 85.0);
    // Two entries into the high alarm (90 and 85), however long it stays there.
    QCOMPARE(scene.root()->property("alarms").toInt(), 2);
    // One notice per real change: 90, 95, 50, 85 (the second 85 is no change).
    QCOMPARE(values.count(), 4);
}

void QuickProperties::aBindingReadsTheStatusBack() {
    QuickScene scene(BoundScene);
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QCOMPARE(scene.root()->property("shownStatus").toString(), QString("normal"));
    scene.root()->setProperty("reading", 99.0);
    QCOMPARE(scene.root()->property("shownStatus").toString(), QString("alarm"));
    scene.root()->setProperty("reading", 40.0);
    QCOMPARE(scene.root()->property("shownStatus").toString(), QString("normal"));
}

void QuickProperties::aWriteOfTheHeldValueNotifiesNothing() {
    QuickScene scene(gaugeScene("variableName: \"Pressure\"; precision: 2"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QSignalSpy names(gauge, &MervGauge::VariableNameChanged);
    QSignalSpy precisions(gauge, &MervGauge::PrecisionChanged);
    gauge->setVariableName("Pressure");
    gauge->setPrecision(2);
    QCOMPARE(names.count(), 0);
    QCOMPARE(precisions.count(), 0);
    gauge->setVariableName("Flow");
    gauge->setPrecision(3);
    QCOMPARE(names.count(), 1);
    QCOMPARE(precisions.count(), 1);
    QCOMPARE(gauge->VariableName(), QString("Flow"));
}

void QuickProperties::colourIsThereAsStoredValueAndAsColor() {
    QuickScene scene(gaugeScene("normalQColor: \"#0080ff\""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    // 0x00BBGGRR of #0080ff.
    QCOMPARE(gauge->NormalColor(), 0xFF8000u);
    QSignalSpy stored(gauge, &MervGauge::NormalColorChanged);
    QSignalSpy asColor(gauge, &MervGauge::normalQColorChanged);
    QVERIFY(gauge->setProperty("NormalColor", QVariant::fromValue<quint32>(0x0000FF)));
    QCOMPARE(gauge->normalQColor(), QColor(255, 0, 0));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(asColor.count(), 1);
}

void QuickProperties::statusPropertiesAreReadOnly() {
    QuickScene scene(gaugeScene(""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    const QMetaObject& meta = *scene.gauge()->metaObject();
    for (const char* name :
         {"AlarmHighStatus", "AlarmLowStatus", "WarningHighStatus", "WarningLowStatus"}) {
        const QMetaProperty property = meta.property(meta.indexOfProperty(name));
        QVERIFY2(property.isValid() && !property.isWritable(), name);
        QVERIFY2(property.hasNotifySignal(), name);
    }
    QuickScene writing(gaugeScene("alarmHighStatus: true"));
    QVERIFY(!writing.root());
    QVERIFY2(writing.errors().contains("read-only"), qPrintable(writing.errors()));
}

void QuickProperties::refusedWrite_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("number");
    // What the property holds after the refusal, as QML reads it.
    QTest::addColumn<QVariant>("after");
    QTest::newRow("precision beyond an integer")
        << QByteArray("gauge.Precision = 40000") << "Precision" << 6 << QVariant(0);
    QTest::newRow("a single beyond its range")
        << QByteArray("gauge.Value = 1e39") << "Value" << 6 << QVariant(0.0);
    QTest::newRow("precision below an integer")
        << QByteArray("gauge.Precision = -40000") << "Precision" << 6 << QVariant(0);
}

void QuickProperties::refusedWrite() {
    QFETCH(QByteArray, script);
    QFETCH(QString, property);
    QFETCH(int, number);
    QFETCH(QVariant, after);
    QuickScene scene(R"(
import QtQuick
import MERVGauge
Item {
    property bool reached: false
    function attempt() { )" +
                     script + R"(; reached = true }
    MervGauge { id: gauge; objectName: "gauge" }
}
)");
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge("gauge");
    QSignalSpy errors(gauge, &MervGauge::runtimeError);
    QVERIFY(QMetaObject::invokeMethod(scene.root(), "attempt"));
    // No exception reached the script: the statement after the write ran.
    QVERIFY(scene.root()->property("reached").toBool());
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors[0][0].toInt(), number);
    QVERIFY(!errors[0][1].toString().isEmpty());
    QCOMPARE(errors[0][2].toString(), property);
    QCOMPARE(gauge->lastErrorNumber(), number);
    QCOMPARE(gauge->property(qPrintable(property)), after);
    // The next write that passes clears the error.
    gauge->setVariableName("Level");
    QCOMPARE(gauge->lastErrorNumber(), int(MervGauge::NoError));
}

void QuickProperties::aQmlHandlerHearsTheRefusalByItsParameters() {
    QuickScene scene(gaugeScene(R"(
        property string heard
        onRuntimeError: (number, description, property) => heard = property + " " + number
        function attempt() { Precision = 40000 })"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QVERIFY(QMetaObject::invokeMethod(scene.gauge(), "attempt"));
    QCOMPARE(scene.gauge()->property("heard").toString(), QString("Precision 6"));
}

void QuickProperties::aHandlerMayWriteTheValueAgain() {
    QuickScene scene(gaugeScene("onOnAlarmHigh: value = 50"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QSignalSpy alarms(gauge, &MervGauge::onAlarmHigh);
    gauge->setValue(90);
    QCOMPARE(alarms.count(), 1);
    QCOMPARE(gauge->Value(), 50.0);
    // The interrupted update sets the alarm flag once its handler returns, as the control
    // does for every host.
    QVERIFY(gauge->AlarmHighStatus());
}

void QuickProperties::declaredPropertiesRestoreInThePersistedOrder() {
    // Applied as listed, the value would meet the default scale and the maximum would fall
    // below the default minimum; restored in the persisted order, all three hold.
    QuickScene scene(gaugeScene("value: -70; alarmColor: 192; maxValue: -50; minValue: -100"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(gauge->started());
    QCOMPARE(gauge->lastErrorNumber(), int(MervGauge::NoError));
    QCOMPARE(gauge->MinValue(), -100.0);
    QCOMPARE(gauge->MaxValue(), -50.0);
    QCOMPARE(gauge->Value(), -70.0);
    QCOMPARE(gauge->AlarmColor(), 192u);
}

void QuickProperties::propertiesByNameConvertAsAHostDoes() {
    QuickScene scene(gaugeScene("locale: Qt.locale(\"it_IT\")"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QSignalSpy errors(gauge, &MervGauge::runtimeError);
    QVERIFY(gauge->putProperty("Value", QString("3,25")));
    QCOMPARE(gauge->Value(), 3.25);
    QCOMPARE(gauge->getProperty("Value"), QVariant(3.25f));
    QVERIFY(!gauge->putProperty("NoSuchProperty", 1));
    QCOMPARE(gauge->lastErrorNumber(), 438);
    QVERIFY(!gauge->getProperty("NoSuchProperty").isValid());
    QVERIFY(!gauge->putProperty("AlarmHighStatus", true));
    QCOMPARE(gauge->lastErrorNumber(), 383);
    // Calls that return their failure keep it and raise nothing besides.
    QCOMPARE(errors.count(), 0);
}

void QuickProperties::aBagGivenInCodeTakesThePlaceOfTheDeclaredProperties() {
    MervGauge gauge;
    gauge.setVariableName("Declared");
    merv::MemoryPropertyBag bag;
    bag.set("MaxValue", merv::Variant::single(250));
    QVERIFY(gauge.restore(bag));
    QVERIFY(gauge.started());
    QCOMPARE(gauge.MaxValue(), 250.0);
    QCOMPARE(gauge.VariableName(), QString("Var"));
    // A started gauge reads a bag again over what it holds.
    merv::MemoryPropertyBag again;
    again.set("VariableName", merv::Variant::text("Again"));
    QVERIFY(gauge.restore(again));
    QCOMPARE(gauge.VariableName(), QString("Again"));
}

QTEST_MAIN(QuickProperties)
#include "tst_QuickProperties.moc"
