// mervgauge-panel under an alarm flood over MQTT, ended by --seconds or by SIGTERM while values
// still pour in: every transition of every value the panel took from the broker is in its
// history when it exits.
#include "MosquittoBroker.h"
#include "PanelTestSupport.h"
#include "TempFolder.h"
#include "panel/AlarmHistory.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <fstream>
#include <map>
#include <regex>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

// Each value alternately above the high alarm and back: a transition each.
constexpr int Batch = 10; // values published between two looks at the panel, 5 ms apart
// How long the panel may take to end a 3 s run under the flood, drain included.
constexpr qint64 FloodLimitMs = 120000;

// One gauge on flood/value; the high alarm at 95.
void writeForm(const fs::path& path, const std::string& source) {
    std::ofstream(path)
        << "{\"title\": \"Flood\", \"source\": \"" << source << "\", \"gauges\": [{\"bag\": "
        << "{\"MinValue\": 0, \"MaxValue\": 100, \"Value\": 50, \"VariableName\": \"Flooded\", "
        << "\"WarningLowVal\": 5, \"WarningHighVal\": 90, \"AlarmLowVal\": 2, \"AlarmHighVal\": "
           "95}, "
        << "\"tag\": \"value\", \"row\": 0, \"col\": 0}]}";
}

} // namespace

class tst_PanelFlood : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void aFloodEndedWhileValuesPourInLeavesEveryTransitionInTheHistory_data();
    void aFloodEndedWhileValuesPourInLeavesEveryTransitionInTheHistory();
};

void tst_PanelFlood::aFloodEndedWhileValuesPourInLeavesEveryTransitionInTheHistory_data() {
    QTest::addColumn<bool>("terminate"); // by SIGTERM, or else by --seconds
    QTest::newRow("--seconds") << false;
    QTest::newRow("SIGTERM") << true;
}

void tst_PanelFlood::aFloodEndedWhileValuesPourInLeavesEveryTransitionInTheHistory() {
    QFETCH(bool, terminate);
    // The broker logs each value the panel acknowledged taking (QoS 1): what it received.
    test::MosquittoBroker broker("log_type all\n");
    test::TempFolder folder;
    writeForm(folder / "flood.json", broker.address("flood"));
    QProcess panel;
    startHeadlessPanel(panel,
                       {QStringLiteral("--form"), QStringLiteral("flood.json"),
                        QStringLiteral("--history"), QStringLiteral("h.sqlite"),
                        QStringLiteral("--seconds"), QStringLiteral("3")},
                       folder.path());
    // Values flow once the panel says it is subscribed.
    QVERIFY(panel.waitForStarted());
    panel.setReadChannel(QProcess::StandardError);
    QString err;
    while (!err.contains(QStringLiteral("source: connected to"))) {
        QVERIFY2(panel.waitForReadyRead(30000),
                 qPrintable("the panel did not say it connected: " + err));
        err += QString::fromUtf8(panel.readAllStandardError());
    }
    int published = 0;
    {
        test::MqttPublisher publisher(broker.port());
        // The flood goes on until the panel has ended; a sanitized build on a loaded machine
        // takes its time.
        QElapsedTimer flooding;
        flooding.start();
        while (!panel.waitForFinished(5)) {
            for (int n = 0; n < Batch; ++n, ++published)
                publisher.publish("flood/value", published % 2 ? "50" : "99");
            // About two seconds of flood, as --seconds gives the other case.
            if (terminate && published == 400 * Batch)
                ::kill(pid_t(panel.processId()), SIGTERM);
            QVERIFY2(flooding.elapsed() < FloodLimitMs, "the panel did not end");
        }
    }
    err += QString::fromUtf8(panel.readAllStandardError());
    QVERIFY2(panel.exitStatus() == QProcess::NormalExit && panel.exitCode() == 0, qPrintable(err));
    broker.stop();
    // The panel took at least every value it acknowledged (the broker may not have read the
    // last acknowledgements before the panel left) and at most every value it was sent.
    // Only the flood's own messages count: the panel also hears its station's presence.
    std::ifstream log(broker.logFile());
    int acknowledged = 0, sent = 0;
    const std::regex sending(R"(Sending PUBLISH to (\S+) \(.*, m(\d+), '([^']*)')");
    const std::regex puback(R"(Received PUBACK from (\S+) \(Mid: (\d+))");
    std::map<std::pair<std::string, std::string>, std::string> topicOfMessage; // client, mid
    for (std::string line; std::getline(log, line);) {
        std::smatch match;
        if (std::regex_search(line, match, sending)) {
            topicOfMessage[{match[1], match[2]}] = match[3];
            sent += match[3] == "flood/value" ? 1 : 0;
        } else if (std::regex_search(line, match, puback)) {
            acknowledged += topicOfMessage[{match[1], match[2]}] == "flood/value" ? 1 : 0;
        }
    }
    QVERIFY2(acknowledged > 0 && sent <= published,
             qPrintable(QStringLiteral("%1 acknowledged, %2 sent of %3 published")
                            .arg(acknowledged)
                            .arg(sent)
                            .arg(published)));

    AlarmHistory history(folder / "h.sqlite");
    int recorded = 0;
    for (const AlarmTransition& t : history.query())
        recorded += t.kind == AlarmKind::AlarmHigh ? 1 : 0;
    QVERIFY2(recorded >= acknowledged && recorded <= sent,
             qPrintable(QStringLiteral("%1 recorded, %2 acknowledged, %3 sent")
                            .arg(recorded)
                            .arg(acknowledged)
                            .arg(sent)));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelFlood)
#include "tst_PanelFlood.moc"
