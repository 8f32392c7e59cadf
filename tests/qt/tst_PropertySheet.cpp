// The property sheet through real input: what it loads from a gauge, what typing and the
// colour swatches do, and what Apply, OK and Cancel write.
#include <mervgauge/MervGaugePropertySheet.h>
#include <mervgauge/private/MervGaugePropertyPage.h>
#include <mervgauge/private/MervGaugePropertySheet_p.h>
#include <mervgauge/private/OleColor.h>

#include <mervgauge/private/MervGaugeWidgetSelection.h>

#include "PageTestSite.h"

#include <mervgauge/platform/ColorDialog.h>
#include <mervgauge/propertypage/PropertyPage1.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

// A run-time gauge and its selection object.
struct Gauge {
    MervGaugeWidget widget;
    MervGaugeWidgetSelection selection{widget};
    MervGaugeWidget* operator->() { return &widget; }
};

using ScriptedChooser = merv::test::ScriptedColorDialog;
using Access = MervGaugePropertySheetAccess;

QLineEdit* field(QWidget& sheet, const char* name) {
    auto* edit = sheet.findChild<QLineEdit*>(name);
    if (!edit)
        qFatal("no line edit %s", name);
    return edit;
}

QWidget* swatch(QWidget& sheet, const char* name) {
    auto* widget = sheet.findChild<QWidget*>(name);
    if (!widget)
        qFatal("no swatch %s", name);
    return widget;
}

// Replaces what a person types into a line edit with the keys given.
void retype(QLineEdit* edit, const QString& keys) {
    edit->selectAll();
    QTest::keyClicks(edit, keys);
}

// Runs `answer` on the next modal dialog to open, from inside its event loop.
// Each pending timer owns the poll; the poll itself holds it weakly, so nothing leaks.
void whenModal(std::function<void(QWidget*)> answer) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [weak = std::weak_ptr(poll), answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            answer(modal);
        } else if (auto self = weak.lock()) {
            QTimer::singleShot(10, [self] { (*self)(); });
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

// Closes the next message box and hands back its text.
std::shared_ptr<QString> captureMessage() {
    auto text = std::make_shared<QString>();
    whenModal([text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        *text = box->text();
        box->accept();
    });
    return text;
}

} // namespace

class PropertySheetTest : public QObject {
    Q_OBJECT

private slots:
    void loadsTheFirstGaugeIntoFieldsSwatchesAndCaptions();
    void captionsFollowTheSheetsLocale_data();
    void captionsFollowTheSheetsLocale();
    void typedTextsAreValidatedAsTyped_data();
    void typedTextsAreValidatedAsTyped();
    void applyWritesTheFirstGaugeAndClearsTheFlag();
    void aFailedApplyNamesThePropertyAndStaysOpen();
    void aSwatchClickOpensTheChooserOnItsColour();
    void aCancelledSystemColourStaysTheSameValue();
    void cancelAppliesNothing();
    void onlyTheFirstOfTwoGaugesIsChanged();
    void everyGaugeOpensItsSheet();
};

void PropertySheetTest::loadsTheFirstGaugeIntoFieldsSwatchesAndCaptions() {
    Gauge gauge;
    gauge->setVariableName("Pressure");
    gauge->setMaxValue(250.5f);
    gauge->setAlarmColor(0x0000C0u);
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    sheet.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();

    QCOMPARE(field(sheet, "txtVariableName")->text(), QString("Pressure"));
    QCOMPARE(field(sheet, "txtMaxValue")->text(), QString("250.5"));
    QCOMPARE(field(sheet, "txtPrecision")->text(), QString("0"));
    QCOMPARE(field(sheet, "txtAlarmHigh")->text(), QString("80"));
    QCOMPARE(Access::page(sheet).page().ui().AC.backColor(), 0x0000C0u);
    const QImage shown = swatch(sheet, "AC")->grab().toImage();
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(0xC0, 0, 0));
    auto* tabs = sheet.findChild<QTabWidget*>("SSTab1");
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), QString("Variable definition"));
    QCOMPARE(tabs->tabText(2), QString("Colours setting"));
    QCOMPARE(sheet.findChild<QLabel*>("lblPrecision")->text(), QString("Decimal digits (0-5):"));
    QCOMPARE(sheet.findChild<QLabel*>("Label4")->text(), QString("AlarmColor"));
    // The page's elements are where the widgets stand: twips at 15 to the pixel.
    QCOMPARE(Access::page(sheet).size(), QSize(375, 179));
    QCOMPARE(field(sheet, "txtMaxValue")->mapTo(&Access::page(sheet), QPoint()), QPoint(217, 53));
}

void PropertySheetTest::captionsFollowTheSheetsLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("firstTab");
    QTest::addColumn<QString>("maxValue");
    QTest::newRow("english") << QLocale(QLocale::English, QLocale::UnitedStates)
                             << "Variable definition"
                             << "250.5";
    QTest::newRow("italian") << QLocale(QLocale::Italian, QLocale::Italy) << "Definizione variabile"
                             << "250,5";
}

void PropertySheetTest::captionsFollowTheSheetsLocale() {
    QFETCH(QLocale, locale);
    Gauge gauge;
    gauge->setMaxValue(250.5f);
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    sheet.setLocale(locale);
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    QFETCH(QString, firstTab);
    QCOMPARE(sheet.findChild<QTabWidget*>("SSTab1")->tabText(0), firstTab);
    QFETCH(QString, maxValue);
    // The gauge's own site converts with English separators; the page shows the sheet's.
    QCOMPARE(field(sheet, "txtMaxValue")->text(), maxValue);
}

void PropertySheetTest::typedTextsAreValidatedAsTyped_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a number stays") << "txtMaxValue"
                                    << "-12.5"
                                    << "-12.5";
    QTest::newRow("a lone minus stays in a range field") << "txtMinValue"
                                                         << "-"
                                                         << "-";
    QTest::newRow("a lone minus is no precision") << "txtPrecision"
                                                  << "-"
                                                  << "0";
    QTest::newRow("a letter turns the whole text into 0") << "txtAlarmHigh"
                                                          << "12a"
                                                          << "0";
    QTest::newRow("a name takes any text") << "txtVariableName"
                                           << "T-101 a"
                                           << "T-101 a";
}

void PropertySheetTest::typedTextsAreValidatedAsTyped() {
    QFETCH(QString, name);
    QFETCH(QString, keys);
    Gauge gauge;
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    QLineEdit* edit = field(sheet, name.toUtf8().constData());
    retype(edit, keys);
    QFETCH(QString, shown);
    QCOMPARE(edit->text(), shown);
    // Apply follows the page's changed flag.
    QCOMPARE(sheet.applyButton()->isEnabled(), sheet.isChanged());
    QVERIFY(sheet.isChanged());
}

void PropertySheetTest::applyWritesTheFirstGaugeAndClearsTheFlag() {
    Gauge gauge;
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    retype(field(sheet, "txtEngUnit"), "bar");
    retype(field(sheet, "txtMaxValue"), "16");
    QVERIFY(sheet.applyButton()->isEnabled());
    QTest::mouseClick(sheet.applyButton(), Qt::LeftButton);
    QCOMPARE(gauge->EngUnit(), QString("bar"));
    QCOMPARE(gauge->MaxValue(), 16.0f);
    QVERIFY(!sheet.isChanged());
    QVERIFY(!sheet.applyButton()->isEnabled());
    QVERIFY(sheet.isVisible());
}

void PropertySheetTest::aFailedApplyNamesThePropertyAndStaysOpen() {
    Gauge gauge;
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    retype(field(sheet, "txtWarningLow"), "30");
    retype(field(sheet, "txtMinValue"), "-");
    retype(field(sheet, "txtMaxValue"), "500");
    chooser.answers = {0x123456u};
    QTest::mouseClick(swatch(sheet, "NC"), Qt::LeftButton);

    const auto message = captureMessage();
    sheet.accept(); // OK
    QVERIFY(message->contains("MinValue"));
    QVERIFY(message->contains("13"));
    QVERIFY(message->contains("Type mismatch"));
    QVERIFY(sheet.isVisible());
    QCOMPARE(sheet.result(), 0);
    // The properties before MinValue were written; MaxValue and the colours were not.
    QCOMPARE(gauge->WarningLowVal(), 30.0f);
    QCOMPARE(gauge->MaxValue(), 100.0f);
    QCOMPARE(gauge->NormalColor(), 65280u);
    QVERIFY(sheet.isChanged());
}

void PropertySheetTest::aSwatchClickOpensTheChooserOnItsColour() {
    Gauge gauge;
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    chooser.answers = {0x00FF8040u, std::nullopt};
    QTest::mouseClick(swatch(sheet, "WC"), Qt::LeftButton);
    QTest::mouseClick(swatch(sheet, "AC"), Qt::LeftButton);
    QCOMPARE(chooser.openings.size(), std::size_t(2));
    QCOMPARE(chooser.openings[0].flags, 1);
    QCOMPARE(chooser.openings[0].color, 65535u);
    QCOMPARE(chooser.openings[1].color, 255u);
    QVERIFY(sheet.applyButton()->isEnabled());
    QVERIFY(sheet.apply());
    QCOMPARE(gauge->WarningColor(), 0x00FF8040u);
    QCOMPARE(gauge->AlarmColor(), 255u); // cancelled: the colour it had
}

void PropertySheetTest::aCancelledSystemColourStaysTheSameValue() {
    constexpr std::uint32_t WindowBackground = 0x80000005u;
    Gauge gauge;
    gauge->setBackColorText(WindowBackground);
    MervGaugePropertySheet sheet; // the real colour dialog
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    auto opened = std::make_shared<QColor>();
    whenModal([opened](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        QVERIFY(dialog);
        *opened = dialog->currentColor();
        dialog->reject();
    });
    QTest::mouseClick(swatch(sheet, "BCT"), Qt::LeftButton);
    QCOMPARE(*opened, merv::qt::toQColor(WindowBackground, sheet.palette()));
    QCOMPARE(Access::page(sheet).page().ui().BCT.backColor(), WindowBackground);
    QVERIFY(sheet.apply());
    QCOMPARE(gauge->BackColorText(), WindowBackground);
}

void PropertySheetTest::cancelAppliesNothing() {
    Gauge gauge;
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    Access::setSelection(sheet, {&gauge.selection});
    sheet.show();
    const QString before = gauge->VariableName();
    retype(field(sheet, "txtVariableName"), "Flow");
    QSignalSpy changes(&gauge.widget, &MervGaugeWidget::propertyChanged);
    QTest::mouseClick(sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                      Qt::LeftButton);
    QVERIFY(!sheet.isVisible());
    QCOMPARE(gauge->VariableName(), before);
    QCOMPARE(changes.count(), 0);
}

void PropertySheetTest::onlyTheFirstOfTwoGaugesIsChanged() {
    Gauge first;
    Gauge second;
    second->setVariableName("Second");
    ScriptedChooser chooser;
    MervGaugePropertySheet sheet;
    Access::setColorChooser(sheet, &chooser);
    Access::setSelection(sheet, {&first.selection, &second.selection});
    sheet.show();
    QCOMPARE(field(sheet, "txtVariableName")->text(), first->VariableName());
    retype(field(sheet, "txtVariableName"), "First");
    QVERIFY(sheet.apply());
    QCOMPARE(first->VariableName(), QString("First"));
    QCOMPARE(second->VariableName(), QString("Second"));
    // A new selection loads its first gauge at once.
    Access::setSelection(sheet, {&second.selection});
    QCOMPARE(field(sheet, "txtVariableName")->text(), QString("Second"));
}

void PropertySheetTest::everyGaugeOpensItsSheet() {
    MervGaugeWidget gauge;
    gauge.setVariableName("Level");
    gauge.setLocale(QLocale(QLocale::German, QLocale::Germany));
    gauge.setPropertiesActionEnabled(true);
    QCOMPARE(gauge.contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(gauge.actions().size(), 1);
    QCOMPARE(gauge.actions().front()->text(), QString("Properties…"));
    auto shown = std::make_shared<QStringList>();
    whenModal([shown](QWidget* modal) {
        auto* sheet = qobject_cast<MervGaugePropertySheet*>(modal);
        QVERIFY(sheet);
        *shown << field(*sheet, "txtVariableName")->text()
               << sheet->findChild<QTabWidget*>("SSTab1")->tabText(1);
        sheet->reject();
    });
    gauge.actions().front()->trigger();
    QCOMPARE(*shown, QStringList({"Level", "Schwellen Alarm"}));
    gauge.setPropertiesActionEnabled(false);
    QVERIFY(gauge.actions().isEmpty());
}

QTEST_MAIN(PropertySheetTest)
#include "tst_PropertySheet.moc"
