// The Designer plugin as Designer loads it: from the build tree, through QPluginLoader.
#include "qt/MervGaugeWidget.h"

#include "control/MERV_Gauge.h"

#include <QDesignerFormEditorInterface>
#include <QDesignerTaskMenuExtension>
#include <QExtensionManager>
#include <QPluginLoader>
#include <QSignalSpy>
#include <QTest>
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
    QCOMPARE(m_plugin->includeFile(), QString("qt/MervGaugeWidget.h"));
    QVERIFY(!m_plugin->isContainer());
    QVERIFY(!m_plugin->toolTip().isEmpty());
    QVERIFY(m_plugin->whatsThis().contains("Edit Gauge Properties"));
    QCOMPARE(m_plugin->icon().availableSizes().value(0), QSize(16, 15));
    const QString xml = m_plugin->domXml();
    QVERIFY(xml.contains("<widget class=\"MervGaugeWidget\" name=\"gauge\"/>"));
    // Help strings become tooltips; the status properties have none to show.
    QVERIFY(xml.contains("<tooltip name=\"VariableName\" value=\"Variable name\"/>"));
    QVERIFY(!xml.contains("AlarmHighStatus"));
}

void DesignerPluginTest::withoutFormEditorAGaugeIsRestoredForRunTime() {
    QVERIFY(!m_plugin->isInitialized());
    std::unique_ptr<QWidget> widget(m_plugin->createWidget(nullptr));
    auto* gauge = qobject_cast<MervGaugeWidget*>(widget.get());
    QVERIFY(gauge);
    QVERIFY(gauge->control().loaded());
}

void DesignerPluginTest::aDroppedGaugeIsANewControlInDesignMode() {
    m_plugin->initialize(&m_core);
    QVERIFY(m_plugin->isInitialized());
    std::unique_ptr<QWidget> widget(m_plugin->createWidget(nullptr));
    // The plugin and the test share the widget library: one metaobject.
    auto* gauge = qobject_cast<MervGaugeWidget*>(widget.get());
    QVERIFY(gauge);
    QVERIFY(!gauge->control().loaded());
    QSignalSpy errors(gauge, &MervGaugeWidget::runtimeError);
    gauge->setAlarmColor(0x00123456u);
    QCOMPARE(gauge->AlarmColor(), 0x00123456u);
    // Before the control is loaded a value write leaves the display to the next redraw.
    const std::string shown = gauge->control().ui().Val.caption();
    gauge->setValue(42);
    QCOMPARE(gauge->Value(), 42.0f);
    QCOMPARE(gauge->control().ui().Val.caption(), shown);
    QCOMPARE(errors.count(), 0);
}

void DesignerPluginTest::theGaugeHasItsTaskMenu() {
    std::unique_ptr<QWidget> gauge(m_plugin->createWidget(nullptr));
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(m_core.extensionManager(), gauge.get());
    QVERIFY(menu);
    QCOMPARE(menu->taskActions().size(), 1);
    QCOMPARE(menu->taskActions().front()->text(), QString("Edit Gauge Properties…"));
    QCOMPARE(menu->preferredEditAction(), menu->taskActions().front());
    // Other widgets get none.
    QWidget plain;
    QVERIFY(!qt_extension<QDesignerTaskMenuExtension*>(m_core.extensionManager(), &plain));
}

QTEST_MAIN(DesignerPluginTest)
#include "tst_DesignerPlugin.moc"
