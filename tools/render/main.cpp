// mervgauge-render: renders one gauge into a PNG, without a display.
//
//   mervgauge-render [--quick] [--bag FILE] [--set NAME=VALUE]... [--open-editor] [--scale N]
//                    [--locale NAME] [--settle MS] -o OUT.png
//   mervgauge-render --help
//
// Events the gauge raises are printed on stdout, one a line. Every failure is one line on
// stderr and a non-zero exit, and then nothing is written. With --quick the gauge is the Qt
// Quick item in a window of the software scene graph instead of the widget; the pixels are
// the same.
#include <mervgauge/MervGauge.h>
#include <mervgauge/MervGaugeWidget.h>

#include "common/CheckedOutput.h"
#include "common/QtPlatformChoice.h"
#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/bagfile/BagFile.h>
#include <mervgauge/bagfile/FileIo.h>
#include <mervgauge/platform/PropertyBag.h>

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QImage>
#include <QLocale>
#include <QQuickWindow>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Long enough for the redraw tick that follows the gauge's sizing (100 ms).
constexpr int DefaultSettleMs = 150;
constexpr double DefaultScale = 1;

struct Options {
    bool quick = false;
    QString bag;
    std::vector<std::pair<QString, QString>> writes;
    bool openEditor = false;
    double scale = DefaultScale;
    QString locale;
    int settleMs = DefaultSettleMs;
    QString output;
};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "mervgauge-render: %s\n", qPrintable(message));
    // The widget and the application are still alive here: end at once rather than run exit
    // handlers over them; stdout was flushed after every event line.
    std::fflush(stdout);
    std::_Exit(1);
}

// An option's description with its default, as --help shows it.
QString withDefault(const char* description, const QString& value) {
    return QStringLiteral("%1 (default: %2)").arg(QString::fromUtf8(description), value);
}

QString tryHelp() {
    return QStringLiteral("; try 'mervgauge-render --help'");
}

// Reads the options; --help prints its text and ends the program, as an error does.
Options parse(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders one gauge into a PNG, without a display. Events the gauge raises "
                       "are printed on stdout, one a line."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption bag(
        QStringLiteral("bag"),
        withDefault("A property bag (JSON) to restore the gauge from.", "every property's own"),
        QStringLiteral("FILE"));
    const QCommandLineOption set(
        QStringLiteral("set"),
        QStringLiteral("Write a property after the bag, as a host does; repeat for more."),
        QStringLiteral("NAME=VALUE"));
    const QCommandLineOption quick(
        QStringLiteral("quick"),
        QStringLiteral("Render the Qt Quick item through the scene graph, not the widget."));
    const QCommandLineOption openEditor(QStringLiteral("open-editor"),
                                        QStringLiteral("Render with the threshold editor open."));
    const QCommandLineOption scale(
        QStringLiteral("scale"),
        withDefault("Device pixels per pixel, 0.25 to 8.", QString::number(DefaultScale)),
        QStringLiteral("N"), QString::number(DefaultScale));
    const QCommandLineOption locale(
        QStringLiteral("locale"),
        withDefault("The gauge's locale (it_IT, de_CH).", "the system's, " + QLocale().name()),
        QStringLiteral("NAME"));
    const QCommandLineOption settle(
        QStringLiteral("settle"),
        withDefault("Milliseconds for the gauge's redraw before the picture is taken.",
                    QString::number(DefaultSettleMs)),
        QStringLiteral("MS"), QString::number(DefaultSettleMs));
    const QCommandLineOption output(QStringLiteral("o"),
                                    QStringLiteral("The PNG to write; required."),
                                    QStringLiteral("OUT.png"));
    parser.addOptions({help, quick, bag, set, openEditor, scale, locale, settle, output});

    if (!parser.parse(args)) {
        // The parser names an unknown option without its dashes.
        QStringList unknown;
        for (const QString& name : parser.unknownOptionNames())
            unknown << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString why = parser.errorText();
        if (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        fail((unknown.isEmpty() ? why
                                : QStringLiteral("unknown option '%1'").arg(unknown.join("', '"))) +
             tryHelp());
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        // As fail() does: the application is alive, so no exit handlers run over it.
        std::_Exit(merv::tools::finishStandardOutput("mervgauge-render") ? 0 : 1);
    }
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()) +
             tryHelp());

    Options o;
    o.quick = parser.isSet(quick);
    o.bag = parser.value(bag);
    for (const QString& w : parser.values(set)) {
        const qsizetype eq = w.indexOf(QLatin1Char('='));
        if (eq <= 0)
            fail(QStringLiteral("--set needs NAME=VALUE, not '%1'").arg(w));
        o.writes.emplace_back(w.left(eq), w.mid(eq + 1));
    }
    o.openEditor = parser.isSet(openEditor);
    bool ok = false;
    o.scale = parser.value(scale).toDouble(&ok);
    if (!ok || o.scale < 0.25 || o.scale > 8)
        fail(QStringLiteral("--scale takes a number from 0.25 to 8"));
    o.locale = parser.value(locale);
    o.settleMs = parser.value(settle).toInt(&ok);
    if (!ok || o.settleMs < 0)
        fail(QStringLiteral("--settle takes milliseconds"));
    o.output = parser.value(output);
    if (o.output.isEmpty())
        fail(QStringLiteral("no output: name the PNG with -o") + tryHelp());
    return o;
}

// The scene graph draws the Qt Quick item at the window's device pixel ratio, which Qt takes
// from the environment when the application starts: a --quick render at a scale sets it
// first, with the software scene graph that needs no GPU. The options are checked later.
void chooseQuickRenderingBeforeQt(int argc, char** argv) {
    bool quick = false;
    QByteArray scale;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--quick")
            quick = true;
        else if (arg == "--scale" && i + 1 < argc)
            scale = argv[i + 1];
        else if (arg.startsWith("--scale="))
            scale = arg.mid(8);
    }
    if (!quick)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    if (!scale.isEmpty())
        qputenv("QT_SCALE_FACTOR", scale);
}

// The gauge's last error, as a run-time error.
template <typename Gauge>
QString describeLastError(const Gauge& gauge) {
    return QStringLiteral("run-time error %1: %2")
        .arg(gauge.lastErrorNumber())
        .arg(gauge.lastErrorString());
}

// Encodes the image and writes it atomically, then ends the program.
int writePng(const QImage& image, const Options& options) {
    // Encoded in memory first, so a failed or short write can never leave a half PNG behind.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        fail(QStringLiteral("cannot encode the PNG"));
    if (const auto problem =
            merv::writeFileAtomically(options.output.toStdString(),
                                      std::string_view(png.constData(), std::size_t(png.size()))))
        fail(QStringLiteral("cannot write '%1': %2")
                 .arg(options.output, QString::fromStdString(problem->what)));
    return merv::tools::finishStandardOutput("mervgauge-render") ? 0 : 1;
}

// The locale the options name; fails for one Qt does not know.
std::optional<QLocale> localeOf(const Options& options) {
    if (options.locale.isEmpty())
        return std::nullopt;
    const QLocale locale(options.locale);
    if (locale.language() == QLocale::C && options.locale != QLatin1String("C"))
        fail(QStringLiteral("unknown locale '%1'").arg(options.locale));
    return locale;
}

void printEvent(const char* name) {
    std::printf("%s\n", name);
    std::fflush(stdout);
}

// Restores the gauge from the options' bag and writes their properties, as a host does.
template <typename Gauge>
void restoreAndWrite(Gauge& gauge, const Options& options) {
    try {
        merv::MemoryPropertyBag bag = options.bag.isEmpty()
                                          ? merv::MemoryPropertyBag()
                                          : merv::loadBag(options.bag.toStdString());
        if (!gauge.restore(bag))
            fail(QStringLiteral("restoring: ") + describeLastError(gauge));
        for (const auto& [name, text] : options.writes) {
            if (!gauge.putProperty(name, text))
                fail(QStringLiteral("%1: ").arg(name) + describeLastError(gauge));
        }
    } catch (const merv::BagError& error) {
        fail(QString::fromStdString(error.what()));
    }
}

// The first run-time error a tick raises, kept to fail the render with.
template <typename Gauge>
std::shared_ptr<std::optional<QString>> watchTicks(Gauge& gauge) {
    auto tickError = std::make_shared<std::optional<QString>>();
    QObject::connect(
        &gauge, &Gauge::runtimeError,
        [tickError](int number, const QString& description, const QString&) {
            if (!*tickError)
                *tickError = QStringLiteral("run-time error %1: %2").arg(number).arg(description);
        });
    return tickError;
}

void settle(QApplication& app, const Options& options) {
    QTimer::singleShot(options.settleMs, &app, &QCoreApplication::quit);
    app.exec();
}

int renderWidget(QApplication& app, const Options& options) {
    MervGaugeWidget gauge{MervGaugeWidget::Unstarted{}};
    if (const auto locale = localeOf(options))
        gauge.setLocale(*locale);
    for (const auto& [signal, name] : {std::pair{&MervGaugeWidget::OnAlarmHigh, "OnAlarmHigh"},
                                       std::pair{&MervGaugeWidget::OnAlarmLow, "OnAlarmLow"},
                                       std::pair{&MervGaugeWidget::OnWarningHigh, "OnWarningHigh"},
                                       std::pair{&MervGaugeWidget::OnWarningLow, "OnWarningLow"}})
        QObject::connect(&gauge, signal, [name = name] { printEvent(name); });
    const auto tickError = watchTicks(gauge);
    restoreAndWrite(gauge, options);

    settle(app, options);
    if (options.openEditor)
        gauge.openEditor();
    if (*tickError)
        fail(**tickError);

    const QSize size = gauge.sizeHint();
    QImage image((QSizeF(size) * options.scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(options.scale);
    image.fill(Qt::transparent);
    gauge.resize(size);
    gauge.render(&image);
    return writePng(image, options);
}

int renderQuick(QApplication& app, const Options& options) {
    QQuickWindow window;
    window.setColor(Qt::transparent);
    // The item is the window's; it goes with the window's content item.
    auto* gauge = new MervGauge(window.contentItem());
    if (const auto locale = localeOf(options))
        gauge->setLocale(*locale);
    for (const auto& [signal, name] : {std::pair{&MervGauge::onAlarmHigh, "OnAlarmHigh"},
                                       std::pair{&MervGauge::onAlarmLow, "OnAlarmLow"},
                                       std::pair{&MervGauge::onWarningHigh, "OnWarningHigh"},
                                       std::pair{&MervGauge::onWarningLow, "OnWarningLow"}})
        QObject::connect(gauge, signal, [name = name] { printEvent(name); });
    const auto tickError = watchTicks(*gauge);
    restoreAndWrite(*gauge, options);

    const QSize size(int(gauge->implicitWidth()), int(gauge->implicitHeight()));
    gauge->setSize(size);
    window.resize(size);
    window.show();
    settle(app, options);
    if (options.openEditor) {
        gauge->openEditor();
        // Without inputs for its fields the item keeps the editor closed.
        if (!gauge->editorOpen())
            fail(QStringLiteral("the threshold editor did not open"));
    }
    if (*tickError)
        fail(**tickError);
    QImage image = window.grabWindow();
    if (image.isNull())
        fail(QStringLiteral("the scene graph rendered no picture"));
    return writePng(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), options);
}

} // namespace

int main(int argc, char** argv) {
    merv::tools::choosePlatformBeforeQt();
    chooseQuickRenderingBeforeQt(argc, argv);
    QApplication app(argc, argv);
    const Options options = parse(app.arguments());
    return options.quick ? renderQuick(app, options) : renderWidget(app, options);
}
