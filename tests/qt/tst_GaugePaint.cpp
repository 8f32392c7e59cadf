// What a grabbed gauge shows: zone bands, dial background, needle, white band, texts and
// the ornaments' transparent background.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <QTest>

using namespace gauge;

class GaugePaint : public QObject {
    Q_OBJECT
private slots:
    void zoneBands_data();
    void zoneBands();
    void dialBackgroundInsideTheRing();
    void aSystemColourFollowsThePalette();
    void needleFollowsTheValue();
    void whiteBandAndItsTexts();
    void repaintedLabelsFollowCaptionAndColour();
    void ornamentsLetTheBackgroundShowThrough();
    void sizeIsFixedAndTheGaugeStaysCentred();
};

void GaugePaint::zoneBands_data() {
    QTest::addColumn<float>("alarmHigh");
    QTest::addColumn<unsigned>("normalColor");
    QTest::addColumn<double>("angle");
    QTest::addColumn<unsigned>("expected");
    const unsigned red = 0x0000FF, yellow = 0x00FFFF, green = 0x00FF00, blue = 0xFF0000;
    QTest::newRow("default low alarm") << 80.0f << green << 162.0 << red;
    QTest::newRow("default low warning") << 80.0f << green << 130.0 << yellow;
    QTest::newRow("default normal") << 80.0f << green << 90.0 << green;
    QTest::newRow("default high warning") << 80.0f << green << 50.0 << yellow;
    QTest::newRow("default high alarm") << 80.0f << green << 18.0 << red;
    QTest::newRow("high alarm at 95 leaves 18 degrees to the warning")
        << 95.0f << green << 18.0 << yellow;
    QTest::newRow("normal colour blue") << 80.0f << blue << 90.0 << blue;
}

void GaugePaint::zoneBands() {
    QFETCH(float, alarmHigh);
    QFETCH(unsigned, normalColor);
    QFETCH(double, angle);
    QFETCH(unsigned, expected);
    MervGaugeWidget widget;
    widget.setAlarmHighVal(alarmHigh);
    widget.setNormalColor(normalColor);
    // The threshold reaches the face with the next redraw tick.
    QTRY_VERIFY_WITH_TIMEOUT(
        widget.AlarmHighVal() == alarmHigh &&
            near(grabbed(widget).pixelColor(dialPoint(angle, RingRadius)), ole(expected), 0),
        1000);
}

void GaugePaint::dialBackgroundInsideTheRing() {
    MervGaugeWidget widget;
    const QImage image = grabbed(widget);
    QCOMPARE(image.pixelColor(dialPoint(90, 40)), ole(0xC0C0C0));
    widget.setBackColorGraphic(0x808000);
    QCOMPARE(grabbed(widget).pixelColor(dialPoint(90, 40)), ole(0x808000));
}

void GaugePaint::aSystemColourFollowsThePalette() {
    constexpr unsigned ButtonFace = 0x8000000F;
    MervGaugeWidget widget;
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Button, QColor(10, 200, 30));
    widget.setPalette(palette);
    widget.setBackColorGraphic(ButtonFace);
    QCOMPARE(widget.BackColorGraphic(), ButtonFace); // kept as written
    QCOMPARE(grabbed(widget).pixelColor(dialPoint(90, 40)), QColor(10, 200, 30));
    palette.setColor(QPalette::Button, QColor(200, 20, 90));
    widget.setPalette(palette);
    QCOMPARE(grabbed(widget).pixelColor(dialPoint(90, 40)), QColor(200, 20, 90));
}

void GaugePaint::needleFollowsTheValue() {
    MervGaugeWidget widget;
    widget.setValue(50);
    QImage image = grabbed(widget);
    // Straight up from the pivot: blue along its length, grey beside it.
    for (int y = FaceTop + 25; y <= FaceTop + 60; y += 5)
        QVERIFY2(near(image.pixelColor(FaceLeft + 83, y), ole(0xFF0000), 40),
                 qPrintable(QStringLiteral("needle pixel at y %1").arg(y)));
    QCOMPARE(image.pixelColor(FaceLeft + 93, FaceTop + 40), ole(0xC0C0C0));

    widget.setValue(100);
    image = grabbed(widget);
    QVERIFY(near(image.pixelColor(FaceLeft + 120, FaceTop + 78), ole(0xFF0000), 40));
    QCOMPARE(image.pixelColor(FaceLeft + 83, FaceTop + 40), ole(0xC0C0C0));
}

void GaugePaint::whiteBandAndItsTexts() {
    MervGaugeWidget widget;
    widget.setVariableName(QStringLiteral("Flow"));
    widget.setValue(42);
    const QImage image = grabbed(widget);
    QCOMPARE(image.pixelColor(20, 108), QColor(Qt::white));
    // Variabile (30..139, 112..124) and Val (28..141, 127..144) show dark text.
    QVERIFY(pixelsUnlike(image, QRect(30, 112, 109, 12), Qt::white) > 10);
    QVERIFY(pixelsUnlike(image, QRect(28, 127, 113, 17), Qt::white) > 10);
    // The text is centred: its ink lies on both sides of the middle.
    QVERIFY(pixelsUnlike(image, QRect(60, 127, 25, 17), Qt::white) > 0);
    QVERIFY(pixelsUnlike(image, QRect(85, 127, 25, 17), Qt::white) > 0);
}

void GaugePaint::repaintedLabelsFollowCaptionAndColour() {
    // A label painted twice unchanged is then copied from a cache; a change must still show.
    const QRect variabile(30, 112, 109, 12);
    const auto settled = [](MervGaugeWidget& w) {
        grabbed(w);
        return grabbed(w);
    };
    MervGaugeWidget widget;
    widget.setVariableName(QStringLiteral("Flow"));
    const QImage flow = settled(widget);
    widget.setVariableName(QStringLiteral("Pressure"));
    const QImage pressure = settled(widget);
    QVERIFY(flow.copy(variabile) != pressure.copy(variabile));
    mervGaugeControl(widget).ui().Variabile.setForeColor(0xFF0000);
    QVERIFY(pixelsUnlike(settled(widget), variabile, Qt::white) >
            pixelsUnlike(pressure, variabile, Qt::white) / 2);
    QVERIFY(pixelsUnlike(settled(widget), variabile, Qt::blue) <
            pixelsUnlike(pressure, variabile, Qt::blue));
}

void GaugePaint::ornamentsLetTheBackgroundShowThrough() {
    MervGaugeWidget widget;
    QImage image = grabbed(widget);
    // AltoSx covers (6, 6) to (15, 15): the round ornament's corner is transparent.
    QCOMPARE(image.pixelColor(6, 6), ole(0xC0C0C0));
    QVERIFY(!near(image.pixelColor(11, 11), ole(0xC0C0C0), 4));
    widget.setBackColorGraphic(0x00A000);
    image = grabbed(widget);
    QCOMPARE(image.pixelColor(6, 6), ole(0x00A000));
}

void GaugePaint::sizeIsFixedAndTheGaugeStaysCentred() {
    MervGaugeWidget widget;
    QCOMPARE(widget.sizeHint(), QSize(170, 147));
    QCOMPARE(widget.minimumSizeHint(), QSize(170, 147));
    QCOMPARE(widget.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    widget.resize(270, 247);
    QCOMPARE(widget.controlOrigin(), QPoint(50, 50));
    const QImage image = grabbed(widget);
    QCOMPARE(image.pixelColor(50 + 20, 50 + 108), QColor(Qt::white));
}

QTEST_MAIN(GaugePaint)
#include "tst_GaugePaint.moc"
