// mervgauge-panel: the operator panel of gauges on live plant data.

#include "PanelController.h"
#include "PanelTranslations.h"
#include "PanelWindow.h"
#include "common/QtPlatformChoice.h"
#include "panel/DesignedForm.h"
#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/bagfile/BagError.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QHostInfo>
#include <QLocale>
#include <QPixmap>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iostream>
#include <pwd.h>
#include <unistd.h>

using namespace merv::panel;

namespace {

constexpr int HeadlessSeconds = 5;   // a headless run's length when --seconds is not given
constexpr int SimulatedStepMs = 100; // a headless simulated run advances in steps of this
constexpr const char* DefaultSnapshot = "mervgauge-panel.png";
// How long an ending run waits for a slow or failing history before it writes what is left to
// a recovery file.
constexpr int DrainBudgetMs = 10000;

// SIGTERM and SIGINT end a run as closing the window does: the handler only wakes the event
// loop through this pipe, and the run then ends normally and writes its history out.
int terminationPipe[2] = {-1, -1};

void onTermination(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(terminationPipe[1], &byte, 1);
}

// Calls end on the event loop when the process is asked to terminate; false when it cannot.
bool endOnTermination(QObject* owner, std::function<void()> end) {
    if (::pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [end = std::move(end)] {
        char bytes[16];
        while (::read(terminationPipe[0], bytes, sizeof bytes) > 0) {
        }
        end();
    });
    struct sigaction action {};
    action.sa_handler = &onTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 &&
           ::sigaction(SIGINT, &action, nullptr) == 0;
}

// Ends the controller's run, telling on standard error what the operator must know.
void finishRun(PanelController& controller) {
    for (const QString& line : controller.finish(DrainBudgetMs))
        std::cerr << "mervgauge-panel: " << line.toStdString() << '\n';
}

// The alarm history when --history names none; the application's name must be set first.
QString defaultHistoryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/alarm-history.sqlite");
}

std::filesystem::path defaultHistory() {
    const QString path = defaultHistoryPath();
    QDir().mkpath(QFileInfo(path).path());
    return path.toStdString();
}

// An option's description with its default, as --help shows it.
QString withDefault(const QString& description, const QString& value) {
    return QStringLiteral("%1 (default: %2)").arg(description, value);
}

int exportAlarms(const std::filesystem::path& history, const std::string& out) {
    // Exporting reads a history; it never makes an empty one up.
    if (!std::filesystem::exists(history))
        throw HistoryError(history.string() + ": no such alarm history");
    AlarmHistory store(history);
    const std::string temp = out + ".part";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file)
            throw HistoryError(out + ": cannot create the export file");
        store.exportCsv(file);
        file.flush();
        if (!file)
            throw HistoryError(out + ": cannot write the export");
    }
    std::error_code error;
    std::filesystem::rename(temp, out, error);
    if (error)
        throw HistoryError(out + ": " + error.message());
    return 0;
}

void writeSnapshot(QWidget& window, const QString& path) {
    const QPixmap picture = window.grab();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit())
        throw HistoryError(path.toStdString() +
                           ": cannot write the snapshot: " + file.errorString().toStdString());
}

// Beyond any screen's refresh rate: a pace that no longer paces.
constexpr int MaxFramesPerSecond = 1000;

// A skew of a year is no clock set wrong but no check at all.
constexpr int MaxSkewSeconds = 366 * 24 * 3600;

// The user running the panel, as the system names them.
std::string loginName() {
    if (const passwd* self = ::getpwuid(::geteuid()))
        return self->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

int run(int argc, char** argv) {
    merv::tools::choosePlatformBeforeQt();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mervgauge-panel"));
    // The window speaks the system's language where the panel has it, English elsewhere. The
    // command line, its help and what a headless run prints stay English: scripts read them.
    installTranslations(QLocale());
    QCommandLineParser parser;
    // The history's path goes here, on a line of its own: in an option's description help
    // would wrap it in the middle.
    parser.setApplicationDescription(
        QStringLiteral("An operator panel of gauges on live data.\n"
                       "Alarm history: %1 unless --history names another file.")
            .arg(defaultHistoryPath()));
    parser.addHelpOption();
    const QCommandLineOption form(
        QStringLiteral("form"),
        withDefault("The panel form: a grid form (.json) or a screen drawn in Qt Designer (.ui); "
                    "see docs/forms.md.",
                    "the built-in steam-plant form"),
        "FILE");
    const QCommandLineOption exportUi(
        QStringLiteral("export-ui"),
        "Write the form as a Qt Designer form (.ui) of its grid of bound gauges and exit.", "OUT");
    const QCommandLineOption source(
        QStringLiteral("source"),
        withDefault("sim, stdin, mqtt://HOST:PORT[/PREFIX], mqtts://HOST:PORT[/PREFIX] (TLS) or "
                    "modbus-tcp://HOST:PORT.",
                    "the form's \"source\", sim when it names none"),
        "ADDR");
    const QString defaultSeed = QString::number(SourceOptions().seed);
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  withDefault("The simulator's seed.", defaultSeed), "N",
                                  defaultSeed);
    const QCommandLineOption station(
        QStringLiteral("station"),
        withDefault("This operator station's name, unique among the stations sharing a broker.",
                    QHostInfo::localHostName() + "-XXXX, from the form and the history files"),
        "NAME");
    const QCommandLineOption history(
        QStringLiteral("history"),
        withDefault("The alarm history (SQLite).", "the file named above"), "FILE");
    const QCommandLineOption exportOption(QStringLiteral("export-alarms"),
                                          "Write the history as CSV and exit.", "OUT");
    const QCommandLineOption seconds(
        QStringLiteral("seconds"),
        withDefault(
            "Run this long, then close.",
            QStringLiteral("%1 without a display, until closed with one").arg(HeadlessSeconds)),
        "N");
    const QCommandLineOption snapshot(
        QStringLiteral("snapshot"),
        withDefault("Where a headless run writes its picture.", DefaultSnapshot), "PATH",
        DefaultSnapshot);
    const QString defaultPollMs = QString::number(SourceOptions().pollIntervalMs);
    const QCommandLineOption pollMs(
        QStringLiteral("poll-ms"),
        withDefault("Milliseconds between Modbus TCP polls.", defaultPollMs), "MS", defaultPollMs);
    const QString zoomRange = QStringLiteral("%1 to %2")
                                  .arg(MervGaugeWidget::MinimumZoom)
                                  .arg(MervGaugeWidget::MaximumZoom);
    const QCommandLineOption zoom(
        QStringLiteral("zoom"),
        withDefault("Draw the gauges at this scale (" + zoomRange + "), or fit them to the window.",
                    "fit"),
        "F", "fit");
    const QCommandLineOption mqttCa(
        QStringLiteral("mqtt-cafile"),
        withDefault("The CA certificate an mqtts:// broker's certificate must verify against.",
                    "the system's certificate authorities"),
        "FILE");
    const QCommandLineOption mqttCert(
        QStringLiteral("mqtt-cert"),
        "This station's certificate, for an mqtts:// broker that asks for one (with --mqtt-key).",
        "FILE");
    const QCommandLineOption mqttKey(QStringLiteral("mqtt-key"), "The private key of --mqtt-cert.",
                                     "FILE");
    const QCommandLineOption mqttUser(
        QStringLiteral("mqtt-user"),
        withDefault("The user this station logs in to the MQTT broker as.", "no login"), "NAME");
    const QCommandLineOption mqttPassword(
        QStringLiteral("mqtt-password-file"),
        withDefault("A file only its owner can read, whose first line is the --mqtt-user's "
                    "password.",
                    QStringLiteral("$%1").arg(QString::fromLatin1(PasswordVariable))),
        "FILE");
    const QCommandLineOption operatorOption(
        QStringLiteral("operator"),
        withDefault("Who acknowledges at this station, recorded with each acknowledgement.",
                    "the login name"),
        "NAME");
    const QCommandLineOption maxSkew(
        QStringLiteral("max-skew"),
        withDefault("Seconds a value's own time (its \"ts\") may lie from the panel's clock "
                    "before the value is doubtful.",
                    QString::number(DefaultMaxSkewMs / 1000)),
        "S", QString::number(DefaultMaxSkewMs / 1000));
    const QCommandLineOption maxFps(
        QStringLiteral("max-fps"),
        withDefault("Paint the window at most this many frames a second.",
                    "the screen's refresh rate, 60 where it tells none"),
        "N");
    const QCommandLineOption utc(QStringLiteral("utc"),
                                 withDefault("Show times in UTC.", "the local time zone"));
    parser.addOptions(
        {form, source, seed, station, history, exportOption, exportUi, seconds, snapshot, pollMs});
    parser.addOptions({mqttCa, mqttCert, mqttKey, mqttUser, mqttPassword, operatorOption, maxSkew,
                       zoom, maxFps, utc});
    parser.process(app);
    const std::optional<Zoom> gaugeZoom = Zoom::fromText(parser.value(zoom));
    if (!gaugeZoom)
        throw SourceError(
            ("--zoom: neither fit nor a scale from " + zoomRange + ": " + parser.value(zoom))
                .toStdString());

    const std::filesystem::path historyPath =
        parser.isSet(history) ? std::filesystem::path(parser.value(history).toStdString())
                              : defaultHistory();
    if (parser.isSet(exportOption))
        return exportAlarms(historyPath, parser.value(exportOption).toStdString());

    const std::filesystem::path formPath = parser.value(form).toStdString();
    PagedForm opened;
    if (formPath.empty())
        opened.form = defaultForm();
    else if (isDesignedForm(formPath))
        opened = asPagedForm(loadDesignedForm(formPath));
    else
        opened = loadPagedForm(formPath);
    const Form& panelForm = opened.form;
    if (parser.isSet(exportUi)) {
        if (isDesignedForm(formPath))
            throw merv::BagError(formPath.string(), {}, "already a designed form");
        exportDesignedForm(parser.value(exportUi).toStdString(), panelForm);
        return 0;
    }
    SourceOptions options;
    bool seedOk = false;
    options.seed = parser.value(seed).toULongLong(&seedOk);
    if (!seedOk)
        throw SourceError("--seed: not a number: " + parser.value(seed).toStdString());
    bool pollOk = false;
    options.pollIntervalMs = parser.value(pollMs).toInt(&pollOk);
    if (!pollOk || options.pollIntervalMs < 1)
        throw SourceError("--poll-ms: not a positive count of milliseconds: " +
                          parser.value(pollMs).toStdString());
    options.station =
        parser.isSet(station)
            ? parser.value(station).toStdString()
            : defaultStationName(QHostInfo::localHostName().toStdString(), formPath, historyPath);
    options.mqtt = {parser.value(mqttCa).toStdString(), parser.value(mqttCert).toStdString(),
                    parser.value(mqttKey).toStdString(), parser.value(mqttUser).toStdString(),
                    parser.value(mqttPassword).toStdString()};
    options.operatorName =
        parser.isSet(operatorOption) ? parser.value(operatorOption).toStdString() : loginName();
    bool skewOk = false;
    const double skewSeconds = parser.value(maxSkew).toDouble(&skewOk);
    if (!skewOk || !(skewSeconds >= 0) || skewSeconds > MaxSkewSeconds)
        throw SourceError("--max-skew: not a count of seconds from 0 to " +
                          std::to_string(MaxSkewSeconds) + ": " +
                          parser.value(maxSkew).toStdString());
    options.maxSkewMs = std::int64_t(skewSeconds * 1000);
    const bool headless = !merv::tools::hasDisplay();
    options.manualClock = headless;
    const std::string address =
        parser.isSet(source) ? parser.value(source).toStdString() : panelForm.source;
    auto dataSource =
        openSource(address, sourceOptionsFor(options, panelForm, formPath, !parser.isSet(source)));
    AlarmHistory store(historyPath);

    int runSeconds = headless ? HeadlessSeconds : 0;
    if (parser.isSet(seconds)) {
        bool ok = false;
        runSeconds = parser.value(seconds).toInt(&ok);
        if (!ok || runSeconds < 0)
            throw SourceError("--seconds: not a count of seconds: " +
                              parser.value(seconds).toStdString());
    }

    std::unique_ptr<PanelWindow> made = std::make_unique<PanelWindow>(
        std::move(opened), formPath, std::move(dataSource), &store, options.station);
    PanelWindow& window = *made;
    window.setSourceOptions(options);
    window.setZoom(*gaugeZoom);
    if (parser.isSet(maxFps)) {
        bool ok = false;
        const double fps = parser.value(maxFps).toDouble(&ok);
        if (!ok || !(fps >= 1) || fps > MaxFramesPerSecond)
            throw SourceError("--max-fps: not a count of frames a second from 1 to " +
                              std::to_string(MaxFramesPerSecond) + ": " +
                              parser.value(maxFps).toStdString());
        window.setMaxFramesPerSecond(fps);
    }
    if (parser.isSet(utc))
        window.setZone(DisplayZone::utc());
    QObject::connect(&window, &PanelWindow::logged,
                     [](const QString& line) { std::cerr << line.toStdString() << '\n'; });
    // A script learns from standard error when the source is there and values can flow, and an
    // operator why it is not.
    QObject::connect(&window, &PanelWindow::sourceSaid, [](const QString& detail) {
        std::cerr << "mervgauge-panel: source: " << detail.toStdString() << '\n';
    });
    window.resize(window.sizeHint());
    window.show();
    window.controller().start();
    const bool handlesTermination = headless
                                        ? endOnTermination(&app, [] { QCoreApplication::quit(); })
                                        : endOnTermination(&window, [&window] { window.close(); });
    if (!handlesTermination)
        std::cerr << "mervgauge-panel: SIGTERM will end the panel without writing out its "
                     "history: "
                  << std::strerror(errno) << '\n';
    if (!headless) {
        if (runSeconds > 0)
            QTimer::singleShot(runSeconds * 1000, &window, &QWidget::close);
        const int code = app.exec();
        finishRun(window.controller());
        return code;
    }

    // Headless runs never open another form, so the first controller stays.
    PanelController& controller = window.controller();
    if (controller.source().hasSimulatedTime()) {
        controller.advance(std::int64_t(runSeconds) * 1000, SimulatedStepMs);
    } else {
        QTimer::singleShot(runSeconds * 1000, &app, &QCoreApplication::quit);
        app.exec();
    }
    finishRun(controller);
    QCoreApplication::processEvents();
    const QString path = parser.value(snapshot);
    writeSnapshot(window, path);
    std::cout << path.toStdString() << '\n';
    for (const auto& [kind, count] : controller.raisedCounts())
        std::cout << nameOf(kind) << ": " << count << " raised\n";
    std::cout << "unacknowledged: " << controller.alarms().unacknowledgedCount() << '\n';
    if (const auto& refused = controller.refusedAcknowledgements(); refused.total() > 0)
        std::cout << "acknowledgements refused: " << refused.summary() << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const merv::BagError& error) {
        std::cerr << "mervgauge-panel: " << error.what() << '\n';
    } catch (const SourceError& error) {
        std::cerr << "mervgauge-panel: " << error.what() << '\n';
    } catch (const HistoryError& error) {
        std::cerr << "mervgauge-panel: " << error.what() << '\n';
    }
    return 1;
}
