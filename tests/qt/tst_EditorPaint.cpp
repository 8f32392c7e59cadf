// What the open threshold editor shows: its fields and OK button are drawn with the gauge from
// their elements (text, selection, caret, focus), not by the line edits and push button over
// them, so the pixels follow the control's state.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>

#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTest>

using namespace gauge;

namespace {

// Pixels in the rectangle of exactly the colour.
int pixelsOf(const QImage& image, const QRect& rect, QColor color) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    return count;
}

} // namespace

class EditorPaint : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void theFocusedFieldShowsItsSelection();
    void aCaretStandsWhereTheSelectionWas();
    void anUnfocusedFieldShowsItsTextOnly();
    void theFocusedButtonShowsAFocusRectangle();

private:
    QRect rectOf(QWidget* input) const { return input->geometry().adjusted(1, 1, -1, -1); }
    MervGaugeWidget* widget = nullptr;
    QColor highlight;
};

void EditorPaint::init() {
    widget = new MervGaugeWidget;
    showAndActivate(*widget);
    widget->openEditor();
    QTRY_VERIFY(field(*widget, "AlarmH")->hasFocus());
    highlight = widget->palette().color(QPalette::Highlight);
}

void EditorPaint::cleanup() {
    delete widget;
    widget = nullptr;
}

void EditorPaint::theFocusedFieldShowsItsSelection() {
    // "80" is selected on opening: a highlight band with the text over it.
    const QImage image = grabbed(*widget);
    const QRect alarmH = rectOf(field(*widget, "AlarmH"));
    QVERIFY(pixelsOf(image, alarmH, highlight) > 50);
    QVERIFY(pixelsUnlike(image, alarmH, highlight) > 0);
}

void EditorPaint::aCaretStandsWhereTheSelectionWas() {
    QLineEdit* edit = field(*widget, "AlarmH");
    QTest::keyClick(edit, Qt::Key_End);
    const QImage image = grabbed(*widget);
    const QRect alarmH = rectOf(edit);
    QCOMPARE(pixelsOf(image, alarmH, highlight), 0);
    // The caret: a column of the text's colour after the text, one pixel wide.
    int columns = 0;
    for (int x = alarmH.left(); x <= alarmH.right(); ++x) {
        int run = 0;
        for (int y = alarmH.top(); y <= alarmH.bottom(); ++y)
            run += image.pixelColor(x, y) == ole(0x0000FF) ? 1 : 0; // the high alarm's red
        columns += run >= alarmH.height() / 2 ? 1 : 0;
    }
    QCOMPARE(columns, 1);
}

void EditorPaint::anUnfocusedFieldShowsItsTextOnly() {
    const QImage image = grabbed(*widget);
    const QRect warningL = rectOf(field(*widget, "WarningL"));
    QCOMPARE(pixelsOf(image, warningL, highlight), 0);
    // "35" in the field's colour on its back colour.
    QVERIFY(pixelsUnlike(image, warningL, image.pixelColor(warningL.topLeft())) > 10);
}

void EditorPaint::theFocusedButtonShowsAFocusRectangle() {
    QPushButton* ok = okButton(*widget);
    const QImage before = grabbed(*widget);
    for (const char* name : {"AlarmH", "WarningH", "WarningL", "AlarmL"})
        QTest::keyClick(field(*widget, name), Qt::Key_Return);
    QTRY_VERIFY(ok->hasFocus());
    const QImage after = grabbed(*widget);
    // The dotted rectangle three pixels inside the border, in the button text's colour.
    const QRect ring = ok->geometry().adjusted(3, 3, -3, -3);
    const QColor ink = widget->palette().color(QPalette::ButtonText);
    const QRect top(ring.left(), ring.top(), ring.width(), 1);
    QCOMPARE(pixelsOf(before, top, ink), 0);
    QVERIFY(pixelsOf(after, top, ink) >= ring.width() / 3);
}

QTEST_MAIN(EditorPaint)
#include "tst_EditorPaint.moc"
