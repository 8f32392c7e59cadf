// A history that cannot be written (a full disk, a file made read-only) never ends the panel:
// the failure is a station alarm and a status, the transitions wait in order and are written
// once the history takes them again. Also: the status bar's temporary messages beside, never
// over, its permanent text.
#include "FailingVfs.h"
#include "FakeSource.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"

#include <QAbstractItemModelTester>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include <fstream>
#include <sstream>

namespace merv::panel {
namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;
constexpr const char* Pressure = "boiler/drum/pressure"; // "Drum pressure": 25 32 44 48

// The default form in a window over a fake source, its history through the failing VFS.
struct Panel {
    Panel() : vfs(test::FailingVfs::instance()), history(folder / "history.sqlite", vfs.Name) {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        window = std::make_unique<PanelWindow>(defaultForm(), std::filesystem::path(),
                                               std::move(owned), &history, "A");
        tester = std::make_unique<QAbstractItemModelTester>(&controller().alarms(), Fatal);
        QObject::connect(&controller().alarms(), &AlarmSummaryModel::transitioned,
                         [this](const AlarmTransition& t) { announced.push_back(t); });
        controller().start();
        window->resize(window->sizeHint());
        window->show();
        QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    }
    ~Panel() { vfs.succeed(); }
    PanelController& controller() { return window->controller(); }
    QString status() { return window->statusBar()->findChild<QLabel*>()->text(); }
    std::string stationAlarm() {
        return controller().alarms().stationAlarmText(PanelController::HistoryAlarmId);
    }
    const AlarmSummaryModel::Alarm* stationRow() {
        for (const auto& alarm : controller().alarms().alarms())
            if (alarm.station)
                return &alarm;
        return nullptr;
    }

    test::FailingVfs& vfs;
    test::TempFolder folder;
    AlarmHistory history;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::vector<AlarmTransition> announced;
};

} // namespace

class tst_HistoryFailure : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void aFailingHistoryIsAStationAlarmAndItsTransitionsAreWrittenInOrderLater_data();
    void aFailingHistoryIsAStationAlarmAndItsTransitionsAreWrittenInOrderLater();
    void theRetryTimerWritesTheKeptTransitionsWithoutANewOne();
    void whatIsStillUnwrittenAtTheEndGoesToARecoveryFile();
    void aTemporaryMessageShowsBesideThePermanentTextNotOverIt();
};

void tst_HistoryFailure::
    aFailingHistoryIsAStationAlarmAndItsTransitionsAreWrittenInOrderLater_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << int(SQLITE_FULL) << QStringLiteral("database or disk is full");
    QTest::newRow("read-only") << int(SQLITE_READONLY)
                               << QStringLiteral("attempt to write a readonly database");
}

void tst_HistoryFailure::aFailingHistoryIsAStationAlarmAndItsTransitionsAreWrittenInOrderLater() {
    QFETCH(int, code);
    QFETCH(QString, reason);
    Panel p;
    p.vfs.failWith(code);
    p.source->send(Pressure, 50); // above the high warning and the high alarm
    p.source->send(Pressure, 40); // back to normal
    QVERIFY(p.window->isVisible());
    QVERIFY(p.announced.size() >= 2);
    // The writer's thread tries, fails and says so.
    QTRY_VERIFY(!p.stationAlarm().empty());
    QTRY_VERIFY(
        p.status().contains(QStringLiteral("%1 transition(s) kept").arg(p.announced.size())));
    QVERIFY(p.history.query().empty());

    // The summary: the gauge's alarms as ever, and the station's own at the top.
    const std::string text = p.stationAlarm();
    QVERIFY2(text.starts_with("Alarm history not writable: "), text.c_str());
    QVERIFY2(QString::fromStdString(text).contains(reason), text.c_str());
    QCOMPARE(p.controller().alarms().alarms().front().station, true);
    QCOMPARE(p.controller().alarms().data(p.controller().alarms().index(0, 3)).toString(),
             QString::fromStdString(text));
    QVERIFY(std::any_of(p.controller().alarms().alarms().begin(),
                        p.controller().alarms().alarms().end(),
                        [](const auto& a) { return !a.station && a.variable == "Drum pressure"; }));
    QVERIFY2(p.status().contains(QString::fromStdString(text)), qPrintable(p.status()));
    QVERIFY2(p.status().contains(QStringLiteral("%1 transition(s) kept").arg(p.announced.size())),
             qPrintable(p.status()));
    QTRY_VERIFY2(p.window->windowTitle().contains(QStringLiteral("unacknowledged")),
                 qPrintable(p.window->windowTitle()));

    // Writable again: the next transition writes the kept ones first, in order.
    p.vfs.succeed();
    p.source->send(Pressure, 20); // below the low alarm
    waitForHistory(p.controller());
    QCOMPARE(p.history.query(), p.announced);
    const auto* row = p.stationRow();
    QVERIFY(row);
    QCOMPARE(row->state, AlarmState::ReturnedUnacknowledged);
    QVERIFY2(!p.status().contains(QStringLiteral("not writable")), qPrintable(p.status()));
    p.controller().acknowledgeAll();
    QVERIFY(!p.stationRow());
    // The station alarm is neither recorded nor shared: only the gauges' acknowledgements are.
    for (const AlarmTransition& t : p.history.query())
        QVERIFY(t.variable != PanelController::HistoryAlarmId);
}

void tst_HistoryFailure::theRetryTimerWritesTheKeptTransitionsWithoutANewOne() {
    Panel p;
    p.vfs.failWith(SQLITE_FULL);
    p.source->send(Pressure, 50);
    QTRY_VERIFY(!p.stationAlarm().empty());
    p.vfs.succeed();
    // No other transition: the timer's retry (half a second after the failure) writes them.
    QTRY_COMPARE_WITH_TIMEOUT(p.history.query().size(), p.announced.size(), 20000);
    QCOMPARE(p.history.query(), p.announced);
    // The writer's word that the history takes writes again comes to the window's thread.
    QTRY_COMPARE(p.stationRow()->state, AlarmState::ReturnedUnacknowledged);
}

void tst_HistoryFailure::whatIsStillUnwrittenAtTheEndGoesToARecoveryFile() {
    Panel p;
    p.vfs.failWith(SQLITE_FULL);
    p.source->send(Pressure, 50);
    const QStringList lines = p.controller().finish(50);
    QCOMPARE(lines.size(), 1);
    const QRegularExpressionMatch where =
        QRegularExpression(QStringLiteral(" in (/.*\\.csv)$")).match(lines[0]);
    QVERIFY2(where.hasMatch(), qPrintable(lines[0]));
    const std::filesystem::path path = where.captured(1).toStdString();
    QCOMPARE(path.parent_path(), p.folder.path());
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::ostringstream expected;
    writeCsv(expected, p.announced);
    QCOMPARE(text.str(), expected.str());
    QVERIFY2(lines[0].startsWith(QStringLiteral("%1 transition(s)").arg(p.announced.size())),
             qPrintable(lines[0]));
}

void tst_HistoryFailure::aTemporaryMessageShowsBesideThePermanentTextNotOverIt() {
    Panel p;
    QStatusBar* bar = p.window->statusBar();
    auto* permanent = bar->findChild<QLabel*>();
    QVERIFY(permanent);
    QTest::qWait(20);
    const QImage before = bar->grab().toImage();
    bar->showMessage(QStringLiteral("Drum pressure: Refused: a value out of range (error 380)"));
    QVERIFY(permanent->isVisible());
    // The permanent text reads whole, and the message has its own room left of it.
    QVERIFY(permanent->width() >= permanent->sizeHint().width());
    const QImage after = bar->grab().toImage();
    const QRect label = permanent->geometry();
    QCOMPARE(after.copy(label), before.copy(label));
    QVERIFY2(after.copy(0, 0, label.left(), bar->height()) !=
                 before.copy(0, 0, label.left(), bar->height()),
             "the message is not shown");
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_HistoryFailure)
#include "tst_HistoryFailure.moc"
