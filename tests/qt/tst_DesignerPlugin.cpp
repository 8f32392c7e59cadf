// The Designer plugin as Designer loads it: from the build tree, through QPluginLoader.
#include <mervgauge/MervGaugeWidget.h>

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/MERV_Gauge.h>

#include <QBuffer>
#include <QDesignerFormEditorInterface>
#include <QDesignerTaskMenuExtension>
#include <QExtensionManager>
#include <QFileInfo>
#include <QFormBuilder>
#include <QPluginLoader>
#include <QSignalSpy>
#include <QTest>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <memory>

namespace {

// A form editor with nothing but an extension manager, as the plugin's initialize needs.
class BareFormEditor : public QDesignerFormEditorInterface {
public:
    BareFormEditor() { setExtensionManager(new QExtensionManager(this)); }
};

} // namespace

class DesignerPluginTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void describesTheGaugeForTheWidgetBox();
    void itsWidgetBoxEntryReadsAsDesignerReadsIt();
    void aFormBuilderRoundTripKeepsEveryProperty();
    void withoutFormEditorAGaugeIsRestoredForRunTime();
    void aDroppedGaugeIsANewControlInDesignMode();
    void theGaugeHasItsTaskMenu();

private:
    BareFormEditor m_core;
    QPluginLoader m_loader{QStringLiteral(MERVGAUGE_DESIGNER_PLUGIN)};
    QDesignerCustomWidgetInterface* m_plugin = nullptr;
};

void DesignerPluginTest::initTestCase() {
    QObject* instance = m_loader.instance();
    QVERIFY2(instance, qPrintable(m_loader.errorString()));
    m_plugin = qobject_cast<QDesignerCustomWidgetInterface*>(instance);
    QVERIFY(m_plugin);
}

void DesignerPluginTest::describesTheGaugeForTheWidgetBox() {
    QCOMPARE(m_plugin->name(), QString("MervGaugeWidget"));
    QCOMPARE(m_plugin->group(), QString("MERVGauge"));
    QCOMPARE(m_plugin->includeFile(), QString("<mervgauge/MervGaugeWidget.h>"));
    QVERIFY(!m_plugin->isContainer());
    QVERIFY(!m_plugin->toolTip().isEmpty());
    QVERIFY(m_plugin->whatsThis().contains("Edit Gauge Properties"));
    QCOMPARE(m_plugin->icon().availableSizes().value(0), QSize(16, 15));
}

void DesignerPluginTest::itsWidgetBoxEntryReadsAsDesignerReadsIt() {
    // Designer's form builder reads the entry with the reader it reads every form with.
    QFormBuilder builder;
    builder.setPluginPath({QFileInfo(QStringLiteral(MERVGAUGE_DESIGNER_PLUGIN)).absolutePath()});
    QByteArray xml = m_plugin->domXml().toUtf8();
    QBuffer buffer(&xml);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> widget(builder.load(&buffer));
    QVERIFY2(widget, qPrintable(builder.errorString()));
    QVERIFY(qobject_cast<MervGaugeWidget*>(widget.get()));
    QCOMPARE(widget->objectName(), QString("gauge"));

    // Help strings become the property editor's tooltips; the status flags have none.
    QXmlStreamReader reader(m_plugin->domXml());
    QMap<QString, QString> tooltips;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"tooltip") {
            const QString name = reader.attributes().value("name").toString();
            tooltips[name] = reader.readElementText();
        }
    }
    QVERIFY(!reader.hasError());
    QCOMPARE(tooltips.value("VariableName"), QString("Variable name"));
    QCOMPARE(tooltips.value("Precision"), QString("Display precision (0-5)"));
    QVERIFY(tooltips.value("BackColorGraphic").contains("0x8000000F"));
    QVERIFY(tooltips.contains("alarmQColor"));
    QVERIFY(!tooltips.contains("AlarmHighStatus"));
}

namespace {

// All 21 properties as a host reads them.
QStringList allProperties(MervGaugeWidget& gauge) {
    QStringList values;
    for (const merv::PropertyInfo& property : merv::gaugeProperties()) {
        const QString name =
            QString::fromUtf8(property.name.data(), qsizetype(property.name.size()));
        values << name + "=" + gauge.getProperty(name).toString();
    }
    return values;
}

} // namespace

void DesignerPluginTest::aFormBuilderRoundTripKeepsEveryProperty() {
    QWidget form;
    form.setObjectName("Form");
    auto* gauge = new MervGaugeWidget(&form);
    gauge->setObjectName("gauge");
    // Every writable property away from its default, a system colour among them, and a value
    // in the high alarm so the status flags differ too.
    gauge->setVariableName("Boiler drum");
    gauge->setEngUnit("bar");
    gauge->setPrecision(3);
    gauge->setMaxValue(16);
    gauge->setMinValue(-1);
    gauge->setAlarmHighVal(14.5);
    gauge->setWarningHighVal(12.25);
    gauge->setWarningLowVal(2);
    gauge->setAlarmLowVal(0.5);
    gauge->setValue(15.125);
    gauge->setBackColorText(0xF0F0F0);
    gauge->setBackColorGraphic(0x8000000F);
    gauge->setTextColor(0x800000);
    gauge->setBordersColor(0x808080);
    gauge->setNormalColor(0x00A000);
    gauge->setWarningColor(0x0080FF);
    gauge->setAlarmColor(0x0000C0);
    QTRY_VERIFY(gauge->AlarmHighStatus()); // the thresholds reach the alarm test at the redraw
    const QStringList designed = allProperties(*gauge);

    QFormBuilder builder;
    builder.setPluginPath({QFileInfo(QStringLiteral(MERVGAUGE_DESIGNER_PLUGIN)).absolutePath()});
    QBuffer saved;
    QVERIFY(saved.open(QIODevice::WriteOnly));
    builder.save(&saved, &form);
    saved.close();
    QVERIFY(saved.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> loaded(builder.load(&saved));
    QVERIFY2(loaded, qPrintable(builder.errorString()));
    auto* again = loaded->findChild<MervGaugeWidget*>("gauge");
    QVERIFY(again);
    QTRY_COMPARE(allProperties(*again), designed);
}

void DesignerPluginTest::withoutFormEditorAGaugeIsRestoredForRunTime() {
    QVERIFY(!m_plugin->isInitialized());
    std::unique_ptr<QWidget> widget(m_plugin->createWidget(nullptr));
    auto* gauge = qobject_cast<MervGaugeWidget*>(widget.get());
    QVERIFY(gauge);
    QVERIFY(gauge->isRestored());
}

void DesignerPluginTest::aDroppedGaugeIsANewControlInDesignMode() {
    m_plugin->initialize(&m_core);
    QVERIFY(m_plugin->isInitialized());
    std::unique_ptr<QWidget> widget(m_plugin->createWidget(nullptr));
    // The plugin and the test share the widget library: one metaobject.
    auto* gauge = qobject_cast<MervGaugeWidget*>(widget.get());
    QVERIFY(gauge);
    QVERIFY(!gauge->isRestored());
    QSignalSpy errors(gauge, &MervGaugeWidget::runtimeError);
    gauge->setAlarmColor(0x00123456u);
    QCOMPARE(gauge->AlarmColor(), 0x00123456u);
    // Before the control is loaded a value write leaves the display to the next redraw.
    const QString shown = gauge->shownValueText();
    gauge->setValue(42);
    QCOMPARE(gauge->Value(), 42.0f);
    QCOMPARE(gauge->shownValueText(), shown);
    QCOMPARE(errors.count(), 0);
}

void DesignerPluginTest::theGaugeHasItsTaskMenu() {
    std::unique_ptr<QWidget> gauge(m_plugin->createWidget(nullptr));
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(m_core.extensionManager(), gauge.get());
    QVERIFY(menu);
    QStringList texts;
    for (QAction* action : menu->taskActions())
        texts << action->text();
    QCOMPARE(texts, QStringList({"Edit Gauge Properties…", "Bind to Tag…"}));
    // A double click on the gauge still opens its property sheet.
    QCOMPARE(menu->preferredEditAction(), menu->taskActions().front());
    // Other widgets get none.
    QWidget plain;
    QVERIFY(!qt_extension<QDesignerTaskMenuExtension*>(m_core.extensionManager(), &plain));
}

QTEST_MAIN(DesignerPluginTest)
#include "tst_DesignerPlugin.moc"
