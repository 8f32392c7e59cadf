// The panel's controller and window on a source the test drives: alarm states and history,
// quality, shared acknowledgements, forms saved and opened, and the history dialog's filters.
#include "FakeSource.h"
#include "HistoryDialog.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <limits>

namespace merv::panel {
namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

constexpr const char* Pressure = "boiler/drum/pressure"; // "Drum pressure": 25 32 44 48

// One station: a controller on the default form with a fake source and a history file.
struct Station {
    explicit Station(const std::string& name, FakeChannel* channel = nullptr)
        : history(folder / "history.sqlite") {
        auto owned = std::make_unique<FakeSource>(channel);
        source = owned.get();
        controller = std::make_unique<PanelController>(defaultForm(), std::move(owned), &history,
                                                       name, &parent);
        // Every change of the summary keeps to Qt's rules for item models.
        tester = std::make_unique<QAbstractItemModelTester>(&controller->alarms(), Fatal);
        controller->start();
        QTest::qWait(50); // the first dial redraw takes the threshold snapshots
    }
    QStringList rows() const {
        QStringList out;
        for (const auto& a : controller->alarms().alarms())
            out << QString::fromStdString(a.variable + " " + std::string(nameOf(a.kind)) + " ") +
                       AlarmSummaryModel::stateName(a.state);
        return out;
    }
    QStringList transitions() {
        waitForHistory(*controller);
        QStringList out;
        for (const auto& t : history.query())
            out << QString::fromStdString(std::string(nameOf(t.kind)) + " " +
                                          std::string(nameOf(t.transition)) + " " + t.station);
        return out;
    }
    test::TempFolder folder;
    AlarmHistory history;
    QWidget parent;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelController> controller;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

// Counts the events of one type an object receives.
class EventCounter : public QObject {
public:
    EventCounter(QEvent::Type type, int& count) : m_type(type), m_count(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        m_count += event->type() == m_type;
        return false;
    }

private:
    QEvent::Type m_type;
    int& m_count;
};

struct WindowFixture {
    WindowFixture() : history(folder / "history.sqlite") {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        window = std::make_unique<PanelWindow>(defaultForm(), std::filesystem::path(),
                                               std::move(owned), &history, "A");
        // The summary as the view sees it, sorted, and replaced whole when a form is opened.
        tester = std::make_unique<QAbstractItemModelTester>(
            window->findChild<QTableView*>()->model(), Fatal);
        window->controller().start();
        window->resize(window->sizeHint());
        window->show();
        QTest::qWait(50);
    }
    test::TempFolder folder;
    AlarmHistory history;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

const QString TitleWithOneAlarm =
    QStringLiteral("Boiler 1 - steam plant overview \u2014 1 unacknowledged");

} // namespace

class tst_Panel : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    // The controller.
    void startsTheSourceWithEachGaugesTagRangeAndThresholds();
    void anUnknownTagIsLoggedNamingTheGaugesThatReadIt();
    void scriptedValuesDriveTheAlarmStatesAndTheHistory();
    void qualityGoesBadAndRecoversForEachCause();
    void acknowledgementsAreSharedBetweenStations();
    // The window.
    void savingTheFormKeepsAThresholdTheOperatorChanged();
    void titleCountsUnacknowledgedAlarmsAndTheSnapshotShowsEveryGauge();
    void openingAFormReplacesTheGaugesInPlaceAndABadOneChangesNothing();
    void aBurstOfTransitionsRetitlesTheWindowOnce();
    // The history dialog.
    void historyFiltersByTimeRangeAndVariable();
};

void tst_Panel::startsTheSourceWithEachGaugesTagRangeAndThresholds() {
    Station s("A");
    QCOMPARE(s.source->started.size(), std::size_t(6));
    const SourceTag& t = s.source->started[0];
    QCOMPARE(t.tag, std::string(Pressure));
    QCOMPARE((QList<double>{t.minimum, t.maximum, t.alarmLow, t.warningLow, t.warningHigh,
                            t.alarmHigh, t.normal}),
             (QList<double>{0, 60, 25, 32, 44, 48, 40}));
}

void tst_Panel::anUnknownTagIsLoggedNamingTheGaugesThatReadIt() {
    test::TempFolder folder;
    AlarmHistory history(folder / "history.sqlite");
    QWidget parent;
    Form form = defaultForm();
    form.gauges[1].tag = form.gauges[4].tag = "boiler/steam/temprature";
    auto owned = std::make_unique<FakeSource>();
    FakeSource* source = owned.get();
    PanelController controller(std::move(form), std::move(owned), &history, "A", &parent);
    QStringList lines;
    QObject::connect(&controller, &PanelController::logged,
                     [&](const QString& line) { lines << line; });
    controller.start();
    emit source->tagUnknown(QStringLiteral("boiler/steam/temprature"), QStringLiteral("why"));
    QCOMPARE(lines, QStringList{"Feedwater temp, Steam temp: why"});
}

void tst_Panel::scriptedValuesDriveTheAlarmStatesAndTheHistory() {
    Station s("A");
    AlarmSummaryModel& alarms = s.controller->alarms();
    s.source->send(Pressure, 50);
    QCOMPARE(s.rows(), QStringList{"Drum pressure OnAlarmHigh Active, unacknowledged"});
    QCOMPARE(alarms.alarms()[0].value, 50.0);
    // The summary shows the value as the gauge showed it at the event, with its unit.
    QCOMPARE(alarms.data(alarms.index(0, AlarmSummaryModel::ValueColumn)).toString(),
             QStringLiteral("50.0 bar"));
    s.controller->acknowledgeRows({0});
    QCOMPARE(s.rows(), QStringList{"Drum pressure OnAlarmHigh Active, acknowledged"});
    s.source->send(Pressure, 40); // back to normal, already acknowledged: the row leaves
    QCOMPARE(s.rows(), QStringList{});

    s.source->send(Pressure, 20); // low alarm, then only a low warning
    s.source->send(Pressure, 30);
    QCOMPARE(s.rows(), (QStringList{"Drum pressure OnWarningLow Active, unacknowledged",
                                    "Drum pressure OnAlarmLow Returned, unacknowledged"}));
    QCOMPARE(alarms.unacknowledgedCount(), 2);
    s.controller->acknowledgeAll();
    QCOMPARE(s.rows(), QStringList{"Drum pressure OnWarningLow Active, acknowledged"});
    QCOMPARE(s.transitions(),
             (QStringList{"OnAlarmHigh raised A", "OnAlarmHigh acknowledged A",
                          "OnAlarmHigh returned A", "OnAlarmLow raised A",
                          // the warning is raised during the pass that ends the alarm
                          "OnWarningLow raised A", "OnAlarmLow returned A",
                          "OnWarningLow acknowledged A", "OnAlarmLow acknowledged A"}));
    QCOMPARE(s.controller->raisedCounts().at(AlarmKind::AlarmLow), 1);
}

void tst_Panel::qualityGoesBadAndRecoversForEachCause() {
    Station s("A");
    auto reason = [&] { return s.controller->qualityReason(0); };
    QCOMPARE(reason(), QStringLiteral("No data yet"));
    s.source->sendStartValues();
    QCOMPARE(reason(), QString());
    s.controller->advance(DefaultStaleMs + 500, 100); // on the source's clock
    QVERIFY2(reason().startsWith("Stale"), qPrintable(reason()));
    QCOMPARE(s.controller->badQualityCount(), 6);
    s.source->send(Pressure, 41);
    QCOMPARE(reason(), QString());
    QCOMPARE(s.controller->badQualityCount(), 5);

    emit s.source->payloadRejected(QString::fromLatin1(Pressure), QStringLiteral("not a number"));
    QCOMPARE(reason(), QStringLiteral("Bad payload: not a number"));
    QCOMPARE(float(s.controller->gauge(0)->Value()), 41.0f); // the last good value stays
    s.source->send(Pressure, 42);
    QCOMPARE(reason(), QString());

    s.source->send(Pressure, std::numeric_limits<double>::quiet_NaN());
    QVERIFY2(reason().startsWith("Refused: "), qPrintable(reason()));
    s.source->send(Pressure, 42);
    QCOMPARE(reason(), QString());

    s.source->setConnected(false);
    QCOMPARE(reason(), QStringLiteral("Disconnected: peer gone"));
    s.source->setConnected(true);
    QCOMPARE(reason(), QString());
}

void tst_Panel::acknowledgementsAreSharedBetweenStations() {
    FakeChannel channel;
    Station a("A", &channel), b("B", &channel);
    a.source->send(Pressure, 50);
    b.source->send(Pressure, 50);
    a.controller->acknowledgeAll();
    QCOMPARE(b.rows(), QStringList{"Drum pressure OnAlarmHigh Active, acknowledged"});
    QCOMPARE(b.transitions(), (QStringList{"OnAlarmHigh raised B", "OnAlarmHigh acknowledged A"}));
    QCOMPARE(a.transitions(), (QStringList{"OnAlarmHigh raised A", "OnAlarmHigh acknowledged A"}));
}

void tst_Panel::savingTheFormKeepsAThresholdTheOperatorChanged() {
    WindowFixture f;
    f.window->controller().gauge(0)->setAlarmHighVal(55);
    const auto path = f.folder / "form.json";
    f.window->saveFormTo(path);
    const Form saved = loadForm(path);
    bool found = false;
    for (const auto& [key, value] : saved.gauges[0].bag.entries()) {
        if (key == "AlarmHighVal") {
            found = true;
            QCOMPARE(value.toDouble(NumberLocale::english()), 55.0);
        }
    }
    QVERIFY(found);
    QCOMPARE(saved.gauges[0].tag, std::string(Pressure));
}

void tst_Panel::titleCountsUnacknowledgedAlarmsAndTheSnapshotShowsEveryGauge() {
    WindowFixture f;
    f.source->sendStartValues();
    f.source->send(Pressure, 50);
    QTRY_COMPARE(f.window->windowTitle(), TitleWithOneAlarm);
    QVERIFY(f.window->statusBar()->findChild<QLabel*>()->text().contains(
        QStringLiteral("fake — connected — 0 gauge(s) of bad quality")));
    const QPixmap picture = f.window->grab();
    QCOMPARE(picture.size(), f.window->size());
    for (int i = 0; i < f.window->controller().gaugeCount(); ++i) {
        MervGaugeWidget* gauge = f.window->controller().gauge(i);
        QVERIFY2(gauge->isVisible(), qPrintable(QString::number(i)));
        const QRect where(gauge->mapTo(f.window.get(), QPoint(0, 0)), gauge->size());
        QVERIFY2(picture.rect().contains(where), qPrintable(QString::number(i)));
    }
}

void tst_Panel::aBurstOfTransitionsRetitlesTheWindowOnce() {
    // A flood's transitions reach the window many to a pass of its event loop: the title (and
    // with it the window manager) follows once a pass, with the count after the last.
    WindowFixture f;
    f.source->sendStartValues();
    QTest::qWait(20);
    int retitled = 0;
    EventCounter counter(QEvent::WindowTitleChange, retitled);
    f.window->installEventFilter(&counter);
    // Every gauge above its high alarm: the count of unacknowledged alarms runs up to six.
    PanelController& c = f.window->controller();
    for (int i = 0; i < c.gaugeCount(); ++i)
        f.source->send(c.formGauge(i).tag.c_str(),
                       (c.gauge(i)->AlarmHighVal() + c.gauge(i)->MaxValue()) / 2);
    QTRY_VERIFY2(f.window->windowTitle().endsWith(QStringLiteral("\u2014 6 unacknowledged")),
                 qPrintable(f.window->windowTitle()));
    QTest::qWait(20);
    QCOMPARE(retitled, 1);
}

void tst_Panel::openingAFormReplacesTheGaugesInPlaceAndABadOneChangesNothing() {
    WindowFixture f;
    f.source->send(Pressure, 50);
    Form other = defaultForm();
    other.title = "Two gauges";
    other.source = "sim";
    other.gauges.resize(2);
    // Gauges of their own: the history's open alarm of the drum pressure is not theirs.
    for (FormGauge& gauge : other.gauges)
        gauge.id = "two/" + gauge.tag;
    const auto path = f.folder / "two.json";
    saveForm(path, other);

    bool refused = false;
    try {
        f.window->openForm(f.folder / "missing.json");
    } catch (...) {
        refused = true;
    }
    QVERIFY2(refused, "a missing form was opened");
    QCOMPARE(f.window->controller().gaugeCount(), 6);
    QTRY_COMPARE(f.window->windowTitle(), TitleWithOneAlarm);

    f.window->openForm(path);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Two gauges"));
    QCOMPARE(f.window->centralWidget()->findChildren<MervGaugeWidget*>().size(), qsizetype(2));
    QCOMPARE(f.window->controller().alarms().rowCount(), 0);
    QVERIFY(f.window->statusBar()->findChild<QLabel*>()->text().startsWith("Source: sim"));
}

void tst_Panel::historyFiltersByTimeRangeAndVariable() {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.sqlite");
    const std::int64_t t0 = QDateTime::currentMSecsSinceEpoch() - 3600'000;
    history.record({t0, "A", "Drum level", AlarmKind::AlarmLow, Transition::Raised, -160, "LT"});
    history.record(
        {t0 + 1000, "A", "Steam flow", AlarmKind::WarningHigh, Transition::Raised, 23, "FT"});
    history.record(
        {t0 + 2000, "A", "Drum level", AlarmKind::AlarmLow, Transition::Returned, -100, "LT"});
    history.record({t0 + 3000, "B", "Drum level", AlarmKind::AlarmLow, Transition::Acknowledged,
                    -100, "LT", "alice"});
    HistoryDialog dialog(history,
                         {{QStringLiteral("Drum level"), QStringLiteral("LT"), {}},
                          {QStringLiteral("Steam flow"), QStringLiteral("FT"), {}}},
                         DisplayZone::local());
    QAbstractItemModel& table = *dialog.findChild<QTableView*>()->model();
    QAbstractItemModelTester tester(&table, Fatal);
    QCOMPARE(dialog.shownCount(), 4);
    // An acknowledgement says who gave it, at which station.
    const int last = table.columnCount() - 1;
    QCOMPARE(table.headerData(last, Qt::Horizontal).toString(), QStringLiteral("Operator"));
    QCOMPARE(table.index(3, 1).data().toString(), QStringLiteral("B"));
    QCOMPARE(table.index(3, last).data().toString(), QStringLiteral("alice"));
    QCOMPARE(table.index(0, last).data().toString(), QString());
    dialog.findChild<QComboBox*>()->setCurrentIndex(1);
    dialog.refresh();
    QCOMPARE(dialog.shownCount(), 3);
    auto edits = dialog.findChildren<QDateTimeEdit*>();
    edits[0]->setDateTime(QDateTime::fromMSecsSinceEpoch(t0 + 1500));
    dialog.refresh();
    QCOMPARE(dialog.shownCount(), 2);
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_Panel)
#include "tst_Panel.moc"
