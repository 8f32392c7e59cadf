// two-gauges: a boiler pressure gauge and a flue temperature gauge that a timer sweeps up and
// down; the status line says when the temperature enters its high alarm.
//
//   two-gauges [--seconds N]
//
// With --seconds the program quits after N seconds, prints how often OnAlarmHigh was raised
// and exits with 0 only if it was and no error was reported. Without a display it runs on Qt's
// offscreen platform.
#include <mervgauge/MervGaugeWidget.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

constexpr int SweepIntervalMs = 100; // the timer's period
constexpr float SweepStep = 10.0f;   // how far the temperature moves per tick
constexpr float SweepLow = 0.0f;     // the sweep turns at the scale's ends
constexpr float SweepHigh = 100.0f;

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("Two gauges, one swept by a timer.");
    parser.addHelpOption();
    const QCommandLineOption secondsOption("seconds", "Quit after N seconds and report.", "N");
    parser.addOption(secondsOption);
    parser.process(app);
    bool secondsValid = true;
    const int seconds =
        parser.isSet(secondsOption) ? parser.value(secondsOption).toInt(&secondsValid) : 0;
    if (!secondsValid || seconds < 0) {
        std::fprintf(stderr, "two-gauges: --seconds wants a whole number of seconds\n");
        return 2;
    }

    QWidget window;
    window.setWindowTitle("Two gauges");
    auto* pressure = new MervGaugeWidget;
    pressure->setVariableName("Pressure");
    pressure->setEngUnit("bar");
    pressure->setPrecision(1);
    pressure->setMaxValue(16);
    pressure->setAlarmHighVal(14);
    pressure->setWarningHighVal(12);
    pressure->setWarningLowVal(3);
    pressure->setAlarmLowVal(1);
    pressure->setValue(7.5f);
    auto* temperature = new MervGaugeWidget;
    temperature->setVariableName("Flue gas");
    temperature->setEngUnit("°C");
    auto* status = new QLabel("Normal");

    auto* gauges = new QHBoxLayout;
    gauges->addWidget(pressure);
    gauges->addWidget(temperature);
    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(gauges);
    layout->addWidget(status);

    int alarms = 0;
    int errors = 0;
    QObject::connect(temperature, &MervGaugeWidget::OnAlarmHigh, [&] {
        ++alarms;
        const QString text = QString("High alarm: %1 at %2 %3")
                                 .arg(temperature->VariableName())
                                 .arg(temperature->Value())
                                 .arg(temperature->EngUnit());
        status->setText(text);
        std::printf("OnAlarmHigh %s\n", qPrintable(text));
        std::fflush(stdout);
    });
    QObject::connect(temperature, &MervGaugeWidget::runtimeError,
                     [&](int number, const QString& description, const QString& property) {
                         ++errors;
                         std::fprintf(stderr, "two-gauges: error %d in %s: %s\n", number,
                                      qPrintable(property), qPrintable(description));
                     });

    QTimer sweep;
    float step = SweepStep;
    QObject::connect(&sweep, &QTimer::timeout, [&] {
        float next = temperature->Value() + step;
        if (next > SweepHigh || next < SweepLow) {
            step = -step;
            next = temperature->Value() + step;
        }
        temperature->setValue(next);
    });
    sweep.start(SweepIntervalMs);

    window.show();
    if (seconds == 0)
        return app.exec();
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    app.exec();
    std::printf("OnAlarmHigh raised %d time(s)\n", alarms);
    return alarms > 0 && errors == 0 ? 0 : 1;
}
