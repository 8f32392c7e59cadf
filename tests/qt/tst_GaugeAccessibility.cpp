// What screen readers learn of a gauge: its interface (role, name, value, description), the
// editor's inputs as its children, and the events that tell of changes, only real ones.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeAccessible.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>

#include <functional>
#include <vector>

namespace {

// One accessibility event as a test sees it: its type and, for a value change, the value.
struct Told {
    QAccessible::Event type;
    QString value;
    friend bool operator==(const Told&, const Told&) = default;
};

QString describe(const std::vector<Told>& told) {
    QStringList out;
    for (const Told& t : told)
        out << QStringLiteral("%1:%2").arg(int(t.type), 0, 16).arg(t.value);
    return out.join(QLatin1Char(' '));
}

} // namespace

class GaugeAccessibility : public QObject {
    Q_OBJECT
private slots:
    void interfaceNamesTheVariableAndReadsTheShownValue();
    void descriptionIsTheAlarmStateInWords_data();
    void descriptionIsTheAlarmStateInWords();
    void eventsComeOnlyForRealChanges();
    void whatChangedUnheardIsToldOnceSomebodyListens();
    void openEditorInputsAreChildrenNamedByTheirCaptions();
};

void GaugeAccessibility::interfaceNamesTheVariableAndReadsTheShownValue() {
    MervGaugeWidget widget;
    widget.setVariableName(QStringLiteral("Flow"));
    widget.setEngUnit(QStringLiteral("l/s"));
    widget.setValue(42);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&widget);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Dial);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Flow"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("42 l/s"));
    QVERIFY(iface->state().readOnly);
    QAccessibleValueInterface* value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toFloat(), 42.0f);
    QCOMPARE(value->minimumValue().toFloat(), 0.0f);
    QCOMPARE(value->maximumValue().toFloat(), 100.0f);
}

void GaugeAccessibility::descriptionIsTheAlarmStateInWords_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("description");
    // Default thresholds: alarms at 20 and 80, warnings at 35 and 65.
    QTest::newRow("above the high alarm, alarm outweighs warning") << 90.0f << "high alarm";
    QTest::newRow("between the high warning and alarm") << 70.0f << "high warning";
    QTest::newRow("inside the warnings") << 50.0f << "normal";
    QTest::newRow("between the low warning and alarm") << 30.0f << "low warning";
    QTest::newRow("below the low alarm") << 10.0f << "low alarm";
}

void GaugeAccessibility::descriptionIsTheAlarmStateInWords() {
    QFETCH(float, value);
    QFETCH(QString, description);
    MervGaugeWidget widget;
    widget.setValue(value);
    QCOMPARE(QAccessible::queryAccessibleInterface(&widget)->text(QAccessible::Description),
             description);
}

void GaugeAccessibility::eventsComeOnlyForRealChanges() {
    MervGaugeWidget widget;
    widget.setValue(50);
    widget.ensurePolished(); // the first look restores the gauge, and tells nobody
    QCOMPARE(widget.Value(), 50.0f);
    std::vector<Told> told;
    const auto restoreSink = qScopeGuard([] { MervGaugeAccessible::setEventSink({}); });
    MervGaugeAccessible::setEventSink([&](QAccessibleEvent* event) {
        QCOMPARE(event->object(), &widget);
        told.push_back({event->type(),
                        event->type() == QAccessible::ValueChanged
                            ? static_cast<QAccessibleValueChangeEvent*>(event)->value().toString()
                            : QString()});
    });
    struct Step {
        const char* shows;
        std::function<void()> write;
        std::vector<Told> expected;
    };
    const Step steps[] = {
        {"a value write that changes the text",
         [&] { widget.setValue(60); },
         {{QAccessible::ValueChanged, QStringLiteral("60 EU")}}},
        {"a value write that leaves the text as it was", [&] { widget.setValue(60.2f); }, {}},
        {"entering an alarm",
         [&] { widget.setValue(90); },
         {{QAccessible::ValueChanged, QStringLiteral("90 EU")},
          {QAccessible::DescriptionChanged, QString()}}},
        {"a VariableName change",
         [&] { widget.setVariableName(QStringLiteral("Flow")); },
         {{QAccessible::NameChanged, QString()}}},
        {"the same VariableName again",
         [&] { widget.setVariableName(QStringLiteral("Flow")); },
         {}},
    };
    for (const Step& step : steps) {
        told.clear();
        step.write();
        QVERIFY2(
            told == step.expected,
            qPrintable(
                QStringLiteral("%1: told %2").arg(QLatin1String(step.shows)).arg(describe(told))));
    }
}

// Without a screen reader the gauge builds no events; what changed meanwhile is told with the
// next change somebody hears, compared with what was last told.
void GaugeAccessibility::whatChangedUnheardIsToldOnceSomebodyListens() {
    MervGaugeWidget widget;
    widget.setValue(50);
    widget.ensurePolished();
    QVERIFY(!QAccessible::isActive());
    widget.setVariableName(QStringLiteral("Flow"));
    widget.setValue(90); // the high alarm
    widget.setValue(50); // back to normal, as screen readers last heard it
    std::vector<Told> told;
    const auto restoreSink = qScopeGuard([] { MervGaugeAccessible::setEventSink({}); });
    MervGaugeAccessible::setEventSink([&](QAccessibleEvent* event) {
        told.push_back({event->type(),
                        event->type() == QAccessible::ValueChanged
                            ? static_cast<QAccessibleValueChangeEvent*>(event)->value().toString()
                            : QString()});
    });
    widget.setValue(60);
    const std::vector<Told> expected{{QAccessible::NameChanged, QString()},
                                     {QAccessible::ValueChanged, QStringLiteral("60 EU")}};
    QVERIFY2(told == expected, qPrintable(describe(told)));
}

void GaugeAccessibility::openEditorInputsAreChildrenNamedByTheirCaptions() {
    MervGaugeWidget widget;
    widget.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&widget);
    QCOMPARE(iface->childCount(), 0);
    widget.openEditor();
    // Listed as the focus walks them: from the top of the panel down, then OK.
    const auto names = [&] {
        QStringList out;
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            out << child->text(QAccessible::Name);
            if (iface->indexOfChild(child) != i)
                out << QStringLiteral("(wrong index)");
        }
        return out;
    };
    QCOMPARE(names(),
             (QStringList{"High alarm", "High warning", "Low warning", "Low alarm", "OK"}));
    // The names follow the captions into another language.
    widget.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    QVERIFY(names().contains(QString::fromStdString(mervGaugeControl(widget).ui().AH.caption())));
    QCOMPARE(gauge::field(widget, "AlarmH")->accessibleName(),
             QString::fromStdString(mervGaugeControl(widget).ui().AH.caption()));
}

QTEST_MAIN(GaugeAccessibility)
#include "tst_GaugeAccessibility.moc"
