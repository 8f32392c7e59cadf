// A person's mouse on the item reaches the element the control's hit test names, in a centred
// gauge as in one at its own size.
#include "QuickTestSupport.h"

#include <QTest>

class QuickInput : public QObject {
    Q_OBJECT
private slots:
    void doubleClickOpensTheEditorWhereTheLayoutSays_data();
    void doubleClickOpensTheEditorWhereTheLayoutSays();
};

void QuickInput::doubleClickOpensTheEditorWhereTheLayoutSays_data() {
    QTest::addColumn<QSize>("itemSize");
    QTest::addColumn<QPoint>("point"); // in control pixels
    QTest::addColumn<bool>("opens");
    const QSize own(170, 147), larger(300, 260);
    // The dial background at 90 degrees, radius 40; the Massimo label; the value text.
    for (const QSize& size : {own, larger}) {
        const QByteArray at = size == own ? " at its own size" : " centred";
        QTest::newRow("the dial" + at) << size << QPoint(84, 54) << true;
        QTest::newRow("a scale label" + at) << size << QPoint(140, 90) << true;
        QTest::newRow("the value text" + at) << size << QPoint(85, 135) << false;
    }
    QTest::newRow("the margin beside a centred gauge") << larger << QPoint(-20, 54) << false;
}

void QuickInput::doubleClickOpensTheEditorWhereTheLayoutSays() {
    QFETCH(QSize, itemSize);
    QFETCH(QPoint, point);
    QFETCH(bool, opens);
    QuickScene scene(gaugeScene("width: " + QByteArray::number(itemSize.width()) +
                                "; height: " + QByteArray::number(itemSize.height())));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(scene.show(itemSize));
    QTest::mouseDClick(&scene.window(), Qt::LeftButton, {}, gauge->controlOrigin() + point);
    QCOMPARE(gauge->editorOpen(), opens);
}

QTEST_MAIN(QuickInput)
#include "tst_QuickInput.moc"
