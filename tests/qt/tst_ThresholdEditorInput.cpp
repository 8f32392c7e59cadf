// The threshold editor driven through real mouse and keyboard input.
#include "GaugeTestSupport.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/private/MervGaugeWidget_p.h>

#include <mervgauge/control/MERV_Gauge.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace gauge;

class ThresholdEditorInput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensFromTheDial();
    void opensFromAScaleLabel();
    void doubleClickOnTheValueDoesNothing();
    void typingReplacesTheSelectedThreshold();
    void aLetterBecomesTheSavedValue();
    void editingKeysEndInTheField();
    void pasteTypesTheClipboard();
    void enterMovesDownToOk();
    void tabFollowsTheFocusOrder();
    void acceptedOkClosesAndRedraws();
    void spaceOnOkPressesIt();
    void rejectedOkRestoresAllFour();
    void programWriteShowsInTheOpenPanel();
    void programWriteWhileClosedShowsOnOpening();

private:
    void open();
    MervGaugeWidget* widget = nullptr;
};

void ThresholdEditorInput::init() {
    widget = new MervGaugeWidget;
    showAndActivate(*widget);
}

void ThresholdEditorInput::cleanup() {
    delete widget;
    widget = nullptr;
}

void ThresholdEditorInput::open() {
    QTest::mouseDClick(widget, Qt::LeftButton, {}, dialPoint(90, 40));
    QVERIFY(widget->editorOpen());
}

void ThresholdEditorInput::opensFromTheDial() {
    // Closed, the editor has made no inputs: a panel of many gauges pays for none.
    QVERIFY(widget->findChildren<QLineEdit*>().isEmpty());
    QVERIFY(widget->findChildren<QPushButton*>().isEmpty());
    open();
    QLineEdit* alarmH = field(*widget, "AlarmH");
    QVERIFY(alarmH->isVisible());
    QVERIFY(okButton(*widget)->isVisible());
    QTRY_VERIFY(alarmH->hasFocus());
    QCOMPARE(alarmH->selectedText(), QStringLiteral("80"));
    // The storage fields never show.
    QVERIFY(!field(*widget, "Valore")->isVisible());
}

void ThresholdEditorInput::opensFromAScaleLabel() {
    // Massimo stands at (114, 85) to (147, 98).
    QTest::mouseDClick(widget, Qt::LeftButton, {}, QPoint(140, 90));
    QVERIFY(widget->editorOpen());
}

void ThresholdEditorInput::doubleClickOnTheValueDoesNothing() {
    QTest::mouseDClick(widget, Qt::LeftButton, {}, QPoint(85, 135));
    QVERIFY(!widget->editorOpen());
}

void ThresholdEditorInput::typingReplacesTheSelectedThreshold() {
    open();
    QTest::keyClicks(field(*widget, "AlarmH"), QStringLiteral("90"));
    QCOMPARE(field(*widget, "AlarmH")->text(), QStringLiteral("90"));
    QCOMPARE(widget->AlarmHighVal(), 90.0f);
}

void ThresholdEditorInput::aLetterBecomesTheSavedValue() {
    open();
    QTest::keyClicks(field(*widget, "AlarmH"), QStringLiteral("x"));
    QCOMPARE(field(*widget, "AlarmH")->text(), QStringLiteral("80"));
}

void ThresholdEditorInput::editingKeysEndInTheField() {
    open();
    QLineEdit* edit = field(*widget, "AlarmH");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("8"));
    QCOMPARE(mervGaugeControl(*widget).ui().AlarmH.text(), std::string("8"));
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClicks(edit, QStringLiteral("1"));
    QCOMPARE(edit->text(), QStringLiteral("18"));
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("8"));
    // Deleting the last character leaves no number: the saved value comes back.
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("80"));
}

void ThresholdEditorInput::pasteTypesTheClipboard() {
    open();
    QApplication::clipboard()->setText(QStringLiteral("75"));
    QLineEdit* edit = field(*widget, "AlarmH");
    QTest::keySequence(edit, QKeySequence::Paste);
    QCOMPARE(edit->text(), QStringLiteral("75"));
    QCOMPARE(widget->AlarmHighVal(), 75.0f);
}

void ThresholdEditorInput::enterMovesDownToOk() {
    open();
    const char* order[] = {"AlarmH", "WarningH", "WarningL", "AlarmL"};
    for (int i = 0; i < 4; ++i) {
        QLineEdit* edit = field(*widget, order[i]);
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QTRY_VERIFY(okButton(*widget)->hasFocus());
}

void ThresholdEditorInput::tabFollowsTheFocusOrder() {
    open();
    QTRY_VERIFY(field(*widget, "AlarmH")->hasFocus());
    QTest::keyClick(field(*widget, "AlarmH"), Qt::Key_Tab);
    QTRY_VERIFY(field(*widget, "WarningH")->hasFocus());
    QTest::keyClick(field(*widget, "WarningH"), Qt::Key_Backtab);
    QTRY_VERIFY(field(*widget, "AlarmH")->hasFocus());
}

void ThresholdEditorInput::acceptedOkClosesAndRedraws() {
    // 24 degrees is high alarm with the threshold at 80 and high warning with it at 90.
    QVERIFY(near(grabbed(*widget).pixelColor(dialPoint(24, RingRadius)), ole(0x0000FF), 0));
    open();
    QTest::keyClicks(field(*widget, "AlarmH"), QStringLiteral("90"));
    QTest::mouseClick(okButton(*widget), Qt::LeftButton);
    QVERIFY(!widget->editorOpen());
    QVERIFY(!field(*widget, "AlarmH")->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(
        near(grabbed(*widget).pixelColor(dialPoint(24, RingRadius)), ole(0x00FFFF), 0), 500);
    QVERIFY(near(grabbed(*widget).pixelColor(dialPoint(12, RingRadius)), ole(0x0000FF), 0));
}

void ThresholdEditorInput::spaceOnOkPressesIt() {
    open();
    for (const char* name : {"AlarmH", "WarningH", "WarningL", "AlarmL"})
        QTest::keyClick(field(*widget, name), Qt::Key_Return);
    QTRY_VERIFY(okButton(*widget)->hasFocus());
    QTest::keyClick(okButton(*widget), Qt::Key_Space);
    QVERIFY(!widget->editorOpen());
}

void ThresholdEditorInput::rejectedOkRestoresAllFour() {
    open();
    // Enter moves on and selects the next field's text: 70 for the high warning (in order),
    // 50 for the low alarm (above the low warning: out of order).
    QTest::keyClick(field(*widget, "AlarmH"), Qt::Key_Return);
    QTest::keyClicks(field(*widget, "WarningH"), QStringLiteral("70"));
    QTest::keyClick(field(*widget, "WarningH"), Qt::Key_Return);
    QTest::keyClick(field(*widget, "WarningL"), Qt::Key_Return);
    QTest::keyClicks(field(*widget, "AlarmL"), QStringLiteral("50"));
    QCOMPARE(field(*widget, "AlarmL")->text(), QStringLiteral("50"));
    QCOMPARE(field(*widget, "WarningH")->text(), QStringLiteral("70"));
    QTest::mouseClick(okButton(*widget), Qt::LeftButton);
    QVERIFY(widget->editorOpen());
    QCOMPARE(field(*widget, "AlarmH")->text(), QStringLiteral("80"));
    QCOMPARE(field(*widget, "WarningH")->text(), QStringLiteral("65"));
    QCOMPARE(field(*widget, "WarningL")->text(), QStringLiteral("35"));
    QCOMPARE(field(*widget, "AlarmL")->text(), QStringLiteral("20"));
}

void ThresholdEditorInput::programWriteShowsInTheOpenPanel() {
    open();
    widget->setAlarmHighVal(85);
    QCOMPARE(field(*widget, "AlarmH")->text(), QStringLiteral("85"));
}

void ThresholdEditorInput::programWriteWhileClosedShowsOnOpening() {
    // Hidden line edits catch up with their fields when they are shown (WarningL: a field
    // that the opening does not focus).
    widget->setWarningLowVal(30);
    open();
    QCOMPARE(field(*widget, "WarningL")->text(), QStringLiteral("30"));
}

QTEST_MAIN(ThresholdEditorInput)
#include "tst_ThresholdEditorInput.moc"
