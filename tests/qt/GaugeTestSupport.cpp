#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdlib>

namespace gauge {

bool near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

void showAndActivate(MervGaugeWidget& widget) {
    widget.show();
    widget.activateWindow();
    if (!QTest::qWaitForWindowExposed(&widget))
        qFatal("the gauge's window was never exposed");
    if (!QTest::qWaitForWindowActive(&widget))
        qFatal("the gauge's window never became active");
}

QImage grabbed(MervGaugeWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage renderedAt(MervGaugeWidget& widget, qreal ratio) {
    QImage image((QSizeF(widget.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget.render(&image);
    return image.convertToFormat(QImage::Format_RGB32);
}

int pixelsUnlike(const QImage& image, const QRect& rect, QColor background) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += near(image.pixelColor(x, y), background, 60) ? 0 : 1;
    return count;
}

QLineEdit* field(MervGaugeWidget& widget, const char* name) {
    auto* edit = widget.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!edit)
        qFatal("no line edit %s", name);
    return edit;
}

QPushButton* okButton(MervGaugeWidget& widget) {
    auto* button = widget.findChild<QPushButton*>(QStringLiteral("OKAl"));
    if (!button)
        qFatal("no OK button");
    return button;
}

} // namespace gauge
