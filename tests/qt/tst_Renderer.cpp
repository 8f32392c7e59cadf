// mervgauge-render end to end: the PNG it writes, the events it prints, its error exits.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Standard output goes to `stdoutFile` when one is given (for example /dev/full).
Run render(const QStringList& arguments, const QString& stdoutFile = QString()) {
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(MERVGAUGE_RENDER_PATH), arguments);
    if (!process.waitForFinished(30000))
        qFatal("mervgauge-render did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class Renderer : public QObject {
    Q_OBJECT
private slots:
    void writesTheGaugeAtEachScale_data();
    void writesTheGaugeAtEachScale();
    void printsTheEventsOfItsWrites();
    void rendersTheOpenEditor();
    void errorsExitWithOneLineAndWriteNothing_data();
    void errorsExitWithOneLineAndWriteNothing();
    void aFailedWriteIsAnErrorAndLeavesTheOldFileWhole();
    void lostEventOutputIsAnError();
    void helpListsEveryOptionWithItsDefault_data();
    void helpListsEveryOptionWithItsDefault();

private:
    QTemporaryDir dir;
};

void Renderer::writesTheGaugeAtEachScale_data() {
    QTest::addColumn<QString>("scale");
    QTest::addColumn<QSize>("size");
    QTest::newRow("ratio 1") << "1" << QSize(170, 147);
    QTest::newRow("ratio 2") << "2" << QSize(340, 294);
}

void Renderer::writesTheGaugeAtEachScale() {
    QFETCH(QString, scale);
    QFETCH(QSize, size);
    const QString out = dir.filePath(QStringLiteral("gauge-%1.png").arg(scale));
    const Run run = render({"--scale", scale, "-o", out});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.exitCode, 0);
    const QImage image(out);
    QCOMPARE(image.size(), size);
    // The white band at the bottom.
    QCOMPARE(image.pixelColor(QPoint(20, 108) * scale.toInt()), QColor(Qt::white));
}

void Renderer::printsTheEventsOfItsWrites() {
    const QString out = dir.filePath(QStringLiteral("alarm.png"));
    const Run run = render({"--set", "Value=50", "--set", "Value=90", "-o", out});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.split(QLatin1Char('\n')).contains(QStringLiteral("OnAlarmHigh")),
             qPrintable(run.out));
}

void Renderer::rendersTheOpenEditor() {
    const QString closed = dir.filePath(QStringLiteral("closed.png"));
    const QString open = dir.filePath(QStringLiteral("open.png"));
    QCOMPARE(render({"-o", closed}).exitCode, 0);
    QCOMPARE(render({"--open-editor", "-o", open}).exitCode, 0);
    QVERIFY(QImage(closed) != QImage(open));
}

void Renderer::errorsExitWithOneLineAndWriteNothing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("says");
    QTest::newRow("unknown property") << QStringList{"--set", "Nope=1"} << "438";
    QTest::newRow("refused value") << QStringList{"--set", "Value=abc"} << "13";
    QTest::newRow("missing bag") << QStringList{"--bag", "/nonexistent/bag.json"}
                                 << "/nonexistent/bag.json";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "--frobnicate";
    QTest::newRow("unknown short option") << QStringList{"-x"} << "'-x'";
    QTest::newRow("stray argument") << QStringList{"gauge.png"} << "gauge.png";
    QTest::newRow("scale out of range") << QStringList{"--scale", "9"} << "0.25 to 8";
}

void Renderer::errorsExitWithOneLineAndWriteNothing() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    const QString out = dir.filePath(QStringLiteral("never.png"));
    const Run run = render(arguments + QStringList{"-o", out});
    QVERIFY(run.exitCode != 0);
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    QVERIFY(!QFile::exists(out));
}

void Renderer::aFailedWriteIsAnErrorAndLeavesTheOldFileWhole() {
    const Run missingFolder =
        render({"-o", dir.filePath(QStringLiteral("no-such-folder/gauge.png"))});
    QVERIFY(missingFolder.exitCode != 0);
    QVERIFY2(missingFolder.err.contains(QStringLiteral("cannot write")),
             qPrintable(missingFolder.err));

    const QString out = dir.filePath(QStringLiteral("kept.png"));
    QCOMPARE(render({"-o", out}).exitCode, 0);
    const QImage before(out);
    QVERIFY(!before.isNull());
    QVERIFY(render({"--set", "Value=abc", "-o", out}).exitCode != 0);
    QCOMPARE(QImage(out), before);
}

void Renderer::lostEventOutputIsAnError() {
    const QString out = dir.filePath(QStringLiteral("full.png"));
    const Run run = render({"--set", "Value=90", "-o", out}, QStringLiteral("/dev/full"));
    QVERIFY(run.exitCode != 0);
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
}

void Renderer::helpListsEveryOptionWithItsDefault_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("shows"); // in the option's entry, blanks aside: help wraps
    // clang-format off
    QTest::newRow("help") << "--help" << "Show this help";
    QTest::newRow("bag") << "--bag" << "(default: every property's own)";
    QTest::newRow("set") << "--set" << "repeat for more";
    QTest::newRow("open-editor") << "--open-editor" << "threshold editor";
    QTest::newRow("scale") << "--scale" << "(default: 1)";
    QTest::newRow("locale") << "--locale" << "(default: the system's";
    QTest::newRow("settle") << "--settle" << "(default: 150)";
    QTest::newRow("output") << "-o" << "required";
    // clang-format on
}

void Renderer::helpListsEveryOptionWithItsDefault() {
    QFETCH(QString, option);
    QFETCH(QString, shows);
    const Run run = render({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    // The entry runs from the option's own line to the next option's.
    QString entry;
    bool inside = false;
    for (const QString& line : run.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("  -")))
            inside = line.contains(QRegularExpression(
                QStringLiteral("(^|[ ,])%1( |$)").arg(QRegularExpression::escape(option))));
        else if (!line.startsWith(QStringLiteral("    ")))
            inside = false;
        if (inside)
            entry += line;
    }
    QVERIFY2(!entry.isEmpty(), qPrintable(option + QStringLiteral(" is not listed:\n") + run.out));
    const QRegularExpression blanks(QStringLiteral("\\s"));
    QVERIFY2(QString(entry).remove(blanks).contains(QString(shows).remove(blanks)),
             qPrintable(entry));
}

QTEST_MAIN(Renderer)
#include "tst_Renderer.moc"
