// mervgauge-panel as a new user meets it: its --help, the sample forms, what it says at start,
// and the alarm history exported without a window.
#include "PanelTestSupport.h"
#include "TempFolder.h"
#include "panel/AlarmHistory.h"

#include <QHostInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

struct Finished {
    bool finished = false;
    int exitCode = -1;
    QString out, err;
};

// The panel without a display, in folder, with XDG_DATA_HOME inside it so that nothing of the
// user's own is read or written.
Finished runPanel(const QStringList& arguments, const test::TempFolder& folder) {
    QProcess panel;
    startHeadlessPanel(panel, arguments, folder.path());
    const bool finished = panel.waitForFinished(60000);
    return {finished, panel.exitCode(), QString::fromUtf8(panel.readAllStandardOutput()),
            QString::fromUtf8(panel.readAllStandardError())};
}

QString withoutBlanks(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// The help entry of one option, its wrapped lines joined: from its own line to the next
// option's.
QString helpEntry(const QString& help, const QString& option) {
    const QStringList lines = help.split(QLatin1Char('\n'));
    QString entry;
    bool inside = false;
    for (const QString& line : lines) {
        const bool optionLine = line.startsWith(QStringLiteral("  -"));
        if (optionLine)
            inside = line.contains(QRegularExpression(
                QStringLiteral("(^|[ ,])%1( |$)").arg(QRegularExpression::escape(option))));
        else if (!line.startsWith(QStringLiteral("    ")))
            inside = false;
        if (inside)
            entry += line + QLatin1Char(' ');
    }
    return entry;
}

std::vector<fs::path> sampleForms() {
    std::vector<fs::path> forms;
    for (const auto& entry :
         fs::directory_iterator(fs::path(MERVGAUGE_SOURCE_DIR) / "examples/forms"))
        if (entry.path().extension() == ".json")
            forms.push_back(entry.path());
    std::sort(forms.begin(), forms.end());
    return forms;
}

} // namespace

class tst_PanelExecutable : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void helpListsEveryOptionWithItsDefault_data();
    void helpListsEveryOptionWithItsDefault();
    void helpNamesTheHistoryItWouldOpenWithoutMakingIt();
    void aTagTheSimulatedPlantLacksIsReportedOnceOnStandardError();
    void theSampleFormsAreTheThreeDocumented();
    void everySampleFormOpensAndRunsWithoutADisplay_data();
    void everySampleFormOpensAndRunsWithoutADisplay();
    void exportsTheHistoryAsCsvWithoutAWindow();

private:
    // One --help run serves every help case; its folder is where the history would go.
    const Finished& help();
    test::TempFolder m_helpFolder;
    std::optional<Finished> m_help;
};

const Finished& tst_PanelExecutable::help() {
    if (!m_help)
        m_help = runPanel({QStringLiteral("--help")}, m_helpFolder);
    return *m_help;
}

void tst_PanelExecutable::helpListsEveryOptionWithItsDefault_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("shows"); // in the option's entry; blanks are not compared
    const auto row = [](const char* option, const QString& shows) {
        QTest::newRow(option) << QString::fromLatin1(option) << shows;
    };
    row("--help", QStringLiteral("Displays help"));
    row("--form", QStringLiteral("(default: the built-in steam-plant form)"));
    row("--source", QStringLiteral("(default: the form's \"source\", sim when it names none)"));
    row("--seed", QStringLiteral("(default: 1)"));
    row("--station", QStringLiteral("(default: %1-XXXX, from the form and the history files)")
                         .arg(QHostInfo::localHostName()));
    row("--history", QStringLiteral("(default: the file named above)"));
    row("--export-alarms", QStringLiteral("CSV"));
    row("--seconds", QStringLiteral("(default: 5 without a display, until closed with one)"));
    row("--snapshot", QStringLiteral("(default: mervgauge-panel.png)"));
    row("--poll-ms", QStringLiteral("(default: 500)"));
    row("--zoom", QStringLiteral("(default: fit)"));
    row("--utc", QStringLiteral("(default: the local time zone)"));
    row("--max-fps",
        QStringLiteral("(default: the screen's refresh rate, 60 where it tells none)"));
    row("--export-ui", QStringLiteral("Qt Designer form (.ui)"));
    row("--mqtt-cafile", QStringLiteral("(default: the system's certificate authorities)"));
    row("--mqtt-user", QStringLiteral("(default: no login)"));
    row("--mqtt-password-file", QStringLiteral("(default: $MERVGAUGE_MQTT_PASSWORD)"));
    row("--operator", QStringLiteral("(default: the login name)"));
    row("--max-skew", QStringLiteral("(default: 5)"));
}

void tst_PanelExecutable::helpListsEveryOptionWithItsDefault() {
    QFETCH(QString, option);
    QFETCH(QString, shows);
    const Finished& run = help();
    QVERIFY2(run.finished, "mervgauge-panel did not finish");
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QString entry = helpEntry(run.out, option);
    QVERIFY2(!entry.isEmpty(), qPrintable(option + " is not listed:\n" + run.out));
    // Help wraps at will.
    QVERIFY2(withoutBlanks(entry).contains(withoutBlanks(shows)), qPrintable(entry));
}

void tst_PanelExecutable::helpNamesTheHistoryItWouldOpenWithoutMakingIt() {
    const Finished& run = help();
    QVERIFY2(run.finished, "mervgauge-panel did not finish");
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    // The history the panel would open, resolved, whole on one line, and not made up yet.
    const fs::path history = m_helpFolder / "data/mervgauge-panel/alarm-history.sqlite";
    QVERIFY2(run.out.contains(QStringLiteral("Alarm history: %1 unless")
                                  .arg(QString::fromStdString(history.string()))),
             qPrintable(run.out));
    QVERIFY2(!fs::exists(m_helpFolder / "data"), "--help made the history's folder");
}

void tst_PanelExecutable::aTagTheSimulatedPlantLacksIsReportedOnceOnStandardError() {
    test::TempFolder folder;
    std::ifstream plant(fs::path(MERVGAUGE_SOURCE_DIR) / "examples/forms/steam-plant.json");
    std::stringstream text;
    text << plant.rdbuf();
    std::string form = text.str();
    const std::string tag = "\"boiler/steam/temperature\"";
    QVERIFY(form.find(tag) != std::string::npos);
    form.replace(form.find(tag), tag.size(), "\"boiler/steam/temprature\"");
    std::ofstream(folder / "misspelt.json") << form;

    const Finished run = runPanel({QStringLiteral("--form"), QStringLiteral("misspelt.json"),
                                   QStringLiteral("--seconds"), QStringLiteral("20")},
                                  folder);
    QVERIFY2(run.finished, "mervgauge-panel did not finish");
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.err.count(QStringLiteral("boiler/steam/temprature")) == 1, qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("Steam temp: the simulated plant has no tag "
                                             "\"boiler/steam/temprature\"")),
             qPrintable(run.err));
    QVERIFY2(!run.err.contains(QStringLiteral("\"boiler/drum/pressure\" ")),
             qPrintable("a tag of the plant was reported: " + run.err));
}

void tst_PanelExecutable::theSampleFormsAreTheThreeDocumented() {
    QCOMPARE(sampleForms().size(), std::size_t(3));
}

void tst_PanelExecutable::everySampleFormOpensAndRunsWithoutADisplay_data() {
    QTest::addColumn<QString>("form");
    for (const fs::path& form : sampleForms())
        QTest::newRow(form.filename().c_str()) << QString::fromStdString(form.string());
}

void tst_PanelExecutable::everySampleFormOpensAndRunsWithoutADisplay() {
    QFETCH(QString, form);
    test::TempFolder folder;
    // With no broker or server on their addresses, the MQTT and Modbus forms show their
    // gauges disconnected; the run still ends well and writes its picture.
    const Finished run = runPanel(
        {QStringLiteral("--form"), form, QStringLiteral("--seconds"), QStringLiteral("1")}, folder);
    QVERIFY2(run.finished, "mervgauge-panel did not finish");
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(fs::exists(folder / "mervgauge-panel.png"));
}

void tst_PanelExecutable::exportsTheHistoryAsCsvWithoutAWindow() {
    test::TempFolder folder;
    {
        AlarmHistory history(folder / "h.sqlite");
        history.record(
            {1000, "A", "Drum pressure", AlarmKind::AlarmHigh, Transition::Raised, 50.5, "PT"});
        history.record({2500, "B", "Drum pressure", AlarmKind::AlarmHigh, Transition::Acknowledged,
                        50.5, "PT"});
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
    QVERIFY(panel.waitForFinished(30000));
    QVERIFY2(panel.exitCode() == 0, panel.readAllStandardError().constData());
    std::ifstream file(out.toStdString());
    std::stringstream text;
    text << file.rdbuf();
    std::istringstream lines(text.str());
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    // The tag and the operator come last, after the columns older readers know.
    QCOMPARE(header, std::string("time,station,variable,kind,transition,value,tag,operator"));
    QVERIFY2(first.starts_with("1970-01-01T00:00:01.000Z,A,Drum pressure,OnAlarmHigh,raised,"),
             first.c_str());
    QVERIFY2(second.find(",B,Drum pressure,OnAlarmHigh,acknowledged,") != std::string::npos,
             second.c_str());
    QVERIFY2(first.ends_with(",PT,"), first.c_str());
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelExecutable)
#include "tst_PanelExecutable.moc"
