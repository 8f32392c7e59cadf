// The application's palette is the item's: system colours are drawn as it gives them, and a
// change of it shows at once, the dial face's pixels included.
#include "QuickTestSupport.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

class QuickPalette : public QObject {
    Q_OBJECT
private slots:
    void aSystemColourFollowsThePalette();
    void bothSpellingsOfASystemColourRestoreIt_data();
    void bothSpellingsOfASystemColourRestoreIt();
};

namespace {

// A point of the dial background inside the zone ring, in item pixels (the widget tests'
// dial point at 90 degrees, radius 40).
constexpr QPoint DialBackground(84, 54);
// The system colour index of button faces, as the stored colour value marks it.
constexpr quint32 ButtonFace = 0x8000000F;

} // namespace

void QuickPalette::aSystemColourFollowsThePalette() {
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Button, QColor(10, 200, 30));
    QGuiApplication::setPalette(palette);
    QuickScene scene(gaugeScene("backColorGraphic: " + QByteArray::number(ButtonFace)));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    MervGauge* gauge = scene.gauge();
    QVERIFY(scene.show(QSize(170, 147)));
    QCOMPARE(gauge->BackColorGraphic(), ButtonFace); // kept as written
    const qreal ratio = scene.window().devicePixelRatio();
    const QPoint at = DialBackground * ratio;
    QTRY_COMPARE(scene.grab().pixelColor(at), QColor(10, 200, 30));
    QCOMPARE(gauge->backColorGraphicQColor(), QColor(10, 200, 30));
    palette.setColor(QPalette::Button, QColor(200, 20, 90));
    QGuiApplication::setPalette(palette);
    QTRY_COMPARE(scene.grab().pixelColor(at), QColor(200, 20, 90));
}

void QuickPalette::bothSpellingsOfASystemColourRestoreIt_data() {
    QTest::addColumn<bool>("colorFirst");
    QTest::newRow("stored value first") << false;
    QTest::newRow("color first") << true;
}

// A scene that lists a system colour's stored value and the colour it shows, in either order,
// keeps the system colour: the colour write matches what the stored value already shows.
void QuickPalette::bothSpellingsOfASystemColourRestoreIt() {
    QFETCH(bool, colorFirst);
    const QByteArray shown = QGuiApplication::palette().color(QPalette::Button).name().toLatin1();
    const QByteArray stored = "backColorGraphic: " + QByteArray::number(ButtonFace);
    const QByteArray asColor = "backColorGraphicQColor: \"" + shown + "\"";
    QuickScene scene(gaugeScene(colorFirst ? asColor + "; " + stored : stored + "; " + asColor));
    QVERIFY2(scene.root(), qPrintable(scene.errors()));
    QCOMPARE(scene.gauge()->BackColorGraphic(), ButtonFace);
    QCOMPARE(scene.gauge()->lastErrorNumber(), int(MervGauge::NoError));
}

QTEST_MAIN(QuickPalette)
#include "tst_QuickPalette.moc"
