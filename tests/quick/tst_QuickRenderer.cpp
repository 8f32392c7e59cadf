// mervgauge-render --quick renders through the Qt Quick item and writes the very PNG the
// widget's render writes, events and all.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run render(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The renderer picks the platform and, for --quick, the scene graph itself.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(MERVGAUGE_RENDER_PATH), arguments);
    if (!process.waitForFinished(30000))
        qFatal("mervgauge-render did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class QuickRenderer : public QObject {
    Q_OBJECT
private slots:
    void writesTheWidgetsPng_data();
    void writesTheWidgetsPng();
};

void QuickRenderer::writesTheWidgetsPng_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("defaults") << QStringList{};
    QTest::newRow("high alarm with caption") << QStringList{
        "--set", "VariableName=Pressure", "--set", "EngUnit=bar", "--set", "Value=90"};
    QTest::newRow("scale 2, other colours") << QStringList{
        "--scale", "2",       "--set", "NormalColor=16711680", "--set", "BackColorGraphic=8421376",
        "--set",   "Value=42"};
    QTest::newRow("Italian, scale 2") << QStringList{
        "--scale", "2", "--locale", "it_IT", "--set", "Precision=2", "--set", "Value=12,5"};
    QTest::newRow("another scale")
        << QStringList{"--set", "MaxValue=-50", "--set", "MinValue=-100", "--set", "Value=-70"};
    QTest::newRow("the editor open") << QStringList{"--open-editor"};
    QTest::newRow("the editor open, scale 2, moved thresholds") << QStringList{
        "--open-editor", "--scale", "2", "--set", "AlarmHighVal=95", "--set", "Value=40"};
}

void QuickRenderer::writesTheWidgetsPng() {
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString widgetPng = dir.filePath("widget.png"), quickPng = dir.filePath("quick.png");
    const Run widget = render(arguments + QStringList{"-o", widgetPng});
    QVERIFY2(widget.exitCode == 0, qPrintable(widget.err));
    const Run quick = render(QStringList{"--quick"} + arguments + QStringList{"-o", quickPng});
    QVERIFY2(quick.exitCode == 0, qPrintable(quick.err));
    QCOMPARE(quick.out, widget.out);
    QVERIFY(!contents(widgetPng).isEmpty());
    QVERIFY(contents(quickPng) == contents(widgetPng));
}

QTEST_MAIN(QuickRenderer)
#include "tst_QuickRenderer.moc"
