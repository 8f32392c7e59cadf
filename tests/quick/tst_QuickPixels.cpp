// The item paints what the widget paints, pixel for pixel, at the device pixel ratio the
// process runs at (the suite runs it at 1 and at 2); its size is the control's.
#include "GaugeTestSupport.h"
#include "QuickTestSupport.h"

#include <DifferingPixels.h>

#include <mervgauge/MervGaugeWidget.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QQuickItem>
#include <QTest>

#include <cctype>

using merv::test::differingPixels;
using Settings = QList<QPair<QByteArray, QVariant>>;
Q_DECLARE_METATYPE(Settings)

namespace {

// The settings as QML declarations.
QByteArray declarations(const Settings& settings) {
    QByteArray qml;
    for (const auto& [name, value] : settings) {
        const QByteArray text = value.typeId() == QMetaType::QString
                                    ? '"' + value.toString().toUtf8() + '"'
                                    : value.toString().toUtf8();
        // Declarations take the names with their first letter lowered.
        qml += char(std::tolower(name[0])) + name.mid(1) + ": " + text + "\n";
    }
    return qml;
}

// What a person does to a gauge before it is looked at.
struct Actions {
    bool openEditor = false;
    QString typed; // into the field the opened editor focuses
};

// The widget with the settings, as the renderer renders it, once its face is drawn.
QImage widgetPixels(const Settings& settings, const Actions& actions = {}) {
    MervGaugeWidget widget;
    for (const auto& [name, value] : settings)
        widget.setProperty(name, value);
    widget.resize(widget.sizeHint());
    const qreal ratio = qApp->devicePixelRatio();
    // The face reaches its thresholds and colours with the first redraw tick.
    if (!QTest::qWaitFor([&] { return widget.isFaceDrawn(); }, 2000))
        return {};
    if (actions.openEditor) {
        widget.openEditor();
        QTest::keyClicks(gauge::field(widget, "AlarmH"), actions.typed);
    }
    QTest::qWait(50);
    return gauge::renderedAt(widget, ratio);
}

} // namespace

class QuickPixels : public QObject {
    Q_OBJECT
private slots:
    void runsAtTheRatioTheSuiteAsksFor();
    void sameAsTheWidget_data();
    void sameAsTheWidget();
    void writesAfterTheFirstFrameRepaintAsTheWidgetShows();
    void theOpenEditorAsTheWidgetShowsIt_data();
    void theOpenEditorAsTheWidgetShowsIt();
    void sizeIsTheControlsAndALargerItemCentresIt();
};

void QuickPixels::runsAtTheRatioTheSuiteAsksFor() {
    // Without this the ratio-2 run could compare at ratio 1 and prove nothing new.
    const QByteArray asked = qgetenv("MERVGAUGE_TEST_RATIO");
    if (asked.isEmpty())
        QSKIP("run outside the suite, at whatever ratio the environment gives");
    QuickScene scene(gaugeScene(""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QVERIFY(scene.show(QSize(50, 50)));
    QCOMPARE(scene.window().devicePixelRatio(), asked.toDouble());
    QCOMPARE(scene.grab().size(), QSize(50, 50) * asked.toInt());
}

void QuickPixels::sameAsTheWidget_data() {
    QTest::addColumn<Settings>("settings");
    QTest::newRow("defaults") << Settings{};
    QTest::newRow("a value in the high warning, with caption and unit")
        << Settings{{"VariableName", QString("Pressure")},
                    {"EngUnit", QString("bar")},
                    {"Precision", 1},
                    {"Value", 72.5}};
    QTest::newRow("moved thresholds") << Settings{{"AlarmHighVal", 95.0},
                                                  {"WarningHighVal", 75.0},
                                                  {"WarningLowVal", 25.0},
                                                  {"AlarmLowVal", 5.0},
                                                  {"Value", 3.0}};
    QTest::newRow("other colours")
        << Settings{{"BackColorGraphic", QVariant::fromValue<quint32>(0x808000)},
                    {"NormalColor", QVariant::fromValue<quint32>(0xFF0000)},
                    {"TextColor", QVariant::fromValue<quint32>(0x0000C0)},
                    {"BackColorText", QVariant::fromValue<quint32>(0xE0FFFF)},
                    {"BordersColor", QVariant::fromValue<quint32>(0x00C000)},
                    {"Value", 40.0}};
    QTest::newRow("another scale")
        << Settings{{"MinValue", -100.0}, {"MaxValue", -50.0}, {"Value", -70.0}};
}

void QuickPixels::sameAsTheWidget() {
    QFETCH(Settings, settings);
    const QImage expected = widgetPixels(settings);
    QVERIFY(!expected.isNull());

    QuickScene scene(gaugeScene(declarations(settings)));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(scene.show(QSize(int(gauge->implicitWidth()), int(gauge->implicitHeight()))));
    QTRY_VERIFY(gauge->isFaceDrawn());
    QTRY_COMPARE_WITH_TIMEOUT(differingPixels(scene.grab(), expected), 0, 2000);
}

void QuickPixels::writesAfterTheFirstFrameRepaintAsTheWidgetShows() {
    // Each write repaints only what the control reports changed; what is left of the old
    // frame must match the widget's fresh one.
    const Settings later{
        {"Value", 90.0},        {"VariableName", QString("Flow")},
        {"Value", 12.0},        {"NormalColor", QVariant::fromValue<quint32>(0xFF00FF)},
        {"AlarmHighVal", 70.0}, {"Value", 55.5}};
    QuickScene scene(gaugeScene(""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(scene.show(QSize(int(gauge->implicitWidth()), int(gauge->implicitHeight()))));
    QTRY_VERIFY(gauge->isFaceDrawn());
    scene.grab();
    Settings written;
    for (const auto& [name, value] : later) {
        QVERIFY(gauge->setProperty(name, value));
        written.append({name, value});
        const QImage expected = widgetPixels(written);
        QTRY_COMPARE_WITH_TIMEOUT(differingPixels(scene.grab(), expected), 0, 2000);
    }
}

void QuickPixels::theOpenEditorAsTheWidgetShowsIt_data() {
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("typed");
    QTest::newRow("just opened, the high alarm selected") << Settings{} << QString();
    QTest::newRow("a digit typed: the caret after it") << Settings{} << QStringLiteral("9");
    QTest::newRow("a letter refused: the saved value selected again")
        << Settings{} << QStringLiteral("x");
    QTest::newRow("moved thresholds and other colours")
        << Settings{{"AlarmHighVal", 95.0},
                    {"WarningLowVal", 25.0},
                    {"BackColorGraphic", QVariant::fromValue<quint32>(0x808000)},
                    {"TextColor", QVariant::fromValue<quint32>(0x0000C0)},
                    {"Value", 40.0}}
        << QStringLiteral("12");
}

void QuickPixels::theOpenEditorAsTheWidgetShowsIt() {
    QFETCH(Settings, settings);
    QFETCH(QString, typed);
    const QImage expected = widgetPixels(settings, {true, typed});
    QVERIFY(!expected.isNull());

    QuickScene scene(gaugeScene(declarations(settings)));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(scene.show(QSize(int(gauge->implicitWidth()), int(gauge->implicitHeight()))));
    scene.window().requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&scene.window()));
    QTRY_VERIFY(gauge->isFaceDrawn());
    QTest::mouseDClick(&scene.window(), Qt::LeftButton, {}, gauge::dialPoint(90, 40));
    QVERIFY(gauge->editorOpen());
    for (const QChar c : typed)
        QTest::keyClick(&scene.window(), c.toLatin1());
    QTRY_COMPARE_WITH_TIMEOUT(differingPixels(scene.grab(), expected), 0, 2000);
}

void QuickPixels::sizeIsTheControlsAndALargerItemCentresIt() {
    MervGaugeWidget widget;
    const QImage expected = widgetPixels({});
    QuickScene scene(gaugeScene("width: 300; height: 250"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QCOMPARE(QSize(int(gauge->implicitWidth()), int(gauge->implicitHeight())), widget.sizeHint());
    const QPoint origin((300 - widget.sizeHint().width()) / 2,
                        (250 - widget.sizeHint().height()) / 2);
    QCOMPARE(gauge->controlOrigin(), origin);
    QVERIFY(scene.show(QSize(300, 250)));
    QTRY_VERIFY(gauge->isFaceDrawn());
    const qreal ratio = qApp->devicePixelRatio();
    const QRect inDevice(origin * ratio, expected.size());
    QTRY_COMPARE_WITH_TIMEOUT(differingPixels(scene.grab().copy(inDevice), expected), 0, 2000);
    // The margins show what lies behind the item.
    QCOMPARE(scene.grab().pixelColor(2, 2), QColor(Qt::white));
}

QTEST_MAIN(QuickPixels)
#include "tst_QuickPixels.moc"
