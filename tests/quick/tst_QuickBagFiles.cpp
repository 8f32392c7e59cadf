// loadBag and saveBag: the widget's JSON files, read whole before anything changes.
#include "QuickTestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class QuickBagFiles : public QObject {
    Q_OBJECT
private slots:
    void savedBagRestoresAnotherGauge();
    void aBadFileFailsAndLeavesTheGauge_data();
    void aBadFileFailsAndLeavesTheGauge();
    void aSaveIntoAMissingFolderFails();
};

void QuickBagFiles::savedBagRestoresAnotherGauge() {
    QTemporaryDir dir;
    const QUrl file = QUrl::fromLocalFile(dir.filePath("gauge.json"));
    QuickScene source(gaugeScene(
        "variableName: \"Flow\"; engUnit: \"m³/h\"; maxValue: 400; value: 120; normalColor: 255"));
    QVERIFY2(source.root(), qPrintable(source.errors()));
    QVERIFY(source.gauge()->saveBag(file));

    QuickScene target(R"(
import QtQuick
import MERVGauge
MervGauge {
    property bool loaded: false
    function load(url) { loaded = loadBag(url) }
}
)");
    QVERIFY2(target.root(), qPrintable(target.errors()));
    MervGauge* gauge = target.gauge();
    QSignalSpy values(gauge, &MervGauge::ValueChanged);
    QVERIFY(QMetaObject::invokeMethod(gauge, "load", Q_ARG(QVariant, QVariant(file))));
    QVERIFY(gauge->property("loaded").toBool());
    QCOMPARE(gauge->VariableName(), QString("Flow"));
    QCOMPARE(gauge->EngUnit(), QString("m³/h"));
    QCOMPARE(gauge->MaxValue(), 400.0);
    QCOMPARE(gauge->Value(), 120.0);
    QCOMPARE(gauge->NormalColor(), 255u);
    QCOMPARE(values.count(), 1);
}

void QuickBagFiles::aBadFileFailsAndLeavesTheGauge_data() {
    QTest::addColumn<QByteArray>("contents"); // empty: no file at all
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("truncated") << QByteArray(R"({"MaxValue": 400, "Val)");
    QTest::newRow("not JSON") << QByteArray("MaxValue=400");
    QTest::newRow("wrongly typed") << QByteArray(R"({"MaxValue": 5, "Value": [1]})");
}

void QuickBagFiles::aBadFileFailsAndLeavesTheGauge() {
    QFETCH(QByteArray, contents);
    QTemporaryDir dir;
    const QString path = dir.filePath("bag.json");
    if (!contents.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    QuickScene scene(gaugeScene("variableName: \"Level\"; maxValue: 10"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QSignalSpy errors(gauge, &MervGauge::runtimeError);
    QVERIFY(!gauge->loadBag(QUrl::fromLocalFile(path)));
    QCOMPARE(gauge->lastErrorNumber(), int(MervGauge::BagFileError));
    QVERIFY2(gauge->lastErrorString().contains("bag.json"), qPrintable(gauge->lastErrorString()));
    QCOMPARE(gauge->VariableName(), QString("Level"));
    QCOMPARE(gauge->MaxValue(), 10.0);
    // A call that returns its failure raises no run-time error besides.
    QCOMPARE(errors.count(), 0);
}

void QuickBagFiles::aSaveIntoAMissingFolderFails() {
    QTemporaryDir dir;
    QuickScene scene(gaugeScene(""));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QVERIFY(!scene.gauge()->saveBag(QUrl::fromLocalFile(dir.filePath("no/such/folder/bag.json"))));
    QCOMPARE(scene.gauge()->lastErrorNumber(), int(MervGauge::BagFileError));
    QVERIFY(!scene.gauge()->saveBag(QUrl("http://example.invalid/bag.json")));
    QCOMPARE(scene.gauge()->lastErrorNumber(), int(MervGauge::BagFileError));
}

QTEST_MAIN(QuickBagFiles)
#include "tst_QuickBagFiles.moc"
