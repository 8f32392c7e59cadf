// mervgauge-panel as a new user meets it: its --help, the sample forms, what it says at start.
#include "TempFolder.h"

#include <QHostInfo>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

struct Finished {
    int exitCode = -1;
    QString out, err;
};

// The panel without a display, in folder, with XDG_DATA_HOME inside it so that nothing of the
// user's own is read or written.
Finished runPanel(const QStringList& arguments, const test::TempFolder& folder) {
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((folder / "data").string()));
    panel.setProcessEnvironment(env);
    panel.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    panel.start(QStringLiteral(MERVGAUGE_PANEL_PATH), arguments);
    if (!panel.waitForFinished(60000))
        ADD_FAILURE() << "mervgauge-panel did not finish";
    return {panel.exitCode(), QString::fromUtf8(panel.readAllStandardOutput()),
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

TEST(PanelExecutable, HelpListsEveryOptionWithItsDefault) {
    struct Row {
        const char* option;
        QString shows; // in the option's entry; blanks are not compared, help wraps at will
    };
    const Row rows[] = {
        {"--help", QStringLiteral("Displays help")},
        {"--form", QStringLiteral("(default: the built-in steam-plant form)")},
        {"--source", QStringLiteral("(default: the form's \"source\", sim when it names none)")},
        {"--seed", QStringLiteral("(default: 1)")},
        {"--station", QStringLiteral("(default: %1)").arg(QHostInfo::localHostName())},
        {"--history", QStringLiteral("(default: the file named above)")},
        {"--export-alarms", QStringLiteral("CSV")},
        {"--seconds", QStringLiteral("(default: 5 without a display, until closed with one)")},
        {"--snapshot", QStringLiteral("(default: mervgauge-panel.png)")},
        {"--poll-ms", QStringLiteral("(default: 500)")},
        {"--zoom", QStringLiteral("(default: fit)")},
        {"--utc", QStringLiteral("(default: the local time zone)")},
    };
    test::TempFolder folder;
    const Finished help = runPanel({QStringLiteral("--help")}, folder);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    for (const Row& row : rows) {
        const QString entry = helpEntry(help.out, QString::fromLatin1(row.option));
        EXPECT_FALSE(entry.isEmpty()) << row.option << " is not listed:\n"
                                      << help.out.toStdString();
        EXPECT_TRUE(withoutBlanks(entry).contains(withoutBlanks(row.shows)))
            << row.option << ": " << entry.toStdString();
    }
    // The history the panel would open, resolved, whole on one line, and not made up yet.
    const fs::path history = folder / "data/mervgauge-panel/alarm-history.sqlite";
    EXPECT_TRUE(help.out.contains(
        QStringLiteral("Alarm history: %1 unless").arg(QString::fromStdString(history.string()))))
        << help.out.toStdString();
    EXPECT_FALSE(fs::exists(folder / "data")) << "--help made the history's folder";
}

TEST(PanelExecutable, ATagTheSimulatedPlantLacksIsReportedOnceOnStandardError) {
    test::TempFolder folder;
    std::ifstream plant(fs::path(MERVGAUGE_SOURCE_DIR) / "examples/forms/steam-plant.json");
    std::stringstream text;
    text << plant.rdbuf();
    std::string form = text.str();
    const std::string tag = "\"boiler/steam/temperature\"";
    ASSERT_NE(form.find(tag), std::string::npos);
    form.replace(form.find(tag), tag.size(), "\"boiler/steam/temprature\"");
    std::ofstream(folder / "misspelt.json") << form;

    const Finished run = runPanel({QStringLiteral("--form"), QStringLiteral("misspelt.json"),
                                   QStringLiteral("--seconds"), QStringLiteral("20")},
                                  folder);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("boiler/steam/temprature")), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Steam temp: the simulated plant has no tag "
                                                "\"boiler/steam/temprature\"")))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("\"boiler/drum/pressure\" ")))
        << "a tag of the plant was reported: " << run.err.toStdString();
}

TEST(PanelExecutable, EverySampleFormOpensAndRunsWithoutADisplay) {
    int forms = 0;
    for (const auto& entry :
         fs::directory_iterator(fs::path(MERVGAUGE_SOURCE_DIR) / "examples/forms")) {
        if (entry.path().extension() != ".json")
            continue;
        ++forms;
        test::TempFolder folder;
        // With no broker or server on their addresses, the MQTT and Modbus forms show their
        // gauges disconnected; the run still ends well and writes its picture.
        const Finished run =
            runPanel({QStringLiteral("--form"), QString::fromStdString(entry.path().string()),
                      QStringLiteral("--seconds"), QStringLiteral("1")},
                     folder);
        EXPECT_EQ(run.exitCode, 0) << entry.path() << ": " << run.err.toStdString();
        EXPECT_TRUE(fs::exists(folder / "mervgauge-panel.png")) << entry.path();
    }
    EXPECT_EQ(forms, 3);
}

} // namespace
} // namespace merv::panel
