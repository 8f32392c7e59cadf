#include "FakeSource.h"
#include "HistoryDialog.h"
#include "PanelController.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/bagfile/BagError.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>

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
    std::vector<std::string> rows() const {
        std::vector<std::string> out;
        for (const auto& a : controller->alarms().alarms())
            out.push_back(a.variable + " " + std::string(nameOf(a.kind)) + " " +
                          AlarmSummaryModel::stateName(a.state).toStdString());
        return out;
    }
    std::vector<std::string> transitions() {
        std::vector<std::string> out;
        for (const auto& t : history.query())
            out.push_back(std::string(nameOf(t.kind)) + " " + std::string(nameOf(t.transition)) +
                          " " + t.station);
        return out;
    }
    test::TempFolder folder;
    AlarmHistory history;
    QWidget parent;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelController> controller;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

using Lines = std::vector<std::string>;

TEST(PanelController, StartsTheSourceWithEachGaugesTagRangeAndThresholds) {
    Station s("A");
    ASSERT_EQ(s.source->started.size(), 6u);
    const SourceTag& t = s.source->started[0];
    EXPECT_EQ(t.tag, Pressure);
    EXPECT_EQ(std::vector<double>({t.minimum, t.maximum, t.alarmLow, t.warningLow, t.warningHigh,
                                   t.alarmHigh, t.normal}),
              std::vector<double>({0, 60, 25, 32, 44, 48, 40}));
}

TEST(PanelController, AnUnknownTagIsLoggedNamingTheGaugesThatReadIt) {
    test::TempFolder folder;
    AlarmHistory history(folder / "history.sqlite");
    QWidget parent;
    Form form = defaultForm();
    form.gauges[1].tag = form.gauges[4].tag = "boiler/steam/temprature";
    auto owned = std::make_unique<FakeSource>();
    FakeSource* source = owned.get();
    PanelController controller(std::move(form), std::move(owned), &history, "A", &parent);
    std::vector<std::string> lines;
    QObject::connect(&controller, &PanelController::logged,
                     [&](const QString& line) { lines.push_back(line.toStdString()); });
    controller.start();
    emit source->tagUnknown(QStringLiteral("boiler/steam/temprature"), QStringLiteral("why"));
    EXPECT_EQ(lines, Lines{"Feedwater temp, Steam temp: why"});
}

TEST(PanelController, ScriptedValuesDriveTheAlarmStatesAndTheHistory) {
    Station s("A");
    AlarmSummaryModel& alarms = s.controller->alarms();
    s.source->send(Pressure, 50);
    EXPECT_EQ(s.rows(), Lines{"Drum pressure OnAlarmHigh Active, unacknowledged"});
    EXPECT_EQ(alarms.alarms()[0].value, 50);
    // The summary shows the value as the gauge showed it at the event, with its unit.
    EXPECT_EQ(alarms.data(alarms.index(0, AlarmSummaryModel::ValueColumn)).toString(),
              QStringLiteral("50.0 bar"));
    s.controller->acknowledgeRows({0});
    EXPECT_EQ(s.rows(), Lines{"Drum pressure OnAlarmHigh Active, acknowledged"});
    s.source->send(Pressure, 40); // back to normal, already acknowledged: the row leaves
    EXPECT_EQ(s.rows(), Lines{});

    s.source->send(Pressure, 20); // low alarm, then only a low warning
    s.source->send(Pressure, 30);
    EXPECT_EQ(s.rows(), (Lines{"Drum pressure OnWarningLow Active, unacknowledged",
                               "Drum pressure OnAlarmLow Returned, unacknowledged"}));
    EXPECT_EQ(alarms.unacknowledgedCount(), 2);
    s.controller->acknowledgeAll();
    EXPECT_EQ(s.rows(), Lines{"Drum pressure OnWarningLow Active, acknowledged"});
    EXPECT_EQ(s.transitions(), (Lines{"OnAlarmHigh raised A", "OnAlarmHigh acknowledged A",
                                      "OnAlarmHigh returned A", "OnAlarmLow raised A",
                                      // the warning is raised during the pass that ends the alarm
                                      "OnWarningLow raised A", "OnAlarmLow returned A",
                                      "OnWarningLow acknowledged A", "OnAlarmLow acknowledged A"}));
    EXPECT_EQ(s.controller->raisedCounts().at(AlarmKind::AlarmLow), 1);
}

TEST(PanelController, QualityGoesBadAndRecoversForEachCause) {
    Station s("A");
    auto reason = [&] { return s.controller->qualityReason(0).toStdString(); };
    EXPECT_EQ(reason(), "");
    s.controller->advance(DefaultStaleMs + 500, 100); // on the source's clock
    EXPECT_TRUE(reason().starts_with("Stale")) << reason();
    EXPECT_EQ(s.controller->badQualityCount(), 6);
    s.source->send(Pressure, 41);
    EXPECT_EQ(reason(), "");
    EXPECT_EQ(s.controller->badQualityCount(), 5);

    emit s.source->payloadRejected(QString::fromLatin1(Pressure), QStringLiteral("not a number"));
    EXPECT_EQ(reason(), "Bad payload: not a number");
    EXPECT_FLOAT_EQ(s.controller->gauge(0)->Value(), 41); // the last good value stays
    s.source->send(Pressure, 42);
    EXPECT_EQ(reason(), "");

    s.source->send(Pressure, std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(reason().starts_with("Refused: ")) << reason();
    s.source->send(Pressure, 42);
    EXPECT_EQ(reason(), "");

    s.source->setConnected(false);
    EXPECT_EQ(reason(), "Disconnected: peer gone");
    s.source->setConnected(true);
    EXPECT_EQ(reason(), "");
}

TEST(PanelController, AcknowledgementsAreSharedBetweenStations) {
    FakeChannel channel;
    Station a("A", &channel), b("B", &channel);
    a.source->send(Pressure, 50);
    b.source->send(Pressure, 50);
    a.controller->acknowledgeAll();
    EXPECT_EQ(b.rows(), Lines{"Drum pressure OnAlarmHigh Active, acknowledged"});
    EXPECT_EQ(b.transitions(), (Lines{"OnAlarmHigh raised B", "OnAlarmHigh acknowledged A"}));
    EXPECT_EQ(a.transitions(), (Lines{"OnAlarmHigh raised A", "OnAlarmHigh acknowledged A"}));
}

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

TEST(PanelWindow, SavingTheFormKeepsAThresholdTheOperatorChanged) {
    WindowFixture f;
    f.window->controller().gauge(0)->setAlarmHighVal(55);
    const auto path = f.folder / "form.json";
    f.window->saveFormTo(path);
    const Form saved = loadForm(path);
    bool found = false;
    for (const auto& [key, value] : saved.gauges[0].bag.entries()) {
        if (key == "AlarmHighVal") {
            found = true;
            EXPECT_DOUBLE_EQ(value.toDouble(NumberLocale::english()), 55);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(saved.gauges[0].tag, Pressure);
}

TEST(PanelWindow, TitleCountsUnacknowledgedAlarmsAndTheSnapshotShowsEveryGauge) {
    WindowFixture f;
    f.source->send(Pressure, 50);
    EXPECT_EQ(f.window->windowTitle().toStdString(),
              "Boiler 1 - steam plant overview \u2014 1 unacknowledged");
    EXPECT_TRUE(f.window->statusBar()->findChild<QLabel*>()->text().contains(
        QStringLiteral("fake — connected — 0 gauge(s) of bad quality")));
    const QPixmap picture = f.window->grab();
    EXPECT_EQ(picture.size(), f.window->size());
    for (int i = 0; i < f.window->controller().gaugeCount(); ++i) {
        MervGaugeWidget* gauge = f.window->controller().gauge(i);
        EXPECT_TRUE(gauge->isVisible());
        const QRect where(gauge->mapTo(f.window.get(), QPoint(0, 0)), gauge->size());
        EXPECT_TRUE(picture.rect().contains(where)) << i;
    }
}

TEST(PanelWindow, OpeningAFormReplacesTheGaugesInPlaceAndABadOneChangesNothing) {
    WindowFixture f;
    f.source->send(Pressure, 50);
    Form other = defaultForm();
    other.title = "Two gauges";
    other.source = "sim";
    other.gauges.resize(2);
    const auto path = f.folder / "two.json";
    saveForm(path, other);

    EXPECT_ANY_THROW(f.window->openForm(f.folder / "missing.json"));
    EXPECT_EQ(f.window->controller().gaugeCount(), 6);
    EXPECT_EQ(f.window->windowTitle().toStdString(),
              "Boiler 1 - steam plant overview \u2014 1 unacknowledged");

    f.window->openForm(path);
    EXPECT_EQ(f.window->windowTitle().toStdString(), "Two gauges");
    EXPECT_EQ(f.window->centralWidget()->findChildren<MervGaugeWidget*>().size(), 2);
    EXPECT_EQ(f.window->controller().alarms().rowCount(), 0);
    EXPECT_TRUE(f.window->statusBar()->findChild<QLabel*>()->text().startsWith("Source: sim"));
}

TEST(HistoryDialog, FiltersByTimeRangeAndVariable) {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.sqlite");
    const std::int64_t t0 = QDateTime::currentMSecsSinceEpoch() - 3600'000;
    history.record({t0, "A", "Drum level", AlarmKind::AlarmLow, Transition::Raised, -160});
    history.record({t0 + 1000, "A", "Steam flow", AlarmKind::WarningHigh, Transition::Raised, 23});
    history.record({t0 + 2000, "A", "Drum level", AlarmKind::AlarmLow, Transition::Returned, -100});
    HistoryDialog dialog(history,
                         {{QStringLiteral("Drum level"), {}}, {QStringLiteral("Steam flow"), {}}},
                         DisplayZone::local());
    QAbstractItemModelTester tester(dialog.findChild<QTableWidget*>()->model(), Fatal);
    EXPECT_EQ(dialog.shownCount(), 3);
    dialog.findChild<QComboBox*>()->setCurrentIndex(1);
    dialog.refresh();
    EXPECT_EQ(dialog.shownCount(), 2);
    auto edits = dialog.findChildren<QDateTimeEdit*>();
    edits[0]->setDateTime(QDateTime::fromMSecsSinceEpoch(t0 + 1500));
    dialog.refresh();
    EXPECT_EQ(dialog.shownCount(), 1);
}

TEST(PanelExecutable, ExportsTheHistoryAsCsvWithoutAWindow) {
    test::TempFolder folder;
    {
        AlarmHistory history(folder / "h.sqlite");
        history.record(
            {1000, "A", "Drum pressure", AlarmKind::AlarmHigh, Transition::Raised, 50.5});
        history.record(
            {2500, "B", "Drum pressure", AlarmKind::AlarmHigh, Transition::Acknowledged, 50.5});
    }
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    panel.setProcessEnvironment(env);
    const QString out = QString::fromStdString((folder / "out.csv").string());
    panel.start(QStringLiteral(MERVGAUGE_PANEL_PATH),
                {QStringLiteral("--history"),
                 QString::fromStdString((folder / "h.sqlite").string()),
                 QStringLiteral("--export-alarms"), out});
    ASSERT_TRUE(panel.waitForFinished(30000));
    EXPECT_EQ(panel.exitCode(), 0) << panel.readAllStandardError().toStdString();
    std::ifstream file(out.toStdString());
    std::stringstream text;
    text << file.rdbuf();
    std::istringstream lines(text.str());
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(header, "time,station,variable,kind,transition,value");
    EXPECT_TRUE(first.starts_with("1970-01-01T00:00:01.000Z,A,Drum pressure,OnAlarmHigh,raised,"))
        << first;
    EXPECT_TRUE(second.find(",B,Drum pressure,OnAlarmHigh,acknowledged,") != std::string::npos)
        << second;
}

} // namespace
} // namespace merv::panel

int main(int argc, char** argv) {
    // Test discovery runs the binary without the test environment: no display is needed then,
    // and a run by hand gets the test environment's screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", MERVGAUGE_PANEL_TEST_PLATFORM);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
