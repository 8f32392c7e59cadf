// The designed example form at run time: through uic and through QUiLoader with the Designer
// plugin, its gauges come up restored with the designed properties, as from a property bag.
#include "ui_designed-form.h"

#include "qt/MervGaugeWidget.h"

#include "control/MERV_Gauge.h"
#include "platform/PropertyBag.h"

#include <QFile>
#include <QTest>
#include <QUiLoader>

#include <memory>

namespace {

// The first gauge's designed properties as a bag holds them.
merv::MemoryPropertyBag designedBoilerPressure() {
    merv::MemoryPropertyBag bag;
    bag.set("VariableName", merv::Variant::text("Pressure"));
    bag.set("EngUnit", merv::Variant::text("bar"));
    bag.set("Precision", merv::Variant::integer(1));
    bag.set("AlarmHighVal", merv::Variant::single(14));
    bag.set("AlarmLowVal", merv::Variant::single(1));
    bag.set("WarningHighVal", merv::Variant::single(12));
    bag.set("WarningLowVal", merv::Variant::single(3));
    bag.set("MinValue", merv::Variant::single(0));
    bag.set("MaxValue", merv::Variant::single(16));
    bag.set("AlarmColor", merv::Variant::longValue(0x0000C0));
    bag.set("BackColorGraphic", merv::Variant::longValue(0xE0E0E0));
    return bag;
}

// What the gauge stores, as text per key, for comparing whole bags.
QStringList stored(MervGaugeWidget& gauge) {
    merv::MemoryPropertyBag bag;
    gauge.store(bag);
    QStringList entries;
    for (const auto& [key, value] : bag.entries())
        entries << QString::fromStdString(key + "=" + value.toText(merv::NumberLocale::english()));
    return entries;
}

} // namespace

class DesignedFormTest : public QObject {
    Q_OBJECT

private slots:
    void uicCreatesRestoredGaugesWithTheDesignedValues();
    void uiLoaderWithThePluginGivesTheSameGauges();
};

void DesignedFormTest::uicCreatesRestoredGaugesWithTheDesignedValues() {
    QWidget form;
    Ui::DesignedForm ui;
    ui.setupUi(&form);
    QVERIFY(ui.boilerPressure->control().loaded());
    QCOMPARE(ui.tankLevel->VariableName(), QString("Level"));
    QCOMPARE(ui.tankLevel->NormalColor(), 0xFF8000u);
    QCOMPARE(ui.flueTemperature->EngUnit(), QString("°C"));
    QCOMPARE(ui.flueTemperature->MinValue(), -20.0f);
    QCOMPARE(ui.flueTemperature->AlarmHighVal(), 350.0f);
    QCOMPARE(ui.flueTemperature->Precision(), qint16(2));

    merv::MemoryPropertyBag bag = designedBoilerPressure();
    MervGaugeWidget restored(bag);
    QCOMPARE(stored(*ui.boilerPressure), stored(restored));
}

void DesignedFormTest::uiLoaderWithThePluginGivesTheSameGauges() {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(MERVGAUGE_DESIGNER_PLUGIN_DIR));
    QVERIFY(loader.availableWidgets().contains("MervGaugeWidget"));
    QFile file(QStringLiteral(MERVGAUGE_DESIGNED_FORM));
    QVERIFY(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form(loader.load(&file));
    QVERIFY2(form, qPrintable(loader.errorString()));
    // Without the plugin each gauge would silently be a plain QWidget.
    auto* gauge = form->findChild<MervGaugeWidget*>("boilerPressure");
    QVERIFY(gauge);
    QVERIFY(gauge->control().loaded());
    merv::MemoryPropertyBag bag = designedBoilerPressure();
    MervGaugeWidget restored(bag);
    QCOMPARE(stored(*gauge), stored(restored));
}

QTEST_MAIN(DesignedFormTest)
#include "tst_DesignedForm.moc"
