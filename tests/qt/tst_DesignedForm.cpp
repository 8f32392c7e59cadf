// The designed example form at run time: through uic and through QUiLoader with the Designer
// plugin, its gauges come up restored with the designed properties, as from a property bag,
// whatever order the form lists them in.
#include "ui_designed-form.h"
#include "ui_hostile-order.h"

#include <mervgauge/MervGaugeWidget.h>

#include <mervgauge/control/MERV_Gauge.h>
#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/Line.h>
#include <mervgauge/platform/PropertyBag.h>

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
    if (!gauge.store(bag))
        return {QStringLiteral("not stored: ") + gauge.lastErrorString()};
    QStringList entries;
    for (const auto& [key, value] : bag.entries())
        entries << QString::fromStdString(key + "=" + value.toText(merv::NumberLocale::english()));
    return entries;
}

// The hostile-order form's gauge as a bag holds it.
merv::MemoryPropertyBag designedSuction() {
    merv::MemoryPropertyBag bag;
    bag.set("MaxValue", merv::Variant::single(-50));
    bag.set("MinValue", merv::Variant::single(-100));
    bag.set("Value", merv::Variant::single(-70));
    bag.set("AlarmColor", merv::Variant::longValue(0x0000C0));
    return bag;
}

// What a host sees of a gauge as it comes up: besides its properties, its alarm state and its
// needle, which depend on the order the properties were applied in.
QStringList shown(MervGaugeWidget& gauge) {
    QStringList properties = stored(gauge);
    const QLineF needle = gauge.needleLine();
    return properties << QString("needle=%1,%2").arg(needle.x1()).arg(needle.y1())
                      << QString("status=%1%2%3%4")
                             .arg(gauge.AlarmHighStatus())
                             .arg(gauge.AlarmLowStatus())
                             .arg(gauge.WarningHighStatus())
                             .arg(gauge.WarningLowStatus());
}

std::unique_ptr<QWidget> loadWithPlugin(const QString& path) {
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(MERVGAUGE_DESIGNER_PLUGIN_DIR));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return std::unique_ptr<QWidget>(loader.load(&file));
}

} // namespace

class DesignedFormTest : public QObject {
    Q_OBJECT

private slots:
    void uicCreatesRestoredGaugesWithTheDesignedValues();
    void uiLoaderWithThePluginGivesTheSameGauges();
    void hostileOrderComesUpAsTheBagRestores_data();
    void hostileOrderComesUpAsTheBagRestores();
};

void DesignedFormTest::uicCreatesRestoredGaugesWithTheDesignedValues() {
    QWidget form;
    Ui::DesignedForm ui;
    ui.setupUi(&form);
    QVERIFY(ui.boilerPressure->isRestored());
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
    QVERIFY(gauge->isRestored());
    merv::MemoryPropertyBag bag = designedBoilerPressure();
    MervGaugeWidget restored(bag);
    QCOMPARE(stored(*gauge), stored(restored));
}

void DesignedFormTest::hostileOrderComesUpAsTheBagRestores_data() {
    QTest::addColumn<bool>("throughLoader");
    QTest::newRow("uic") << false;
    QTest::newRow("QUiLoader with the plugin") << true;
}

void DesignedFormTest::hostileOrderComesUpAsTheBagRestores() {
    QFETCH(bool, throughLoader);
    std::unique_ptr<QWidget> form;
    Ui::HostileOrderForm ui;
    if (throughLoader) {
        form = loadWithPlugin(QStringLiteral(MERVGAUGE_HOSTILE_FORM));
    } else {
        form = std::make_unique<QWidget>();
        ui.setupUi(form.get());
    }
    QVERIFY(form);
    auto* gauge = form->findChild<MervGaugeWidget*>("suction");
    QVERIFY(gauge);
    merv::MemoryPropertyBag bag = designedSuction();
    MervGaugeWidget restored(bag);
    QCOMPARE(shown(*gauge), shown(restored));
}

QTEST_MAIN(DesignedFormTest)
#include "tst_DesignedForm.moc"
