// The item as screen readers meet it: a read-only dial with the measured variable's name, the
// shown value and the alarm state in words, and an event for each real change of them.
#include "QuickTestSupport.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QTest>

namespace {

// The accessibility events sent since the recorder was made, as "kind: text".
struct Recorder {
    static inline QStringList events;
    static void record(QAccessibleEvent* event) {
        if (!qobject_cast<MervGauge*>(event->object()))
            return;
        switch (event->type()) {
        case QAccessible::NameChanged:
            events << "name";
            break;
        case QAccessible::ValueChanged:
            events << "value: " +
                          static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
            break;
        case QAccessible::DescriptionChanged:
            events << "description";
            break;
        default:
            break;
        }
    }
    Recorder() {
        events.clear();
        MervGauge::setAccessibleEventSink(&Recorder::record);
    }
    ~Recorder() { MervGauge::setAccessibleEventSink({}); }
};

} // namespace

class QuickAccessibility : public QObject {
    Q_OBJECT
private slots:
    void aReadOnlyDialWithNameValueAndState();
    void theValueInterfaceGivesTheScale();
    void eachRealChangeIsAnEvent();
    void openEditorInputsAreChildrenNamedByTheirCaptions();
};

void QuickAccessibility::aReadOnlyDialWithNameValueAndState() {
    QuickScene scene(gaugeScene("variableName: \"Pressure\"; engUnit: \"bar\"; value: 90"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QVERIFY(scene.show(QSize(200, 200)));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(scene.gauge());
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Dial);
    QVERIFY(iface->state().readOnly);
    QCOMPARE(iface->text(QAccessible::Name), QString("Pressure"));
    QCOMPARE(iface->text(QAccessible::Value), QString("90 bar"));
    QCOMPARE(iface->text(QAccessible::Description), QString("high alarm"));
    QCOMPARE(iface->window(), &scene.window());
    QCOMPARE(iface->rect(), QRect(scene.window().position(), QSize(int(scene.gauge()->width()),
                                                                   int(scene.gauge()->height()))));
    scene.gauge()->setValue(50);
    QCOMPARE(iface->text(QAccessible::Description), QString("normal"));
}

void QuickAccessibility::theValueInterfaceGivesTheScale() {
    // A scale written upside down still reads from its lower end to its upper one.
    QuickScene scene(gaugeScene("minValue: 100; maxValue: 0; value: 30"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QAccessibleValueInterface* value =
        QAccessible::queryAccessibleInterface(scene.gauge())->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toDouble(), 30.0);
    QCOMPARE(value->minimumValue().toDouble(), 0.0);
    QCOMPARE(value->maximumValue().toDouble(), 100.0);
    value->setCurrentValue(70);
    QCOMPARE(scene.gauge()->Value(), 30.0);
}

void QuickAccessibility::eachRealChangeIsAnEvent() {
    QuickScene scene(gaugeScene("engUnit: \"bar\""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    Recorder recorder;
    gauge->setValue(90);
    QCOMPARE(Recorder::events, (QStringList{"value: 90 bar", "description"}));
    Recorder::events.clear();
    gauge->setValue(90);
    gauge->setVariableName(gauge->VariableName());
    QCOMPARE(Recorder::events, QStringList{});
    gauge->setVariableName("Flow");
    QCOMPARE(Recorder::events, QStringList{"name"});
}

void QuickAccessibility::openEditorInputsAreChildrenNamedByTheirCaptions() {
    QuickScene scene(gaugeScene("locale: Qt.locale(\"en_US\")"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QVERIFY(scene.show(QSize(200, 200)));
    MervGauge* gauge = scene.gauge();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(gauge);
    QCOMPARE(iface->childCount(), 0);
    gauge->openEditor();
    QVERIFY(gauge->editorOpen());
    // Listed as the focus walks them: from the top of the panel down, then OK.
    const auto names = [&] {
        QStringList out;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            if (!child)
                return QStringList{QStringLiteral("(no interface)")};
            out << child->text(QAccessible::Name);
            if (iface->indexOfChild(child) != i)
                out << QStringLiteral("(wrong index)");
        }
        return out;
    };
    QCOMPARE(names(),
             (QStringList{"High alarm", "High warning", "Low warning", "Low alarm", "OK"}));
    // The names follow the captions into another language.
    gauge->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    QVERIFY(!names().contains(QStringLiteral("High alarm")));
    QCOMPARE(names().size(), 5);
}

QTEST_MAIN(QuickAccessibility)
#include "tst_QuickAccessibility.moc"
