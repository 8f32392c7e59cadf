// The face above device pixel ratio 1: drawn again at device resolution, not scaled up.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/layout/SurfaceLayout.h>

#include <QTest>

using namespace gauge;

namespace {

// The device pixel at a dial angle and radius (control pixels) in an image of the ratio.
QPoint devicePoint(double degrees, double radius, qreal ratio) {
    const double r = degrees * 3.14159265 / 180;
    return {int(std::lround((FaceLeft + CentreX + 0.5 + radius * std::cos(r)) * ratio - 0.5)),
            int(std::lround((FaceTop + CentreY + 0.5 - radius * std::sin(r)) * ratio - 0.5))};
}

} // namespace

class SharpFace : public QObject {
    Q_OBJECT
private slots:
    void radialEdgeHasAtMostOneBlendedPixel_data();
    void radialEdgeHasAtMostOneBlendedPixel();
    void faceIsNotAnUpscaledBitmap();
};

void SharpFace::radialEdgeHasAtMostOneBlendedPixel_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("ratio 1") << qreal(1);
    QTest::newRow("ratio 1.5") << qreal(1.5);
    QTest::newRow("ratio 2") << qreal(2);
    QTest::newRow("ratio 3") << qreal(3);
}

// Along the ring across the edge between the low warning and the normal band (117 degrees).
void SharpFace::radialEdgeHasAtMostOneBlendedPixel() {
    QFETCH(qreal, ratio);
    MervGaugeWidget widget;
    widget.resize(widget.sizeHint());
    const QImage image = renderedAt(widget, ratio);
    const QColor yellow = ole(0x00FFFF), green = ole(0x00FF00);
    int blended = 0;
    QPoint last(-1, -1);
    for (double a = 123; a >= 111; a -= 0.05) {
        const QPoint p = devicePoint(a, RingRadius, ratio);
        if (p == last)
            continue;
        last = p;
        const QColor c = image.pixelColor(p);
        blended += c == yellow || c == green ? 0 : 1;
    }
    QVERIFY2(blended <= 1, qPrintable(QStringLiteral("%1 blended pixels").arg(blended)));
    QCOMPARE(image.pixelColor(devicePoint(125, RingRadius, ratio)), yellow);
    QCOMPARE(image.pixelColor(devicePoint(109, RingRadius, ratio)), green);
}

// An upscaled copy repeats each face pixel as a 2 x 2 block; a sharp face differs from it along
// every band outline.
void SharpFace::faceIsNotAnUpscaledBitmap() {
    MervGaugeWidget widget;
    widget.resize(widget.sizeHint());
    const QImage sharp = renderedAt(widget, 2);
    const QImage upscaled = renderedAt(widget, 1).scaled(sharp.size());
    const QRect face(FaceLeft * 2, FaceTop * 2, merv::Layout::DialSurfaceWidth * 2,
                     merv::Layout::DialSurfaceHeight * 2);
    int differing = 0;
    for (int y = face.top(); y <= face.bottom(); ++y) {
        for (int x = face.left(); x <= face.right(); ++x) {
            // Only the ring: texts are sharper at ratio 2 in any case.
            const double d = std::hypot(x / 2.0 - FaceLeft - CentreX, y / 2.0 - FaceTop - CentreY);
            if (d > 66 && d < 80)
                differing += sharp.pixel(x, y) != upscaled.pixel(x, y) ? 1 : 0;
        }
    }
    QVERIFY2(differing > 200, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
}

QTEST_MAIN(SharpFace)
#include "tst_SharpFace.moc"
