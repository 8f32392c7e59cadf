// The widget's property-bag files: save and load, bad files, failed saves.
#include <mervgauge/MervGaugeWidget.h>

#include <mervgauge/platform/PropertyBag.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class GaugeBagFiles : public QObject {
    Q_OBJECT
private slots:
    void saveThenLoadGivesTheSameGauge();
    void badFilesLeaveTheGaugeUntouched_data();
    void badFilesLeaveTheGaugeUntouched();
    void failedSaveLeavesTheOldFileWhole();

private:
    QTemporaryDir dir;
};

void GaugeBagFiles::saveThenLoadGivesTheSameGauge() {
    const QString path = dir.filePath(QStringLiteral("gauge.json"));
    MervGaugeWidget first;
    first.setMaxValue(250);
    first.setValue(12.5f);
    first.setEngUnit(QStringLiteral("bar"));
    first.setAlarmColor(0x112233);
    QVERIFY(first.saveBag(path));

    MervGaugeWidget second;
    QVERIFY(second.loadBag(path));
    QCOMPARE(second.MaxValue(), 250.0f);
    QCOMPARE(second.Value(), 12.5f);
    QCOMPARE(second.EngUnit(), QStringLiteral("bar"));
    QCOMPARE(second.AlarmColor(), 0x112233u);
    const QString again = dir.filePath(QStringLiteral("again.json"));
    QVERIFY(second.saveBag(again));
    QCOMPARE(read(again), read(path));
}

void GaugeBagFiles::badFilesLeaveTheGaugeUntouched_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("names");
    QTest::newRow("truncated") << QByteArray("{\"MaxValue\": 5") << "bad.json";
    QTest::newRow("not JSON") << QByteArray("MaxValue = 5") << "bad.json";
    QTest::newRow("wrongly typed") << QByteArray("{\"MaxValue\": 5, \"Value\": [1]}") << "Value";
}

void GaugeBagFiles::badFilesLeaveTheGaugeUntouched() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, names);
    const QString path = dir.filePath(QStringLiteral("bad.json"));
    write(path, contents);
    MervGaugeWidget widget;
    widget.setMaxValue(77);
    QVERIFY2(!widget.loadBag(path), "a bad file must not load");
    QCOMPARE(widget.lastErrorNumber(), MervGaugeWidget::BagFileError);
    QVERIFY2(widget.lastErrorString().contains(names), qPrintable(widget.lastErrorString()));
    QCOMPARE(widget.MaxValue(), 77.0f);
}

void GaugeBagFiles::failedSaveLeavesTheOldFileWhole() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("gauge.json"));
    MervGaugeWidget widget;
    widget.setMaxValue(300);
    QVERIFY(widget.saveBag(path));
    const QByteArray before = read(path);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    widget.setMaxValue(400);
    const bool failed = !widget.saveBag(path);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!failed)
        QSKIP("the folder stays writable (running as root)");
    QCOMPARE(read(path), before);
}

QTEST_MAIN(GaugeBagFiles)
#include "tst_GaugeBagFiles.moc"
