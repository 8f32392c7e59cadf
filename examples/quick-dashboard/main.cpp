// quick-dashboard: three gauges in a QML window, bound to a simulated signal, with a list of
// the alarms their events raise.
//
//   quick-dashboard [--seconds N]
//
// With --seconds the program quits after N seconds, having printed each alarm as it came, and
// exits with 0 only if some alarm came. Without a display it runs on Qt's offscreen platform.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTimer>

#include <cstdio>

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

// Prints each alarm the dashboard raises and counts them.
class AlarmLog : public QObject {
    Q_OBJECT
public:
    int count = 0;
public slots:
    void print(const QString& text) {
        ++count;
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("Three gauges bound to a simulated signal.");
    parser.addHelpOption();
    const QCommandLineOption secondsOption("seconds", "Quit after N seconds and report.", "N");
    parser.addOption(secondsOption);
    parser.process(app);
    bool secondsValid = true;
    const int seconds =
        parser.isSet(secondsOption) ? parser.value(secondsOption).toInt(&secondsValid) : 0;
    if (!secondsValid || seconds < 0) {
        std::fprintf(stderr, "quick-dashboard: --seconds wants a whole number of seconds\n");
        return 2;
    }

    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/Dashboard.qml")));
    if (engine.rootObjects().isEmpty())
        return 1; // the engine has said why
    QObject* window = engine.rootObjects().front();

    AlarmLog log;
    QObject::connect(window, SIGNAL(alarmRaised(QString)), &log, SLOT(print(QString)));
    if (seconds == 0)
        return app.exec();
    QTimer::singleShot(seconds * 1000, &app, &QGuiApplication::quit);
    const int status = app.exec();
    std::printf("%d alarms\n", log.count);
    return status == 0 && log.count > 0 ? 0 : 1;
}

#include "main.moc"
