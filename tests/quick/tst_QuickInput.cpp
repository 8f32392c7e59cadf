// The threshold editor in the item, driven through real mouse and keyboard input on the
// window: the item's TextInputs and OK button stand in for the control's fields and button.
#include "QuickTestSupport.h"

#include <GaugeTestSupport.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// The editor's fields from the top down, the order Enter moves the focus in.
const char* const FieldOrder[] = {"AlarmH", "WarningH", "WarningL", "AlarmL"};

// Types the text on the window, a key for each character.
void type(QWindow* window, const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

} // namespace

class QuickInput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aDoubleClickOpensTheEditor_data();
    void aDoubleClickOpensTheEditor();
    void aDoubleClickOnTheValueLeavesItClosed();
    void typingGoesThroughTheNumericGuard_data();
    void typingGoesThroughTheNumericGuard();
    void editingKeysEndInTheField();
    void pasteTypesTheClipboard();
    void enterMovesDownToOk();
    void tabFollowsTheFocusOrder_data();
    void tabFollowsTheFocusOrder();
    void aClickInAFieldGivesItTheFocus();
    void aClickPlacesTheFieldsCaret();
    void acceptedOkChangesTheThresholdsAndTellsBindings();
    void spaceOnOkPressesIt();
    void rejectedOkRestoresAllFour();
    void programWriteShowsInTheOpenPanel();

private:
    void open();
    QQuickItem* input(const char* name) const;
    QString text(const char* name) const { return input(name)->property("text").toString(); }
    void click(QQuickItem* item);

    std::unique_ptr<QuickScene> scene;
    MervGauge* gauge = nullptr;
};

void QuickInput::init() {
    scene = std::make_unique<QuickScene>(gaugeScene("width: 300; height: 260"));
    QVERIFY2(scene->root(), qPrintable(scene->errors()));
    gauge = scene->gauge();
    QVERIFY(scene->show(QSize(300, 260)));
    scene->window().requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&scene->window()));
    QTRY_VERIFY(gauge->isFaceDrawn());
}

void QuickInput::cleanup() {
    scene.reset();
    gauge = nullptr;
}

QQuickItem* QuickInput::input(const char* name) const {
    auto* item = gauge->findChild<QQuickItem*>(QString::fromLatin1(name));
    if (!item)
        qFatal("no input %s", name);
    return item;
}

void QuickInput::click(QQuickItem* item) {
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(&scene->window(), Qt::LeftButton, {}, centre.toPoint());
}

void QuickInput::open() {
    QTest::mouseDClick(&scene->window(), Qt::LeftButton, {},
                       gauge->controlOrigin() + gauge::dialPoint(90, 40));
    QVERIFY(gauge->editorOpen());
}

void QuickInput::aDoubleClickOpensTheEditor_data() {
    QTest::addColumn<QPoint>("point"); // in control pixels
    QTest::newRow("the dial") << gauge::dialPoint(90, 40);
    // Massimo stands at (114, 85) to (147, 98).
    QTest::newRow("a scale label") << QPoint(140, 90);
}

void QuickInput::aDoubleClickOpensTheEditor() {
    QFETCH(QPoint, point);
    // A gauge makes its inputs only when its editor first opens: most never open it.
    QVERIFY(!gauge->findChild<QQuickItem*>(QStringLiteral("AlarmH")));
    QVERIFY(!gauge->findChild<QQuickItem*>(QStringLiteral("OKAl")));
    QTest::mouseDClick(&scene->window(), Qt::LeftButton, {}, gauge->controlOrigin() + point);
    QVERIFY(gauge->editorOpen());
    QQuickItem* alarmH = input("AlarmH");
    QVERIFY(alarmH->isVisible());
    QVERIFY(input("OKAl")->isVisible());
    QTRY_VERIFY(alarmH->hasActiveFocus());
    QCOMPARE(alarmH->property("selectedText").toString(), QStringLiteral("80"));
    // The field stands over its element, where the control places it in the item.
    QVERIFY(gauge->boundingRect().contains(alarmH->mapRectToItem(gauge, alarmH->boundingRect())));
    // The storage fields never show.
    QVERIFY(!input("Valore")->isVisible());
}

void QuickInput::aDoubleClickOnTheValueLeavesItClosed() {
    QTest::mouseDClick(&scene->window(), Qt::LeftButton, {},
                       gauge->controlOrigin() + QPoint(85, 135));
    QVERIFY(!gauge->editorOpen());
    QVERIFY(!input("AlarmH")->isVisible());
}

void QuickInput::typingGoesThroughTheNumericGuard_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("threshold");
    QTest::newRow("digits replace the selected threshold") << "90"
                                                           << "90" << 90.0;
    QTest::newRow("a letter brings the saved value back") << "x"
                                                          << "80" << 80.0;
    QTest::newRow("a decimal number") << "72.5"
                                      << "72.5" << 72.5;
}

void QuickInput::typingGoesThroughTheNumericGuard() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(double, threshold);
    open();
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    type(&scene->window(), typed);
    QCOMPARE(text("AlarmH"), shown);
    QCOMPARE(gauge->AlarmHighVal(), threshold);
}

void QuickInput::editingKeysEndInTheField() {
    open();
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    QQuickWindow* window = &scene->window();
    QTest::keyClick(window, Qt::Key_End);
    QTest::keyClick(window, Qt::Key_Backspace);
    QCOMPARE(text("AlarmH"), QStringLiteral("8"));
    QTest::keyClick(window, Qt::Key_Home);
    type(window, QStringLiteral("1"));
    QCOMPARE(text("AlarmH"), QStringLiteral("18"));
    QTest::keyClick(window, Qt::Key_Left);
    QTest::keyClick(window, Qt::Key_Delete);
    QCOMPARE(text("AlarmH"), QStringLiteral("8"));
    // Deleting the last character leaves no number: the saved value comes back.
    QTest::keyClick(window, Qt::Key_Home);
    QTest::keyClick(window, Qt::Key_Delete);
    QCOMPARE(text("AlarmH"), QStringLiteral("80"));
}

void QuickInput::pasteTypesTheClipboard() {
    open();
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    QGuiApplication::clipboard()->setText(QStringLiteral("75"));
    QTest::keySequence(&scene->window(), QKeySequence::Paste);
    QCOMPARE(text("AlarmH"), QStringLiteral("75"));
    QCOMPARE(gauge->AlarmHighVal(), 75.0);
}

void QuickInput::enterMovesDownToOk() {
    open();
    for (const char* name : FieldOrder) {
        QTRY_VERIFY2(input(name)->hasActiveFocus(), name);
        QTest::keyClick(&scene->window(), Qt::Key_Return);
    }
    QTRY_VERIFY(input("OKAl")->hasActiveFocus());
}

void QuickInput::tabFollowsTheFocusOrder_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("reached");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << "WarningL";
    QTest::newRow("Backtab") << int(Qt::Key_Backtab) << int(Qt::NoModifier) << "AlarmH";
    QTest::newRow("Shift+Tab") << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << "AlarmH";
}

void QuickInput::tabFollowsTheFocusOrder() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, reached);
    open();
    // From the second field, so both ways land on a field.
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    QTest::keyClick(&scene->window(), Qt::Key_Tab);
    QTRY_VERIFY(input("WarningH")->hasActiveFocus());
    QTest::keyClick(&scene->window(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(input(reached.toLatin1())->hasActiveFocus());
}

void QuickInput::aClickInAFieldGivesItTheFocus() {
    open();
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    click(input("WarningL"));
    QTRY_VERIFY(input("WarningL")->hasActiveFocus());
    // Typed text now reaches the clicked field, through its guard.
    QTest::keyClick(&scene->window(), Qt::Key_End);
    QTest::keyClick(&scene->window(), Qt::Key_Backspace);
    QCOMPARE(text("WarningL"), QStringLiteral("3"));
    QCOMPARE(text("AlarmH"), QStringLiteral("80"));
}

void QuickInput::aClickPlacesTheFieldsCaret() {
    open();
    QQuickItem* alarmH = input("AlarmH");
    QTRY_VERIFY(alarmH->hasActiveFocus());
    // "80" is selected; a click right of the text puts the caret at its end, and the field
    // takes that: Backspace then deletes one character, not the selection.
    const QPointF end = alarmH->mapToScene(QPointF(alarmH->width() - 3, alarmH->height() / 2));
    QTest::mouseClick(&scene->window(), Qt::LeftButton, {}, end.toPoint());
    QTest::keyClick(&scene->window(), Qt::Key_Backspace);
    QCOMPARE(text("AlarmH"), QStringLiteral("8"));
    QCOMPARE(gauge->AlarmHighVal(), 8.0);
}

void QuickInput::acceptedOkChangesTheThresholdsAndTellsBindings() {
    // 24 degrees is high alarm with the threshold at 80 and high warning with it at 90.
    const QPoint ring = (gauge->controlOrigin() + gauge::dialPoint(24, gauge::RingRadius)) *
                        qApp->devicePixelRatio();
    QCOMPARE(scene->grab().pixelColor(ring), gauge::ole(0x0000FF));
    QSignalSpy changed(gauge, &MervGauge::AlarmHighValChanged);
    open();
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    type(&scene->window(), QStringLiteral("90"));
    // Each digit typed is a new threshold, told as it comes (9, then 90).
    QCOMPARE(changed.count(), 2);
    click(input("OKAl"));
    QVERIFY(!gauge->editorOpen());
    QVERIFY(!input("AlarmH")->isVisible());
    QCOMPARE(gauge->AlarmHighVal(), 90.0);
    // OK keeps the last threshold and tells nothing more.
    QCOMPARE(changed.count(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(scene->grab().pixelColor(ring), gauge::ole(0x00FFFF), 500);
}

void QuickInput::spaceOnOkPressesIt() {
    open();
    for (const char* name : FieldOrder) {
        QTRY_VERIFY2(input(name)->hasActiveFocus(), name);
        QTest::keyClick(&scene->window(), Qt::Key_Return);
    }
    QTRY_VERIFY(input("OKAl")->hasActiveFocus());
    QTest::keyClick(&scene->window(), Qt::Key_Space);
    QVERIFY(!gauge->editorOpen());
}

void QuickInput::rejectedOkRestoresAllFour() {
    open();
    QQuickWindow* window = &scene->window();
    // Enter moves on and selects the next field's text: 70 for the high warning (in order),
    // 50 for the low alarm (above the low warning: out of order).
    QTRY_VERIFY(input("AlarmH")->hasActiveFocus());
    QTest::keyClick(window, Qt::Key_Return);
    type(window, QStringLiteral("70"));
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Return);
    type(window, QStringLiteral("50"));
    QCOMPARE(text("AlarmL"), QStringLiteral("50"));
    QCOMPARE(text("WarningH"), QStringLiteral("70"));
    click(input("OKAl"));
    QVERIFY(gauge->editorOpen());
    QCOMPARE(text("AlarmH"), QStringLiteral("80"));
    QCOMPARE(text("WarningH"), QStringLiteral("65"));
    QCOMPARE(text("WarningL"), QStringLiteral("35"));
    QCOMPARE(text("AlarmL"), QStringLiteral("20"));
    QCOMPARE(gauge->AlarmLowVal(), 20.0);
}

void QuickInput::programWriteShowsInTheOpenPanel() {
    // A write while closed shows on opening (WarningL: a field the opening does not focus),
    // one while open at once.
    gauge->setWarningLowVal(30);
    open();
    QCOMPARE(text("WarningL"), QStringLiteral("30"));
    gauge->setAlarmHighVal(85);
    QCOMPARE(text("AlarmH"), QStringLiteral("85"));
}

QTEST_MAIN(QuickInput)
#include "tst_QuickInput.moc"
