// The Qt Quick example from the source tree: its three gauges follow the simulated signal and
// their events fill the list of alarms.
#include <mervgauge/MervGauge.h>

#include <QQmlApplicationEngine>
#include <QSignalSpy>
#include <QTest>

class QuickDashboard : public QObject {
    Q_OBJECT
private slots:
    void gaugesFollowTheSignalAndTheirAlarmsFillTheList();
};

void QuickDashboard::gaugesFollowTheSignalAndTheirAlarmsFillTheList() {
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(MERVGAUGE_QML_DIR));
    engine.load(QUrl::fromLocalFile(QStringLiteral(MERVGAUGE_DASHBOARD_QML)));
    QCOMPARE(engine.rootObjects().size(), 1);
    QObject* window = engine.rootObjects().front();
    const QList<MervGauge*> gauges = window->findChildren<MervGauge*>();
    QCOMPARE(gauges.size(), 3);
    QSignalSpy alarms(window, SIGNAL(alarmRaised(QString)));
    QSignalSpy pressureAlarms(gauges[0], &MervGauge::onAlarmHigh);
    // The pressure sweeps 1 to 15 bar, through its high alarm at 14, about every 3 seconds.
    QTRY_VERIFY_WITH_TIMEOUT(pressureAlarms.count() >= 1, 5000);
    QVERIFY(alarms.count() >= 1);
    QVERIFY2(alarms.last().at(0).toString().contains(" at "),
             qPrintable(alarms.last().at(0).toString()));
    for (MervGauge* gauge : gauges)
        QCOMPARE(gauge->lastErrorNumber(), int(MervGauge::NoError));
    // The gauge holds the reading it is bound to (as a single, through the text it keeps).
    const double reading = window->property("pressure").toDouble();
    QVERIFY2(qAbs(gauges[0]->Value() - reading) < 1e-4,
             qPrintable(QString("%1 for %2").arg(gauges[0]->Value()).arg(reading)));
}

QTEST_MAIN(QuickDashboard)
#include "tst_QuickDashboard.moc"
