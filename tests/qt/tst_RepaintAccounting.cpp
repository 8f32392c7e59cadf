// What a value write repaints: the needle's old and new boxes and the value label, nothing
// when nothing visible changed; what typing into the editor repaints: the field typed in.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <QLineEdit>
#include <QPaintEvent>
#include <QTest>

using namespace gauge;

namespace {

// Records the region of every paint event the widget receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
    int count = 0;
    QRegion region;
};

// The needle's box in widget pixels, with room for its pen.
QRect needleBox(const MervGaugeWidget& widget) {
    const merv::Line& needle = mervGaugeControl(widget).ui().LineValore;
    return QRectF(QPointF(needle.x1(), needle.y1()), QPointF(needle.x2(), needle.y2()))
        .normalized()
        .toAlignedRect()
        .translated(FaceLeft, FaceTop)
        .adjusted(-4, -4, 4, 4);
}

// Val stands at (28, 127), 113 by 17 pixels.
const QRect ValueLabelBox(27, 126, 115, 19);

} // namespace

class RepaintAccounting : public QObject {
    Q_OBJECT
private slots:
    void valueWriteRepaintsNeedleAndLabelOnly();
    void nothingVisibleChangedRepaintsNothing();
    void redrawWithTheSamePixelsRepaintsNothing();
    void typingInAFieldRepaintsTheField_data();
    void typingInAFieldRepaintsTheField();
};

void RepaintAccounting::valueWriteRepaintsNeedleAndLabelOnly() {
    MervGaugeWidget widget;
    showAndActivate(widget);
    QTest::qWait(200); // the first redraw tick after showing
    PaintRecorder recorder(widget);
    const QRect before = needleBox(widget);
    widget.setValue(70);
    const QRect after = needleBox(widget);
    QTRY_VERIFY(recorder.count > 0);
    QTest::qWait(20);
    const QRegion allowed = QRegion(before) + after + ValueLabelBox;
    QVERIFY2((recorder.region - allowed).isEmpty(),
             qPrintable(QStringLiteral("painted outside the needle and label boxes")));
    QVERIFY(recorder.region.boundingRect().width() < 140);
}

void RepaintAccounting::nothingVisibleChangedRepaintsNothing() {
    MervGaugeWidget widget;
    showAndActivate(widget);
    widget.setValue(50);
    QTest::qWait(200);
    PaintRecorder recorder(widget);
    widget.setValue(50);    // the same text: no change at all
    widget.setValue(50.2f); // another text, but the same caption and needle tip
    QTest::qWait(50);
    QCOMPARE(recorder.count, 0);
}

void RepaintAccounting::redrawWithTheSamePixelsRepaintsNothing() {
    MervGaugeWidget widget;
    showAndActivate(widget);
    QTest::qWait(200);
    PaintRecorder recorder(widget);
    // A threshold write with the same value schedules a redraw that draws the same face.
    widget.setAlarmHighVal(80);
    QTest::qWait(250);
    QCOMPARE(recorder.count, 0);
}

void RepaintAccounting::typingInAFieldRepaintsTheField_data() {
    QTest::addColumn<int>("key");
    // The painter draws the field's text, selection and caret: each change repaints it.
    QTest::newRow("a digit: new text") << int(Qt::Key_9);
    QTest::newRow("End: the caret moves, the selection goes") << int(Qt::Key_End);
    QTest::newRow("Enter: the focus moves on") << int(Qt::Key_Return);
}

void RepaintAccounting::typingInAFieldRepaintsTheField() {
    QFETCH(int, key);
    MervGaugeWidget widget;
    showAndActivate(widget);
    widget.openEditor();
    QLineEdit* edit = field(widget, "AlarmH");
    QTRY_VERIFY(edit->hasFocus());
    QTest::qWait(50);
    PaintRecorder recorder(widget);
    QTest::keyClick(edit, Qt::Key(key));
    QTRY_VERIFY(recorder.region.contains(edit->geometry()));
}

QTEST_MAIN(RepaintAccounting)
#include "tst_RepaintAccounting.moc"
