// An alarm is its gauge's: two gauges of one caption keep their alarms apart, alarms of a
// form's start values are recorded and come back after a restart, a gauge has no data until
// its first value, and File → Open asks before unacknowledged alarms leave the summary.
#include "FakeSource.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace merv::panel {
namespace {

// Two gauges of the default caption "Var" on tags of their own; thresholds 20 35 65 80.
Form twoOfOneCaption(double startValue = 50) {
    Form form;
    form.title = "Tanks";
    for (int i = 0; i < 2; ++i) {
        FormGauge gauge;
        gauge.bag.writeProperty("Value", Variant::single(float(startValue)), Variant());
        gauge.tag = "tank/" + std::to_string(i + 1);
        gauge.col = i;
        form.gauges.push_back(gauge);
    }
    return form;
}

struct Panel {
    Panel(AlarmHistory& history, Form form) {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        controller = std::make_unique<PanelController>(std::move(form), std::move(owned), &history,
                                                       "A", &parent);
        controller->start();
    }
    QStringList rows() const {
        QStringList out;
        for (const auto& a : controller->alarms().alarms())
            out << QString::fromStdString(a.tag + " " + std::string(nameOf(a.kind)) + " ") +
                       AlarmSummaryModel::stateName(a.state) +
                       (a.carriedOver ? QStringLiteral(" carried") : QString());
        return out;
    }
    QWidget parent;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelController> controller;
};

QStringList recorded(AlarmHistory& history) {
    QStringList out;
    for (const auto& t : history.query())
        out << QString::fromStdString(t.tag + " " + t.variable + " " + std::string(nameOf(t.kind)) +
                                      " " + std::string(nameOf(t.transition)));
    return out;
}

} // namespace

class tst_AlarmIdentity : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void gaugesOfOneCaptionRaiseReturnAndAcknowledgeAlarmsOfTheirOwn();
    void startUpAlarmsAreRecordedAndARestartCarriesThemOver();
    void aGaugeHasNoDataUntilItsFirstValue();
    void openingAFormWithUnacknowledgedAlarmsAsksFirst();
};

void tst_AlarmIdentity::gaugesOfOneCaptionRaiseReturnAndAcknowledgeAlarmsOfTheirOwn() {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.sqlite");
    Panel p(history, twoOfOneCaption());
    p.source->sendStartValues();
    p.source->send("tank/1", 99);
    p.source->send("tank/2", 98);
    p.source->send("tank/1", 50);
    QCOMPARE(p.rows(), (QStringList{"tank/2 OnAlarmHigh Active, unacknowledged",
                                    "tank/1 OnAlarmHigh Returned, unacknowledged"}));
    // Acknowledging the first gauge leaves the second's active alarm unacknowledged.
    p.controller->acknowledgeGauge(0);
    QCOMPARE(p.rows(), QStringList{"tank/2 OnAlarmHigh Active, unacknowledged"});
    QCOMPARE(p.controller->alarms().unacknowledgedCount(), 1);
    waitForHistory(*p.controller);
    const QStringList rows = recorded(history);
    QCOMPARE(rows.count("tank/1 Var OnAlarmHigh returned"), 1);
    QCOMPARE(rows.count("tank/2 Var OnAlarmHigh returned"), 0);
    QCOMPARE(rows.count("tank/1 Var OnAlarmHigh acknowledged"), 1);
}

void tst_AlarmIdentity::startUpAlarmsAreRecordedAndARestartCarriesThemOver() {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.sqlite");
    const std::int64_t before = FakeSource().now;
    {
        // A start value above the high alarm: each gauge's high alarm rises as the form opens.
        Panel first(history, twoOfOneCaption(90));
        QCOMPARE(first.controller->alarms().unacknowledgedCount(), 2);
        first.controller->acknowledgeGauge(1);
    }
    const QStringList rows = recorded(history);
    QCOMPARE(rows.count("tank/1 Var OnAlarmHigh raised"), 1);
    QCOMPARE(rows.count("tank/2 Var OnAlarmHigh raised"), 1);
    for (const auto& t : history.query())
        QVERIFY2(t.timeMs >= before, qPrintable(QString::number(t.timeMs)));

    // Restarted on a form whose start values are normal: the open alarms come back, carried.
    Panel second(history, twoOfOneCaption(50));
    QCOMPARE(second.rows(), (QStringList{"tank/1 OnAlarmHigh Active, unacknowledged carried",
                                         "tank/2 OnAlarmHigh Active, acknowledged carried"}));
    QVERIFY(second.controller->alarms()
                .data(second.controller->alarms().index(0, AlarmSummaryModel::StateColumn))
                .toString()
                .contains(AlarmSummaryModel::carriedOverMark()));
    // The first values: the first tank is normal again, so its alarm returns; the second is
    // high, which its gauge (started normal) raises anew.
    second.source->send("tank/1", 50);
    second.source->send("tank/2", 90);
    QCOMPARE(second.rows(), (QStringList{"tank/2 OnAlarmHigh Active, unacknowledged",
                                         "tank/1 OnAlarmHigh Returned, unacknowledged carried"}));
    waitForHistory(*second.controller);
    QCOMPARE(recorded(history).count("tank/1 Var OnAlarmHigh returned"), 1);
}

void tst_AlarmIdentity::aGaugeHasNoDataUntilItsFirstValue() {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.sqlite");
    Panel p(history, twoOfOneCaption());
    QCOMPARE(p.controller->qualityReason(0), QStringLiteral("No data yet"));
    QCOMPARE(p.controller->badQualityCount(), 2);
    p.source->send("tank/2", 40);
    QCOMPARE(p.controller->qualityReason(0), QStringLiteral("No data yet"));
    QCOMPARE(p.controller->qualityReason(1), QString());
    QCOMPARE(p.controller->badQualityCount(), 1);
}

void tst_AlarmIdentity::openingAFormWithUnacknowledgedAlarmsAsksFirst() {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.sqlite");
    const std::int64_t panelStarted = QDateTime::currentMSecsSinceEpoch();
    const auto path = folder / "other.json";
    Form other = defaultForm();
    other.title = "Other";
    other.gauges.resize(1);
    saveForm(path, other);
    // The start values raise alarms on the panel's own clock: the simulator's.
    PanelWindow window(twoOfOneCaption(90), {}, openSource("sim", SourceOptions{}), &history, "A");
    window.controller().start();
    window.show();
    QCOMPARE(window.controller().alarms().unacknowledgedCount(), 2);
    for (const auto& alarm : window.controller().alarms().alarms())
        QVERIFY2(alarm.timeMs >= panelStarted, qPrintable(QString::number(alarm.timeMs)));

    QAction* open = nullptr;
    for (QAction* action : window.menuBar()->actions().first()->menu()->actions())
        if (action->shortcut() == QKeySequence(QKeySequence::Open))
            open = action;
    QVERIFY(open);
    // File → Open: the file dialog names the form, then the question is answered.
    auto answer = [&](const QString& button) {
        QString asked;
        QTimer::singleShot(0, [&, button] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->selectFile(QString::fromStdString(path.string()));
            QMetaObject::invokeMethod(dialog, "accept");
            QTimer::singleShot(0, [&, button] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                asked = box->text();
                for (QAbstractButton* b : box->buttons())
                    if (b->text().remove('&') == button)
                        b->click();
            });
        });
        open->trigger();
        return asked;
    };
    QCOMPARE(answer("Keep This Form"), QStringLiteral("This form has 2 unacknowledged alarm(s)."));
    QCOMPARE(window.controller().title(), QStringLiteral("Tanks"));
    QCOMPARE(window.controller().alarms().unacknowledgedCount(), 2);
    QVERIFY(!answer("Open and Discard").isEmpty());
    QCOMPARE(window.controller().title(), QStringLiteral("Other"));
    for (const auto& alarm : window.controller().alarms().alarms())
        QVERIFY2(alarm.timeMs >= panelStarted, qPrintable(QString::number(alarm.timeMs)));
    waitForHistory(window.controller());
    for (const auto& t : history.query())
        QVERIFY2(t.timeMs >= panelStarted, qPrintable(QString::number(t.timeMs)));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_AlarmIdentity)
#include "tst_AlarmIdentity.moc"
