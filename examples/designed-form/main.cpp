// designed-form: the boiler house form from designed-form.ui, as uic compiles it.
//
//   designed-form [--print]
//
// With --print, or without a display, it prints each gauge's stored properties (those that
// differ from their defaults, in the order a property bag keeps them), one per line as
// "gauge Name=Value", and exits; otherwise it shows the form.
#include "ui_designed-form.h"

#include <mervgauge/MervGaugeWidget.h>

#include <mervgauge/platform/PropertyBag.h>

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// False, with the gauge's error, when the gauge could not store its properties.
bool printStored(MervGaugeWidget& gauge) {
    merv::MemoryPropertyBag bag;
    if (!gauge.store(bag)) {
        std::fprintf(stderr, "designed-form: %s: %s\n", qPrintable(gauge.objectName()),
                     qPrintable(gauge.lastErrorString()));
        return false;
    }
    for (const auto& [key, value] : bag.entries())
        std::printf("%s %s=%s\n", qPrintable(gauge.objectName()), key.c_str(),
                    value.toText(merv::NumberLocale::english()).c_str());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool headless = !hasDisplay();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("The boiler house form with three designed gauges.");
    parser.addHelpOption();
    const QCommandLineOption printOption("print", "Print the gauges' stored properties and quit.");
    parser.addOption(printOption);
    parser.process(app);

    QWidget form;
    Ui::DesignedForm ui;
    ui.setupUi(&form);

    if (!headless && !parser.isSet(printOption)) {
        form.show();
        return app.exec();
    }
    for (MervGaugeWidget* gauge : {ui.boilerPressure, ui.tankLevel, ui.flueTemperature}) {
        if (!printStored(*gauge))
            return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
