// The control's properties by name, its events as signals and its errors as runtimeError.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>

#include <mervgauge/platform/RuntimeError.h>

#include <QHash>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

class GaugeProperties : public QObject {
    Q_OBJECT
private slots:
    void propertiesByName_data();
    void propertiesByName();
    void numbersOutsideTheControlsTypesAreRefused_data();
    void numbersOutsideTheControlsTypesAreRefused();
    void aSystemColourSurvivesItsQColorInEitherOrder_data();
    void aSystemColourSurvivesItsQColorInEitherOrder();
    void statusPropertiesAreReadOnly();
    void eachEventOnceOnEntry();
    void aSlotMayWriteValueFromInsideAnEvent();
    void statusChangesAreNotified();
    void successfulPutsReportTheirName();
    void refusedPutEmitsRuntimeError();
    void callsByNameReturnTheControlsError();
    void failingTickReportsWithoutSpinning();
    void everyPropertyHasItsKindsTypeAndNotifies();
    void aWriteNotifiesOnlyWhatTheControlStoresAnew_data();
    void aWriteNotifiesOnlyWhatTheControlStoresAnew();
    void aColourAndItsQColorNotifyTogether();
    void gettersOfAWaitingGaugeAnswerTheWrittenValues();
    void aFailedWriteLeavesItsErrorUntilTheNextCall();
};

void GaugeProperties::propertiesByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    // Numbers at the surface are int and double, as form designers and loaders take them.
    QTest::newRow("MaxValue") << "MaxValue" << QVariant(200.0);
    QTest::newRow("MinValue") << "MinValue" << QVariant(-10.0);
    QTest::newRow("Value") << "Value" << QVariant(33.5);
    QTest::newRow("AlarmHighVal") << "AlarmHighVal" << QVariant(90.0);
    QTest::newRow("WarningLowVal") << "WarningLowVal" << QVariant(30.0);
    QTest::newRow("Value, a single widened exactly") << "Value" << QVariant(double(0.1f));
    QTest::newRow("Precision") << "Precision" << QVariant(2);
    QTest::newRow("EngUnit") << "EngUnit" << QVariant(QStringLiteral("bar"));
    QTest::newRow("VariableName") << "VariableName" << QVariant(QStringLiteral("Pressure"));
    QTest::newRow("AlarmColor") << "AlarmColor" << QVariant::fromValue<quint32>(0x123456);
    QTest::newRow("BackColorText") << "BackColorText" << QVariant::fromValue<quint32>(0xEEEEEE);
}

void GaugeProperties::propertiesByName() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    MervGaugeWidget widget;
    QSignalSpy errors(&widget, &MervGaugeWidget::runtimeError);
    QVERIFY(widget.setProperty(qPrintable(name), value));
    QCOMPARE(widget.property(qPrintable(name)), value);
    QCOMPARE(widget.getProperty(name), value);
    QCOMPARE(errors.count(), 0);
}

void GaugeProperties::numbersOutsideTheControlsTypesAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("started");
    for (const bool started : {false, true}) {
        const char* when = started ? "started" : "restored from the form";
        QTest::addRow("Precision beyond 16 bits, %s", when)
            << "Precision" << QVariant(40000) << started;
        QTest::addRow("Precision below 16 bits, %s", when)
            << "Precision" << QVariant(-32769) << started;
        QTest::addRow("Value beyond a single, %s", when) << "Value" << QVariant(1e39) << started;
        QTest::addRow("MaxValue far below a single, %s", when)
            << "MaxValue" << QVariant(-1e300) << started;
        QTest::addRow("AlarmHighVal not a number, %s", when)
            << "AlarmHighVal" << QVariant(std::nan("")) << started;
        QTest::addRow("WarningLowVal infinite, %s", when)
            << "WarningLowVal" << QVariant(-std::numeric_limits<double>::infinity()) << started;
    }
}

void GaugeProperties::numbersOutsideTheControlsTypesAreRefused() {
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(bool, started);
    // A form writes its properties before the gauge is looked at; a host writes later.
    MervGaugeWidget widget;
    QSignalSpy errors(&widget, &MervGaugeWidget::runtimeError);
    if (started)
        QCOMPARE(widget.Value(), 0.0);
    widget.setProperty(qPrintable(name), value);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.front().at(0).toInt(), int(merv::ErrorNumber::Overflow));
    QCOMPARE(errors.front().at(2).toString(), name);
    // Nothing was stored: the property keeps its default.
    MervGaugeWidget untouched;
    QCOMPARE(widget.property(qPrintable(name)), untouched.property(qPrintable(name)));
}

void GaugeProperties::aSystemColourSurvivesItsQColorInEitherOrder_data() {
    QTest::addColumn<bool>("qcolorFirst");
    QTest::addColumn<bool>("started");
    QTest::newRow("QColor first, as a form is restored") << true << false;
    QTest::newRow("QColor last, as a form is restored") << false << false;
    QTest::newRow("QColor first, started") << true << true;
    QTest::newRow("QColor last, started") << false << true;
}

void GaugeProperties::aSystemColourSurvivesItsQColorInEitherOrder() {
    QFETCH(bool, qcolorFirst);
    QFETCH(bool, started);
    constexpr quint32 ButtonFace = 0x8000000F;
    // What a form saved: the stored value and the colour it showed.
    MervGaugeWidget shown;
    shown.setBackColorGraphic(ButtonFace);
    const QColor showing = shown.backColorGraphicQColor();

    MervGaugeWidget widget;
    if (started) {
        // Polishing is the first look at the gauge: it starts.
        widget.ensurePolished();
        QCOMPARE(widget.BackColorGraphic(), 0xC0C0C0u);
    }
    if (qcolorFirst)
        widget.setProperty("backColorGraphicQColor", showing);
    widget.setProperty("BackColorGraphic", ButtonFace);
    if (!qcolorFirst)
        widget.setProperty("backColorGraphicQColor", showing);
    QCOMPARE(widget.BackColorGraphic(), ButtonFace);
    // Another colour is a real colour.
    widget.setBackColorGraphicQColor(QColor(1, 2, 3));
    QCOMPARE(widget.BackColorGraphic(), 0x030201u);
}

void GaugeProperties::statusPropertiesAreReadOnly() {
    MervGaugeWidget widget;
    for (const char* name :
         {"AlarmHighStatus", "AlarmLowStatus", "WarningHighStatus", "WarningLowStatus"}) {
        const bool before = widget.property(name).toBool();
        QVERIFY(!widget.metaObject()
                     ->property(widget.metaObject()->indexOfProperty(name))
                     .isWritable());
        QVERIFY2(!widget.putProperty(QString::fromLatin1(name), true), "a status write must fail");
        QCOMPARE(widget.lastErrorNumber(), 383);
        QCOMPARE(widget.lastErrorString(), QStringLiteral("Property is ReadOnly."));
        QCOMPARE(widget.property(name).toBool(), before);
    }
}

void GaugeProperties::eachEventOnceOnEntry() {
    MervGaugeWidget widget;
    QStringList raised;
    connect(&widget, &MervGaugeWidget::OnAlarmHigh, [&] { raised << "OnAlarmHigh"; });
    connect(&widget, &MervGaugeWidget::OnAlarmLow, [&] { raised << "OnAlarmLow"; });
    connect(&widget, &MervGaugeWidget::OnWarningHigh, [&] { raised << "OnWarningHigh"; });
    connect(&widget, &MervGaugeWidget::OnWarningLow, [&] { raised << "OnWarningLow"; });
    for (float v : {50.f, 70.f, 75.f, 90.f, 70.f, 50.f, 30.f, 25.f, 10.f})
        widget.setValue(v);
    QCOMPARE(raised, (QStringList{"OnWarningHigh", "OnAlarmHigh", "OnWarningHigh", "OnWarningLow",
                                  "OnAlarmLow"}));
}

void GaugeProperties::aSlotMayWriteValueFromInsideAnEvent() {
    MervGaugeWidget widget;
    int alarms = 0;
    connect(&widget, &MervGaugeWidget::OnAlarmHigh, [&] {
        ++alarms;
        // Still inside the value update that raised the event.
        QCOMPARE(widget.Value(), 90.0f);
        widget.setValue(50);
    });
    widget.setValue(90);
    QCOMPARE(alarms, 1);
    QCOMPARE(widget.Value(), 50.0f);
    // The interrupted pass sets its own flag after the handler returns.
    QCOMPARE(widget.AlarmHighStatus(), true);
}

void GaugeProperties::statusChangesAreNotified() {
    MervGaugeWidget widget;
    QSignalSpy high(&widget, &MervGaugeWidget::AlarmHighStatusChanged);
    QSignalSpy warning(&widget, &MervGaugeWidget::WarningHighStatusChanged);
    widget.setValue(90);
    widget.setValue(95);
    widget.setValue(70);
    QCOMPARE(high.count(), 2);
    QCOMPARE(high.at(0).at(0).toBool(), true);
    QCOMPARE(high.at(1).at(0).toBool(), false);
    QCOMPARE(warning.count(), 1);
    QCOMPARE(warning.at(0).at(0).toBool(), true);
}

void GaugeProperties::successfulPutsReportTheirName() {
    MervGaugeWidget widget;
    QSignalSpy changed(&widget, &MervGaugeWidget::propertyChanged);
    widget.setValue(10);
    widget.setMaxValue(120);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Value"));
    QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("MaxValue"));
}

void GaugeProperties::refusedPutEmitsRuntimeError() {
    // A control created afresh in user mode refuses colour writes.
    MervGaugeWidget widget{MervGaugeWidget::Unstarted{}};
    widget.createNew(true);
    QSignalSpy errors(&widget, &MervGaugeWidget::runtimeError);
    QSignalSpy changed(&widget, &MervGaugeWidget::propertyChanged);
    QVERIFY(widget.setProperty("AlarmColor", QVariant::fromValue<quint32>(5)));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toInt(), 382);
    QCOMPARE(errors.at(0).at(2).toString(), QStringLiteral("AlarmColor"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(widget.AlarmColor(), 255u);
}

void GaugeProperties::callsByNameReturnTheControlsError() {
    MervGaugeWidget widget;
    QVERIFY2(!widget.putProperty(QStringLiteral("NoSuchProperty"), 1), "an unknown name must fail");
    QCOMPARE(widget.lastErrorNumber(), 438);
    QVERIFY2(!widget.putProperty(QStringLiteral("Value"), QStringLiteral("abc")),
             "a text that is no number must fail");
    QCOMPARE(widget.lastErrorNumber(), 13);
    QVERIFY(widget.putProperty(QStringLiteral("Value"), QStringLiteral("12.5")));
    QCOMPARE(widget.lastErrorNumber(), MervGaugeWidget::NoError);
    QCOMPARE(widget.Value(), 12.5f);
}

void GaugeProperties::failingTickReportsWithoutSpinning() {
    MervGaugeWidget widget;
    QSignalSpy errors(&widget, &MervGaugeWidget::runtimeError);
    widget.setMinValue(50);
    widget.setMaxValue(50);
    widget.setAlarmHighVal(50);
    QTRY_VERIFY_WITH_TIMEOUT(errors.count() >= 1, 1000);
    QCOMPARE(errors.at(0).at(0).toInt(), 6);
    QCOMPARE(errors.at(0).at(2).toString(), QString());
    // The timer stays enabled and ticks once per interval, not in a loop.
    QTest::qWait(350);
    QVERIFY2(errors.count() <= 5, qPrintable(QString::number(errors.count())));
}

void GaugeProperties::everyPropertyHasItsKindsTypeAndNotifies() {
    // moc expands the property list: each row is a Qt property of its kind's type, each with
    // a change signal, colours twice.
    const QMetaObject& meta = MervGaugeWidget::staticMetaObject;
    const QHash<QString, QMetaType::Type> expected{
        {"VariableName", QMetaType::QString}, {"Precision", QMetaType::Int},
        {"AlarmLowStatus", QMetaType::Bool},  {"WarningHighVal", QMetaType::Double},
        {"Value", QMetaType::Double},         {"BackColorText", QMetaType::UInt},
        {"AlarmColor", QMetaType::UInt},      {"alarmQColor", QMetaType::QColor},
        {"textQColor", QMetaType::QColor}};
    QCOMPARE(meta.propertyCount() - meta.propertyOffset(), 21 + 7);
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QString name = QString::fromLatin1(property.name());
        QVERIFY2(property.hasNotifySignal(), qPrintable(name));
        QCOMPARE(QString::fromLatin1(property.notifySignal().name()), name + "Changed");
        QCOMPARE(property.isWritable(), !name.endsWith("Status"));
        if (expected.contains(name))
            QCOMPARE(property.typeId(), int(expected[name]));
    }
}

void GaugeProperties::aWriteNotifiesOnlyWhatTheControlStoresAnew_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("first");
    QTest::addColumn<QVariant>("second");
    QTest::addColumn<QVariant>("notified");
    QTest::addColumn<int>("notices");
    QTest::newRow("a text, then the same")
        << "EngUnit" << QVariant("bar") << QVariant("bar") << QVariant("bar") << 1;
    QTest::newRow("a single, then the same")
        << "MaxValue" << QVariant(250.0) << QVariant(250.0) << QVariant(250.0) << 1;
    // The control stores a single: a double that narrows to it is no change.
    QTest::newRow("a single, then a double narrowing to it")
        << "Value" << QVariant(0.1) << QVariant(0.1 + 1e-12) << QVariant(double(0.1f)) << 1;
    QTest::newRow("two singles") << "AlarmLowVal" << QVariant(10.0) << QVariant(12.0)
                                 << QVariant(12.0) << 2;
    // A precision above five is stored as 0, which the gauge holds already.
    QTest::newRow("a precision the control stores as it was")
        << "Precision" << QVariant(7) << QVariant(7) << QVariant() << 0;
    QTest::newRow("a colour, then the same")
        << "NormalColor" << QVariant::fromValue<quint32>(0x102030)
        << QVariant::fromValue<quint32>(0x102030) << QVariant::fromValue<quint32>(0x102030) << 1;
}

void GaugeProperties::aWriteNotifiesOnlyWhatTheControlStoresAnew() {
    QFETCH(QString, name);
    QFETCH(QVariant, first);
    QFETCH(QVariant, second);
    QFETCH(QVariant, notified);
    QFETCH(int, notices);
    MervGaugeWidget widget;
    widget.ensurePolished();
    const QMetaObject& meta = *widget.metaObject();
    const QMetaProperty property = meta.property(meta.indexOfProperty(qPrintable(name)));
    QSignalSpy spy(&widget, property.notifySignal());
    QSignalSpy reported(&widget, &MervGaugeWidget::propertyChanged);
    QVERIFY(widget.setProperty(qPrintable(name), first));
    QVERIFY(widget.setProperty(qPrintable(name), second));
    QCOMPARE(spy.count(), notices);
    if (notices > 0)
        QCOMPARE(spy.last().at(0), notified);
    // The control's own notice comes for every write, changed or not.
    QCOMPARE(reported.count(), 2);
}

void GaugeProperties::aColourAndItsQColorNotifyTogether() {
    MervGaugeWidget widget;
    widget.ensurePolished();
    QSignalSpy stored(&widget, &MervGaugeWidget::AlarmColorChanged);
    QSignalSpy shown(&widget, &MervGaugeWidget::alarmQColorChanged);
    widget.setAlarmQColor(QColor(0x12, 0x34, 0x56));
    widget.setAlarmQColor(QColor(0x12, 0x34, 0x56));
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.at(0).at(0).toUInt(), 0x563412u);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.at(0).at(0).value<QColor>(), QColor(0x12, 0x34, 0x56));
}

void GaugeProperties::gettersOfAWaitingGaugeAnswerTheWrittenValues() {
    // Writes wait for the first look at the gauge; a read is no look.
    MervGaugeWidget widget;
    widget.setValue(42);
    widget.setAlarmColor(0x0000C0);
    QCOMPARE(widget.Value(), 42.0);
    QCOMPARE(widget.MaxValue(), 100.0);
    QCOMPARE(widget.AlarmColor(), 0x0000C0u);
    QCOMPARE(widget.alarmQColor(), QColor(0xC0, 0, 0));
    QCOMPARE(widget.AlarmHighStatus(), false);
    QVERIFY(!widget.isFaceDrawn());
    // Restored in the persisted order when it is looked at, the values as written.
    widget.ensurePolished();
    QTRY_VERIFY(widget.isFaceDrawn());
    QCOMPARE(widget.Value(), 42.0);
    QCOMPARE(widget.AlarmColor(), 0x0000C0u);
}

void GaugeProperties::aFailedWriteLeavesItsErrorUntilTheNextCall() {
    MervGaugeWidget widget;
    QSignalSpy errors(&widget, &MervGaugeWidget::runtimeError);
    widget.setValue(1e39);
    QCOMPARE(widget.lastErrorNumber(), int(merv::ErrorNumber::Overflow));
    QVERIFY(!widget.lastErrorString().isEmpty());
    QCOMPARE(errors.count(), 1);
    widget.setValue(5);
    QCOMPARE(widget.lastErrorNumber(), MervGaugeWidget::NoError);
    QCOMPARE(widget.lastErrorString(), QString());
    // A call by name fails quietly: its caller has the answer.
    QVERIFY(!widget.putProperty(QStringLiteral("AlarmHighStatus"), true));
    QCOMPARE(widget.lastErrorNumber(), int(merv::ErrorNumber::PropertyIsReadOnly));
    QCOMPARE(errors.count(), 1);
}

QTEST_MAIN(GaugeProperties)
#include "tst_GaugeProperties.moc"
