// A zoomed gauge: drawn as a gauge at that device pixel ratio draws, and used through the zoom
// (clicks, the threshold editor's real line edits, repaints of what changed).
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace gauge;

namespace {

// A gauge at its own size, restored and past its first redraw tick.
void settle(MervGaugeWidget& widget) {
    widget.resize(widget.sizeHint());
    QTRY_VERIFY(mervGaugeControl(widget).face().bandsDrawn());
}

// The widget pixels the zoom covers whole: a fractional zoom covers the last row or column
// only in part, and there the widget's background shows.
QRect wholePixels(qreal zoom) {
    return QRect(0, 0, int(170 * zoom), int(147 * zoom));
}

// How many pixels of the rectangle differ between two images.
int differing(const QImage& a, const QImage& b, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

QPoint zoomed(QPoint controlPoint, qreal zoom) {
    return (QPointF(controlPoint) * zoom).toPoint();
}

} // namespace

class GaugeZoom : public QObject {
    Q_OBJECT
private slots:
    void drawsAsTheRenderAtThatRatioAndRepaintsWhatAWriteChanged_data();
    void drawsAsTheRenderAtThatRatioAndRepaintsWhatAWriteChanged();
    void clicksReachTheElementUnderTheZoomedPoint_data();
    void clicksReachTheElementUnderTheZoomedPoint();
    void editorFieldsStandOverTheirZoomedElementsAndTakeTyping();
};

void GaugeZoom::drawsAsTheRenderAtThatRatioAndRepaintsWhatAWriteChanged_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::newRow("1.5, the last pixel row half covered") << qreal(1.5);
    QTest::newRow("3") << qreal(3);
}

// The zoom is drawn through the ratio path, not by scaling the ratio-1 pixels: the two agree
// pixel for pixel on the screen, also after a write repainted the zoomed boxes of the old and
// the new needle.
void GaugeZoom::drawsAsTheRenderAtThatRatioAndRepaintsWhatAWriteChanged() {
    QFETCH(qreal, zoom);
    MervGaugeWidget shown, reference;
    shown.setZoom(zoom);
    settle(shown);
    showAndActivate(shown);
    settle(reference);
    auto onScreen = [&] {
        return shown.screen()
            ->grabWindow(shown.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QRect whole = wholePixels(zoom);
    QTRY_COMPARE(differing(onScreen(), renderedAt(reference, zoom), whole), 0);
    const QImage upscaled = grabbed(reference).scaled(shown.size());
    QVERIFY(differing(onScreen(), upscaled, whole) > 1000);
    shown.setValue(70);
    reference.setValue(70);
    QTRY_COMPARE(differing(onScreen(), renderedAt(reference, zoom), whole), 0);
}

void GaugeZoom::clicksReachTheElementUnderTheZoomedPoint_data() {
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("opens");
    const QPoint dial = dialPoint(90, 40);
    const QPoint valueLabel(85, 135); // Val, which takes no double-click
    QTest::newRow("the dial at 1.5") << qreal(1.5) << zoomed(dial, 1.5) << true;
    QTest::newRow("the value at 2") << qreal(2) << zoomed(valueLabel, 2) << false;
    // The unzoomed place of the value label is the dial's at zoom 2.
    QTest::newRow("the value's unzoomed place at 2") << qreal(2) << valueLabel << true;
}

void GaugeZoom::clicksReachTheElementUnderTheZoomedPoint() {
    QFETCH(qreal, zoom);
    QFETCH(QPoint, point);
    QFETCH(bool, opens);
    MervGaugeWidget widget;
    widget.setZoom(zoom);
    widget.resize(widget.sizeHint());
    showAndActivate(widget);
    QTest::mouseDClick(&widget, Qt::LeftButton, {}, point);
    QCOMPARE(widget.editorOpen(), opens);
}

// At a fractional zoom, where the edges fall between pixels.
void GaugeZoom::editorFieldsStandOverTheirZoomedElementsAndTakeTyping() {
    constexpr qreal zoom = 1.5;
    MervGaugeWidget plain;
    plain.resize(plain.sizeHint());
    plain.openEditor();
    const QRect plainField = field(plain, "AlarmH")->geometry();
    const int plainFont = field(plain, "AlarmH")->font().pixelSize();

    MervGaugeWidget widget;
    widget.setZoom(zoom);
    widget.resize(widget.sizeHint() + QSize(40, 40)); // off-centre by (20, 20)
    showAndActivate(widget);
    QTest::mouseDClick(&widget, Qt::LeftButton, {},
                       QPoint(20, 20) + zoomed(dialPoint(90, 40), zoom));
    QVERIFY(widget.editorOpen());
    QLineEdit* alarmH = field(widget, "AlarmH");
    const QRectF expected(QPointF(20, 20) + QPointF(plainField.topLeft()) * zoom,
                          QSizeF(plainField.size()) * zoom);
    QCOMPARE(alarmH->geometry(), expected.toRect());
    QCOMPARE(alarmH->font().pixelSize(), int(std::lround(plainFont * zoom)));
    QTRY_VERIFY(alarmH->hasFocus());
    QTest::keyClicks(alarmH, QStringLiteral("90"));
    QCOMPARE(alarmH->text(), QStringLiteral("90"));
    QCOMPARE(widget.AlarmHighVal(), 90.0f);
    // The OK button, clicked where the zoomed gauge shows it, accepts and closes the editor.
    QPushButton* ok = okButton(widget);
    const QRect plainOk = okButton(plain)->geometry();
    QVERIFY(ok->geometry().contains(QPoint(20, 20) + zoomed(plainOk.center(), zoom)));
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(20, 20) + zoomed(plainOk.center(), zoom));
    QVERIFY(!widget.editorOpen());
    QCOMPARE(widget.AlarmHighVal(), 90.0f);
}

QTEST_MAIN(GaugeZoom)
#include "tst_GaugeZoom.moc"
