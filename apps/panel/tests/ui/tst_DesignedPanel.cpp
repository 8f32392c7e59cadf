// A screen drawn in Qt Designer run in the panel: everything drawn shows as drawn, each gauge
// stands in its place with its cell's marker and badge, values reach the gauge of their tag
// from the simulator, standard input and a real broker, a bad .ui is refused before any
// window, a save keeps the drawing and stores changed thresholds so that Qt's form loader
// reads them back, and a grid form exported as a .ui runs as the same gauges.
#include "DesignedScreen.h"
#include "FakeSource.h"
#include "FileText.h"
#include "GaugeCell.h"
#include "MosquittoBroker.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"
#include "panel/AlarmHistory.h"
#include "panel/DesignedForm.h"
#include "panel/MqttSource.h"
#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/bagfile/BagError.h>

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QUiLoader>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

fs::path steamPlantUi() {
    return fs::path(MERVGAUGE_SOURCE_DIR) / "examples/designed-panel/steam-plant.ui";
}

// A designed form open in a panel window on a source the test drives.
struct DesignedPanel {
    explicit DesignedPanel(const fs::path& path = steamPlantUi()) : path(path) {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        window = std::make_unique<PanelWindow>(loadDesignedForm(path), path, std::move(owned),
                                               nullptr, "A");
        window->resize(window->sizeHint());
        window->show();
        window->controller().start();
        source->sendStartValues();
    }
    PanelController& controller() { return window->controller(); }
    // The index of the gauge drawn under that object name.
    int gaugeNamed(const std::string& objectName) {
        for (int i = 0; i < controller().gaugeCount(); ++i)
            if (controller().formGauge(i).objectName == objectName)
                return i;
        return -1;
    }

    fs::path path;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
};

// The window's File → Save, as its menu offers it.
QAction* saveAction(PanelWindow& window) {
    for (QAction* menu : window.menuBar()->actions())
        if (menu->menu())
            for (QAction* action : menu->menu()->actions())
                if (action->shortcut() == QKeySequence::Save)
                    return action;
    return nullptr;
}

struct Finished {
    int exitCode = -1;
    QString out, err;
};

Finished runPanel(const QStringList& arguments, const test::TempFolder& folder,
                  const QByteArray& input = {}) {
    QProcess panel;
    startHeadlessPanel(panel, arguments, folder.path());
    if (!input.isEmpty()) {
        panel.write(input);
        panel.closeWriteChannel();
    }
    if (!panel.waitForFinished(60000))
        return {};
    return {panel.exitCode(), QString::fromUtf8(panel.readAllStandardOutput()),
            QString::fromUtf8(panel.readAllStandardError())};
}

} // namespace

class tst_DesignedPanel : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void theScreenShowsAsDrawnWithEachGaugeInItsPlace();
    void aFreelyPlacedGaugeStaysCentredWhereItWasDrawn();
    void valuesReachTheGaugeOfTheirTagAndMarkItsCell();
    void aBrokersValuesReachTheDesignedGauges();
    void standardInputAndTheSimulatorFeedADesignedForm();
    void aBadDesignedFormIsRefusedBeforeAnyWindow_data();
    void aBadDesignedFormIsRefusedBeforeAnyWindow();
    void aSaveKeepsTheDrawingAndQtsLoaderReadsTheChangedThresholds();
    void aDesignedFormIsNotSavedAsAGridForm();
    void aGridFormExportedAsUiRunsAsTheSameGaugesAndBindings();
    void aDesignedPageRunsInItsTabAndASaveWritesBothFiles();
};

void tst_DesignedPanel::theScreenShowsAsDrawnWithEachGaugeInItsPlace() {
    DesignedPanel panel;
    QVERIFY(panel.window->designedScreen());
    QVERIFY(!panel.window->board());
    QCOMPARE(panel.controller().gaugeCount(), 6);
    QWidget* screen = panel.window->designedScreen()->screen();
    // What the designer drew around the gauges is there, as drawn.
    auto* note = screen->findChild<QLabel*>(QStringLiteral("flueGasNote"));
    QVERIFY(note);
    QCOMPARE(note->text(), QStringLiteral("Oxygen at the economiser outlet"));
    QVERIFY(note->isVisible());
    // Each gauge in its group box, whole and visible inside it.
    const std::pair<const char*, const char*> groups[] = {{"feedwaterTemperature", "feedwater"},
                                                          {"drumPressure", "boiler"},
                                                          {"drumLevel", "boiler"},
                                                          {"steamFlow", "boiler"},
                                                          {"steamTemperature", "boiler"},
                                                          {"flueGasOxygen", "flueGas"}};
    for (const auto& [gaugeName, groupName] : groups) {
        const int index = panel.gaugeNamed(gaugeName);
        QVERIFY2(index >= 0, gaugeName);
        auto* group = screen->findChild<QGroupBox*>(QString::fromLatin1(groupName));
        QVERIFY(group);
        GaugeCell* cell = panel.window->cell(index);
        QCOMPARE(cell->parentWidget(), group);
        QVERIFY(cell->isVisible());
        QVERIFY2(group->rect().contains(cell->geometry()), gaugeName);
        QCOMPARE(cell->gauge(), panel.controller().gauge(index));
    }
    // The screen is drawn at its own size: zoom is the grid's.
    bool zoomEnabled = true;
    for (QAction* menu : panel.window->menuBar()->actions())
        if (menu->menu() && menu->text().contains(QStringLiteral("View")))
            zoomEnabled = menu->menu()->actions().first()->isEnabled();
    QVERIFY(!zoomEnabled);
}

void tst_DesignedPanel::aFreelyPlacedGaugeStaysCentredWhereItWasDrawn() {
    test::TempFolder folder;
    const fs::path path = folder / "free.ui";
    std::ofstream(path) << R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Free</class>
 <widget class="QWidget" name="Free">
  <property name="geometry"><rect><x>0</x><y>0</y><width>700</width><height>300</height></rect></property>
  <widget class="QLabel" name="caption">
   <property name="geometry"><rect><x>10</x><y>10</y><width>200</width><height>20</height></rect></property>
   <property name="text"><string>Tank farm</string></property>
  </widget>
  <widget class="MervGaugeWidget" name="tankLevel">
   <property name="geometry"><rect><x>400</x><y>60</y><width>170</width><height>147</height></rect></property>
   <property name="tag" stdset="0"><string>boiler/drum/level</string></property>
  </widget>
 </widget>
</ui>
)";
    DesignedPanel panel(path);
    QWidget* screen = panel.window->designedScreen()->screen();
    MervGaugeWidget* gauge = panel.controller().gauge(0);
    const QRect drawn = QRect(gauge->mapTo(screen, QPoint()), gauge->size());
    QVERIFY2((drawn.center() - QRect(400, 60, 170, 147).center()).manhattanLength() <= 2,
             qPrintable(QStringLiteral("at %1,%2").arg(drawn.x()).arg(drawn.y())));
    // The cell's strip above the gauge, for its marker and badge, stays on the screen.
    QVERIFY(panel.window->cell(0)->geometry().top() >= 0);
    QVERIFY(screen->findChild<QLabel*>(QStringLiteral("caption"))->isVisible());
}

void tst_DesignedPanel::valuesReachTheGaugeOfTheirTagAndMarkItsCell() {
    DesignedPanel panel;
    const int pressure = panel.gaugeNamed("drumPressure");
    const int level = panel.gaugeNamed("drumLevel");
    panel.source->send("boiler/drum/pressure", 50); // above the high alarm at 48
    panel.source->send("boiler/drum/level", 10);
    QCOMPARE(panel.controller().gauge(pressure)->Value(), 50.0);
    QCOMPARE(panel.controller().gauge(level)->Value(), 10.0);
    QCOMPARE(panel.controller().raisedCounts().at(AlarmKind::AlarmHigh), 1);
    QTRY_COMPARE(panel.window->cell(pressure)->marker(), GaugeCell::Marker::Blinking);
    QCOMPARE(panel.window->cell(level)->marker(), GaugeCell::Marker::None);
    // The summary names the gauge by its binding, as in a grid form.
    const auto& alarms = panel.controller().alarms().alarms();
    QCOMPARE(alarms.size(), std::size_t(1));
    QCOMPARE(alarms.front().tag, std::string("boiler/drum/pressure"));
    // A lost source marks every cell of the screen.
    panel.source->setConnected(false);
    for (int i = 0; i < panel.controller().gaugeCount(); ++i)
        QVERIFY(!panel.window->cell(i)->qualityReason().isEmpty());
}

void tst_DesignedPanel::aBrokersValuesReachTheDesignedGauges() {
    test::MosquittoBroker broker;
    DesignedForm designed = loadDesignedForm(steamPlantUi());
    PanelWindow window(std::move(designed), steamPlantUi(),
                       std::make_unique<MqttSource>(readMqttAddress(broker.address("site")), "A"),
                       nullptr, "A");
    window.controller().start();
    QVERIFY(QTest::qWaitFor([&] { return window.controller().source().isConnected(); }));
    test::MqttPublisher publisher(broker.port());
    publisher.publish("site/boiler/fluegas/oxygen", "6.5");
    publisher.publish("site/boiler/steam/flow", R"({"value": 21})");
    PanelController& c = window.controller();
    int oxygen = -1, flow = -1;
    for (int i = 0; i < c.gaugeCount(); ++i) {
        if (c.formGauge(i).objectName == "flueGasOxygen")
            oxygen = i;
        if (c.formGauge(i).objectName == "steamFlow")
            flow = i;
    }
    QVERIFY(oxygen >= 0 && flow >= 0);
    static_cast<void>(QTest::qWaitFor(
        [&] { return c.gauge(oxygen)->Value() == 6.5 && c.gauge(flow)->Value() == 21; }));
    QCOMPARE(c.gauge(oxygen)->Value(), 6.5);
    QCOMPARE(c.gauge(flow)->Value(), 21.0);
    QCOMPARE(c.raisedCounts().at(AlarmKind::WarningHigh), 1); // 6.5 % above the warning at 6
}

void tst_DesignedPanel::standardInputAndTheSimulatorFeedADesignedForm() {
    test::TempFolder folder;
    const QString form = QString::fromStdString(steamPlantUi().string());
    const QString history = QString::fromStdString((folder / "h.sqlite").string());
    const Finished fed =
        runPanel({"--form", form, "--source", "stdin", "--seconds", "2", "--history", history},
                 folder, "boiler/drum/pressure 50\nboiler/fluegas/oxygen 0.5\n");
    QCOMPARE(fed.exitCode, 0);
    QVERIFY2(fed.out.contains(QStringLiteral("OnAlarmHigh: 1 raised")), qPrintable(fed.out));
    QVERIFY2(fed.out.contains(QStringLiteral("OnAlarmLow: 1 raised")), qPrintable(fed.out));
    std::stringstream csv;
    AlarmHistory(history.toStdString()).exportCsv(csv);
    QVERIFY2(csv.str().find("Drum pressure,OnAlarmHigh,raised,50,boiler/drum/pressure") !=
                 std::string::npos,
             csv.str().c_str());

    test::TempFolder simulated;
    const Finished run = runPanel({"--form", form, "--seconds", "60"}, simulated);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(QStringLiteral(" raised")), qPrintable(run.out));
    // Every tag of the designed steam plant is one of the simulator's.
    QVERIFY2(!run.err.contains(QStringLiteral("lacks")), qPrintable(run.err));
}

void tst_DesignedPanel::aBadDesignedFormIsRefusedBeforeAnyWindow_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a .ui") << QStringLiteral("<ui version=\"4.0\">") << QStringLiteral("<form>")
                               << QStringList() << QStringLiteral("not a form designer's .ui file");
    QTest::newRow("a refused property")
        << QStringLiteral("<double>48.000000000000000</double>")
        << QStringLiteral("<double>1e40</double>") << QStringList()
        << QStringLiteral("gauge drumPressure (Drum pressure): AlarmHighVal: the gauge refuses it");
    QTest::newRow("two gauges on one tag")
        << QStringLiteral("<string>boiler/drum/level</string>")
        << QStringLiteral("<string>boiler/drum/pressure</string>") << QStringList()
        << QStringLiteral("gauge drumLevel (Drum level): tag: \"boiler/drum/pressure\" already "
                          "names gauge drumPressure");
    QTest::newRow("a tag the source cannot address")
        << QStringLiteral("<string>boiler/steam/flow</string>")
        << QStringLiteral("<string>boiler/steam/+</string>")
        << QStringList{QStringLiteral("--source"), QStringLiteral("mqtt://127.0.0.1:9/site")}
        << QStringLiteral("gauge steamFlow (Steam flow): tag: MQTT tag \"boiler/steam/+\"");
}

void tst_DesignedPanel::aBadDesignedFormIsRefusedBeforeAnyWindow() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, extra);
    QFETCH(QString, message);
    test::TempFolder folder;
    QString text = QString::fromStdString(test::fileText(steamPlantUi()));
    QVERIFY(text.contains(from));
    text.replace(text.indexOf(from), from.size(), to);
    const fs::path path = folder / "bad.ui";
    std::ofstream(path) << text.toStdString();
    const Finished run = runPanel(
        QStringList{"--form", QString::fromStdString(path.string()), "--seconds", "1"} + extra,
        folder);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QString::fromStdString(path.string())), qPrintable(run.err));
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    // No run: a run's snapshot is never written.
    QVERIFY(!fs::exists(folder / "mervgauge-panel.png"));
}

void tst_DesignedPanel::aSaveKeepsTheDrawingAndQtsLoaderReadsTheChangedThresholds() {
    test::TempFolder folder;
    const fs::path path = folder / "steam-plant.ui";
    fs::copy_file(steamPlantUi(), path);
    const std::string original = test::fileText(path);
    DesignedPanel panel(path);
    const int pressure = panel.gaugeNamed("drumPressure");
    MervGaugeWidget* gauge = panel.controller().gauge(pressure);
    gauge->setAlarmHighVal(46.5);                   // as the operator's threshold editor writes it
    panel.source->send("boiler/drum/pressure", 41); // a live value, which no save stores
    QAction* save = saveAction(*panel.window);
    QVERIFY(save);
    save->trigger();
    const std::string saved = test::fileText(path);
    QString expected = QString::fromStdString(original);
    const qsizetype gaugeAt = expected.indexOf(QStringLiteral("name=\"drumPressure\""));
    const QString high = QStringLiteral("<property name=\"AlarmHighVal\">\n"
                                        "           <double>48.000000000000000</double>");
    const qsizetype highAt = expected.indexOf(high, gaugeAt);
    QVERIFY(highAt > gaugeAt);
    expected.replace(highAt, high.size(),
                     QStringLiteral("<property name=\"AlarmHighVal\">\n"
                                    "           <double>46.500000000000000</double>"));
    QCOMPARE(QString::fromStdString(saved), expected);

    // Qt's own form loader, with the gauge's Designer plugin, reads what the panel saved.
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(MERVGAUGE_DESIGNER_PLUGIN_DIR));
    QFile file(QString::fromStdString(path.string()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> loaded(loader.load(&file));
    QVERIFY2(loaded, qPrintable(loader.errorString()));
    auto* read = loaded->findChild<MervGaugeWidget*>(QStringLiteral("drumPressure"));
    QVERIFY(read);
    QCOMPARE(read->AlarmHighVal(), 46.5);
    QCOMPARE(read->property("tag").toString(), QStringLiteral("boiler/drum/pressure"));
    QVERIFY(loaded->findChild<QGroupBox*>(QStringLiteral("boiler")));
}

void tst_DesignedPanel::aDesignedFormIsNotSavedAsAGridForm() {
    test::TempFolder folder;
    DesignedPanel panel;
    try {
        panel.window->saveFormTo(folder / "plant.json");
        QFAIL("saved");
    } catch (const BagError& error) {
        QVERIFY2(QString::fromUtf8(error.what()).contains(QStringLiteral("as a .ui file")),
                 error.what());
    }
    QVERIFY(!fs::exists(folder / "plant.json"));
}

void tst_DesignedPanel::aGridFormExportedAsUiRunsAsTheSameGaugesAndBindings() {
    test::TempFolder folder;
    const fs::path json = fs::path(MERVGAUGE_SOURCE_DIR) / "examples/forms/steam-plant.json";
    const fs::path ui = folder / "plant.ui";
    const Finished run = runPanel({"--form", QString::fromStdString(json.string()), "--export-ui",
                                   QString::fromStdString(ui.string())},
                                  folder);
    QCOMPARE(run.exitCode, 0);
    const Form grid = loadForm(json);
    DesignedPanel panel(ui);
    PanelController& c = panel.controller();
    QCOMPARE(std::size_t(c.gaugeCount()), grid.gauges.size());
    QWidget parent;
    PanelController fromGrid(grid, std::make_unique<FakeSource>(), nullptr, "A", &parent);
    for (int i = 0; i < c.gaugeCount(); ++i) {
        QCOMPARE(c.formGauge(i).tag, grid.gauges[std::size_t(i)].tag);
        QCOMPARE(c.formGauge(i).staleMs, grid.gauges[std::size_t(i)].staleMs);
        QCOMPARE(c.gauge(i)->VariableName(), fromGrid.gauge(i)->VariableName());
        QCOMPARE(c.gauge(i)->AlarmHighVal(), fromGrid.gauge(i)->AlarmHighVal());
        QCOMPARE(c.gauge(i)->MinValue(), fromGrid.gauge(i)->MinValue());
    }
    // Each gauge in its grid cell: the grid's shape survives.
    const int steamFlow = 2, drumLevel = 3; // row 0 col 2 and row 1 col 0 of the grid
    QVERIFY(panel.window->cell(steamFlow)->geometry().left() >
            panel.window->cell(drumLevel)->geometry().right());
    QVERIFY(panel.window->cell(drumLevel)->geometry().top() >
            panel.window->cell(steamFlow)->geometry().bottom());
}

void tst_DesignedPanel::aDesignedPageRunsInItsTabAndASaveWritesBothFiles() {
    test::TempFolder folder;
    fs::copy_file(steamPlantUi(), folder / "plant.ui");
    const fs::path json = folder / "house.json";
    std::ofstream(json) << R"({"title": "Boiler house", "pages": [
        {"title": "Tanks", "gauges": [
            {"bag": {"VariableName": "Tank level"}, "tag": "tank/level", "row": 0, "col": 0}]},
        {"title": "Steam plant", "ui": "plant.ui"}]})";
    auto owned = std::make_unique<FakeSource>();
    FakeSource* source = owned.get();
    PanelWindow window(loadPagedForm(json), json, std::move(owned), nullptr, "A");
    window.resize(1400, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.controller().start();
    source->sendStartValues();
    PanelController& c = window.controller();
    QCOMPARE(c.gaugeCount(), 7);

    // The second tab is the screen as drawn, its gauges in its group boxes.
    QTabWidget* tabs = window.pages();
    QVERIFY(tabs);
    QCOMPARE(tabs->tabText(1), QStringLiteral("Steam plant"));
    auto* screen = qobject_cast<DesignedScreen*>(tabs->widget(1));
    QVERIFY(screen);
    QVERIFY(window.board());
    QVERIFY(!window.designedScreen());
    int pressure = -1;
    for (int i = 0; i < c.gaugeCount(); ++i)
        if (c.formGauge(i).objectName == "drumPressure")
            pressure = i;
    QVERIFY(pressure >= 0);
    QCOMPARE(window.cell(pressure)->parentWidget(),
             screen->screen()->findChild<QGroupBox*>(QStringLiteral("boiler")));

    // Hidden, its gauge still raises; a double-click on the alarm shows its page.
    source->send("boiler/drum/pressure", 55); // above the high alarm at 48
    QCOMPARE(c.gauge(pressure)->Value(), 55.0);
    auto* summary = window.findChild<QTableView*>();
    QVERIFY(summary);
    // Its warning and its alarm.
    QTRY_COMPARE(summary->model()->rowCount(), 2);
    const QPoint at = summary->visualRect(summary->model()->index(0, 0)).center();
    QTest::mouseClick(summary->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(summary->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(window.cell(pressure)->highlighted());

    // File → Save writes the changed threshold into the screen's file, and the form names it.
    const std::string drawn = test::fileText(folder / "plant.ui");
    c.gauge(pressure)->setAlarmHighVal(46.5);
    QAction* save = saveAction(window);
    QVERIFY(save);
    save->trigger();
    const std::string saved = test::fileText(folder / "plant.ui");
    QVERIFY(saved != drawn);
    QVERIFY(saved.find("<double>46.500000000000000</double>") != std::string::npos);
    QVERIFY(test::fileText(json).find("\"ui\": \"plant.ui\"") != std::string::npos);
    const PagedForm again = loadPagedForm(json);
    QCOMPARE(again.form.pages, (std::vector<FormPage>{{"Tanks", ""}, {"Steam plant", "plant.ui"}}));
    QCOMPARE(again.form.gauges.size(), std::size_t(7));
    PanelWindow reopened(again, json, std::make_unique<FakeSource>(), nullptr, "A");
    QCOMPARE(reopened.controller().gauge(pressure)->AlarmHighVal(), 46.5);
    QCOMPARE(reopened.controller().formGauge(pressure).tag, std::string("boiler/drum/pressure"));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_DesignedPanel)
#include "tst_DesignedPanel.moc"
