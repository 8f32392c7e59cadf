// A person's mouse on the item. Until the item has text inputs for the threshold editor, a
// double-click must not open it: its panel would cover the dial with nothing to close it.
#include "QuickTestSupport.h"

#include <QTest>

class QuickInput : public QObject {
    Q_OBJECT
private slots:
    void aDoubleClickLeavesTheDialInView_data();
    void aDoubleClickLeavesTheDialInView();
};

void QuickInput::aDoubleClickLeavesTheDialInView_data() {
    QTest::addColumn<QPoint>("point"); // in control pixels
    // The dial background at 90 degrees, radius 40, and the Massimo scale label: the places
    // where the control opens its editor.
    QTest::newRow("the dial") << QPoint(84, 54);
    QTest::newRow("a scale label") << QPoint(140, 90);
}

void QuickInput::aDoubleClickLeavesTheDialInView() {
    QFETCH(QPoint, point);
    QuickScene scene(gaugeScene("width: 300; height: 260"));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(scene.show(QSize(300, 260)));
    QTRY_VERIFY(gauge->isFaceDrawn());
    const QImage before = scene.grab();
    QTest::mouseDClick(&scene.window(), Qt::LeftButton, {}, gauge->controlOrigin() + point);
    QVERIFY(!gauge->editorOpen());
    QTest::qWait(50);
    QCOMPARE(scene.grab(), before);
}

QTEST_MAIN(QuickInput)
#include "tst_QuickInput.moc"
