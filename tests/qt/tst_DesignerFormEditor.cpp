// The gauge in Qt Designer's own form editor, on a real display: dragged from the widget box
// onto a new form with the pointer, edited through the property editor's channel and the
// task menu's sheet, bound to a tag through the task menu's dialog, saved by Designer's writer
// and read back by Designer, QUiLoader and uic.
#include <mervgauge/MervGaugeBinding.h>
#include <mervgauge/MervGaugePropertySheet.h>
#include <mervgauge/MervGaugeWidget.h>

#include "DesignedUi.h"
#include "GaugeTestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QDesignerComponents>
#include <QDesignerDynamicPropertySheetExtension>
#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QDesignerFormWindowManagerInterface>
#include <QDesignerIntegration>
#include <QDesignerObjectInspectorInterface>
#include <QDesignerPropertyEditorInterface>
#include <QDesignerPropertySheetExtension>
#include <QDesignerTaskMenuExtension>
#include <QDesignerWidgetBoxInterface>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QExtensionManager>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QMetaProperty>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUiLoader>
#include <QUndoStack>

#include <functional>
#include <memory>

namespace {

// A new form as Designer's "Widget" template makes it.
constexpr auto NewWidgetForm = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <property name="windowTitle"><string>Form</string></property>
 </widget>
 <resources/>
 <connections/>
</ui>
)";

// A form saved before gauges carried a binding: one gauge with a name and nothing else.
const std::string UnboundForm =
    merv::test::designedUi("Form", R"( <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <widget class="MervGaugeWidget" name="drumLevel">
   <property name="geometry"><rect><x>10</x><y>10</y><width>170</width><height>147</height></rect></property>
   <property name="VariableName"><string>Drum level</string></property>
  </widget>
 </widget>
)");

const QString TagName = QString::fromLatin1(MervGaugeBinding::TagProperty);
const QString StaleMsName = QString::fromLatin1(MervGaugeBinding::StaleMsProperty);

// The property names the property editor shows, as a person reads them in its tree.
QStringList propertyEditorNames(QDesignerFormEditorInterface* core) {
    QStringList shown;
    for (QTreeWidget* tree : core->propertyEditor()->findChildren<QTreeWidget*>()) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            shown << (*it)->text(0);
    }
    return shown;
}

// The gauge's own properties a form can set, in declaration order.
QStringList writableGaugeProperties() {
    QStringList names;
    const QMetaObject& meta = MervGaugeWidget::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        if (meta.property(i).isWritable())
            names << QString::fromLatin1(meta.property(i).name());
    }
    return names;
}

// Every writable property away from its default (colours as stored values, one of them a
// system colour), in the form a person enters them.
const QList<QPair<QString, QVariant>>& editedProperties() {
    static const QList<QPair<QString, QVariant>> edits{
        {"VariableName", QString("Feed pump")},
        {"EngUnit", QString("m³/h")},
        {"Precision", 2},
        {"MinValue", -10.0},
        {"MaxValue", 250.0},
        {"AlarmHighVal", 220.0},
        {"WarningHighVal", 180.5},
        {"WarningLowVal", 20.25},
        {"AlarmLowVal", 5.0},
        {"Value", 190.0},
        {"BackColorText", 0xE0FFFFu},
        {"BackColorGraphic", 0x8000000Fu}, // the button face, as the palette gives it
        {"TextColor", 0x400000u},
        {"BordersColor", 0x404040u},
        {"NormalColor", 0x00C000u},
        {"WarningColor", 0x00A0FFu},
        {"AlarmColor", 0x2020D0u},
    };
    return edits;
}

// What a gauge holds, property by property, for comparing two gauges.
QStringList propertiesOf(MervGaugeWidget& gauge) {
    QStringList values;
    for (const auto& [name, value] : editedProperties())
        values << name + "=" + gauge.property(name.toLatin1()).toString();
    return values;
}

// Closes every message box that shows while it lives, keeping what each said, so that a
// message from Designer or the sheet fails the test instead of blocking it.
class MessageBoxWatcher : public QObject {
public:
    MessageBoxWatcher() {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    said << box->text();
                    box->done(QMessageBox::Ok);
                }
            }
        });
        m_timer.start(20);
    }
    QStringList said;

private:
    QTimer m_timer;
};

} // namespace

class DesignerFormEditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void theWidgetBoxEntryParsesWithoutAWarning();
    void aGaugeDragsFromTheWidgetBoxOntoANewForm();
    void thePropertyEditorListsEveryWritablePropertyWithAFittingEditor();
    void everyEditedPropertyIsSavedAndReadBackAlike();
    void theSheetAppliesWithoutAMessageAndItsChangesAreSaved();
    void aDroppedGaugeCarriesItsBindingAtTheDefaults();
    void theBindDialogRefusesStationAndSpacedTags_data();
    void theBindDialogRefusesStationAndSpacedTags();
    void theBindDialogWritesBothAsOneUndoStep();
    void theBindingIsSavedAndReadBackByTheLoader();
    void aFormSavedWithoutABindingShowsItAtTheDefaults();
    void aGaugeStrippedOfItsBindingGetsItBackWhenBound();

private:
    QDesignerFormWindowInterface* newForm();
    MervGaugeWidget* droppedGauge() const;
    QString saveAndReadBack(const QString& contents, const QString& name);
    bool runBindDialog(MervGaugeWidget* gauge, const std::function<void(QDialog&)>& person);

    QDesignerFormEditorInterface* m_core = nullptr;
    std::unique_ptr<QMainWindow> m_window;
    QWidget* m_formArea = nullptr;
    QDesignerWidgetBoxInterface* m_widgetBox = nullptr;
    QDesignerFormWindowInterface* m_form = nullptr;
    QTemporaryDir m_dir;
    QStringList m_warnings;
};

namespace {
QtMessageHandler previousHandler = nullptr;
QStringList* collectedWarnings = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (collectedWarnings && type != QtDebugMsg && type != QtInfoMsg)
        collectedWarnings->append(message);
    previousHandler(type, context, message);
}
} // namespace

void DesignerFormEditorTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    collectedWarnings = &m_warnings;
    previousHandler = qInstallMessageHandler(collectWarnings);
    // Designer's own start-up, as its workbench makes it (plugins from QT_PLUGIN_PATH).
    QDesignerComponents::initializeResources();
    m_core = QDesignerComponents::createFormEditor(this);
    QDesignerComponents::initializePlugins(m_core);
    m_widgetBox = QDesignerComponents::createWidgetBox(m_core, nullptr);
    m_core->setWidgetBox(m_widgetBox);
    m_widgetBox->setFileName(QStringLiteral(":/qt-project.org/widgetbox/widgetbox.xml"));
    m_widgetBox->load();
    m_core->setPropertyEditor(QDesignerComponents::createPropertyEditor(m_core, nullptr));
    // Designer's docked window: the widget box and the property editor beside the form area,
    // the object inspector docked too. The window owns them all. (Designer's action editor
    // is left out: it leaks the menu of its configure button.)
    m_window = std::make_unique<QMainWindow>();
    m_core->setObjectInspector(QDesignerComponents::createObjectInspector(m_core, nullptr));
    QDesignerComponents::createTaskMenu(m_core, this);
    new QDesignerIntegration(m_core, this);

    m_core->setTopLevel(m_window.get());
    m_formArea = new QWidget;
    m_window->setCentralWidget(m_formArea);
    auto dock = [&](QWidget* content, Qt::DockWidgetArea area) {
        auto* widget = new QDockWidget(content->windowTitle(), m_window.get());
        widget->setWidget(content);
        m_window->addDockWidget(area, widget);
    };
    dock(m_widgetBox, Qt::LeftDockWidgetArea);
    dock(m_core->propertyEditor(), Qt::RightDockWidgetArea);
    dock(m_core->objectInspector(), Qt::RightDockWidgetArea);
    m_window->setGeometry(0, 0, 1200, 900);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void DesignerFormEditorTest::cleanupTestCase() {
    collectedWarnings = nullptr;
    qInstallMessageHandler(previousHandler);
    m_window.reset(); // with everything docked in it and the form windows
}

QDesignerFormWindowInterface* DesignerFormEditorTest::newForm() {
    QDesignerFormWindowManagerInterface* windows = m_core->formWindowManager();
    QDesignerFormWindowInterface* form = windows->createFormWindow(m_formArea);
    form->setContents(QString::fromUtf8(NewWidgetForm));
    windows->setActiveFormWindow(form);
    return form;
}

MervGaugeWidget* DesignerFormEditorTest::droppedGauge() const {
    return m_form ? m_form->mainContainer()->findChild<MervGaugeWidget*>() : nullptr;
}

void DesignerFormEditorTest::theWidgetBoxEntryParsesWithoutAWarning() {
    // The widget box holds the plugin's entry; Designer's reader reads it as a drop does.
    QString domXml;
    for (int c = 0; c < m_widgetBox->categoryCount(); ++c) {
        for (int w = 0; w < m_widgetBox->widgetCount(c); ++w) {
            // The box names an entry by the display name its XML gives.
            if (m_widgetBox->widget(c, w).name() == "MERVGauge")
                domXml = m_widgetBox->widget(c, w).domXml();
        }
    }
    QVERIFY2(!domXml.isEmpty(), "the widget box has no entry for the gauge");
    m_warnings.clear();
    QUiLoader loader;
    QByteArray bytes = domXml.toUtf8();
    QBuffer buffer(&bytes);
    std::unique_ptr<QWidget> widget(loader.load(&buffer));
    QVERIFY2(widget, qPrintable(loader.errorString()));
    QVERIFY(qobject_cast<MervGaugeWidget*>(widget.get()));
    QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join('\n')));
}

void DesignerFormEditorTest::aGaugeDragsFromTheWidgetBoxOntoANewForm() {
    m_form = newForm();
    m_form->setGeometry(20, 20, 400, 300);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    // Only the gauge's entry stays in view once the box is filtered by its name.
    auto* filter = m_widgetBox->findChild<QLineEdit*>();
    QVERIFY(filter);
    filter->setText(QStringLiteral("MERVGauge"));
    QPoint from;
    for (QAbstractItemView* view : m_widgetBox->findChildren<QAbstractItemView*>()) {
        const QModelIndexList hits =
            view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                 QStringLiteral("MERVGauge"), 1, Qt::MatchExactly);
        if (!hits.isEmpty() && view->isVisible() && !view->visualRect(hits.front()).isEmpty())
            from = view->viewport()->mapToGlobal(view->visualRect(hits.front()).topLeft() +
                                                 QPoint(24, 8)); // on the entry's icon
    }
    QVERIFY2(!from.isNull(), "the gauge's entry is not in view in the widget box");
    const QPoint to = m_form->mainContainer()->mapToGlobal(QPoint(60, 50));

    // A person's drag: press on the entry, move over the form, release there.
    MessageBoxWatcher messages;
    auto at = [](QPoint p) { return QStringList{QString::number(p.x()), QString::number(p.y())}; };
    const QStringList pause{"sleep", "0.3"};
    QProcess pointer;
    pointer.start(QStringLiteral("xdotool"),
                  QStringList{"mousemove"} + at(from) + pause + QStringList{"mousedown", "1"} +
                      pause + QStringList{"mousemove"} + at(from + QPoint(30, 10)) + pause +
                      QStringList{"mousemove"} + at(to - QPoint(20, 0)) + pause +
                      QStringList{"mousemove"} + at(to) + pause + QStringList{"mouseup", "1"});
    QVERIFY2(pointer.waitForStarted(), "xdotool is missing (scripts/install-deps installs it)");
    QTRY_VERIFY_WITH_TIMEOUT(pointer.state() == QProcess::NotRunning, 20000);
    QCOMPARE(pointer.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(droppedGauge() != nullptr || !messages.said.isEmpty(), 10000);
    QVERIFY2(messages.said.isEmpty(), qPrintable("Designer said: " + messages.said.join('\n')));
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(m_form->isManaged(gauge));
    QCOMPARE(gauge->size(), QSize(170, 147));
}

// Triggers the gauge's "Bind to Tag…" and lets the person act on the modal dialog once it shows;
// a dialog the person leaves open is cancelled. Whether the dialog showed.
bool DesignerFormEditorTest::runBindDialog(MervGaugeWidget* gauge,
                                           const std::function<void(QDialog&)>& person) {
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(m_core->extensionManager(), gauge);
    if (!menu || menu->taskActions().size() < 2)
        return false;
    bool shown = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (shown || !modal || !modal->inherits("BindTagDialog"))
            return;
        shown = true;
        auto* dialog = static_cast<QDialog*>(modal);
        person(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    watcher.start(20);
    menu->taskActions().at(1)->trigger();
    return shown;
}

namespace {
QPushButton* okButton(QDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    return buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
}
} // namespace

void DesignerFormEditorTest::aDroppedGaugeCarriesItsBindingAtTheDefaults() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    QExtensionManager* manager = m_core->extensionManager();
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(manager, gauge);
    auto* dynamic = qt_extension<QDesignerDynamicPropertySheetExtension*>(manager, gauge);
    QVERIFY(sheet && dynamic);
    for (const QString& name : {TagName, StaleMsName}) {
        const int index = sheet->indexOf(name);
        QVERIFY2(index >= 0, qPrintable(name + " is not in the gauge's property sheet"));
        QVERIFY(dynamic->isDynamicProperty(index));
        QVERIFY(sheet->isVisible(index));
    }
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty).toString(), QString());
    QCOMPARE(gauge->property(MervGaugeBinding::StaleMsProperty).toInt(),
             MervGaugeBinding::DefaultStaleMs);

    m_form->clearSelection(false);
    m_form->selectWidget(gauge, true);
    m_core->propertyEditor()->setObject(gauge);
    QCoreApplication::processEvents();
    const QStringList shown = propertyEditorNames(m_core);
    QVERIFY2(shown.contains(TagName), "the tag is not in the property editor");
    QVERIFY2(shown.contains(StaleMsName), "the stale time is not in the property editor");
}

void DesignerFormEditorTest::theBindDialogRefusesStationAndSpacedTags_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a plain tag") << "FT-101" << false;
    QTest::newRow("a tag with a path") << "plant/boiler/drum-level" << false;
    QTest::newRow("blanks around, trimmed") << "  FT-101  " << false;
    QTest::newRow("nothing: the variable name") << "" << false;
    QTest::newRow("a name that only begins alike") << "mervgauge-north/flow" << false;
    QTest::newRow("a space inside") << "FT 101" << true;
    QTest::newRow("the acknowledgement topic") << "mervgauge/ack" << true;
    QTest::newRow("a station's presence") << "mervgauge/station/north" << true;
    QTest::newRow("a station topic after blanks") << "   mervgauge/acked/x" << true;
}

void DesignerFormEditorTest::theBindDialogRefusesStationAndSpacedTags() {
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    const QVariant tagBefore = gauge->property(MervGaugeBinding::TagProperty);
    const int stepsBefore = m_form->commandHistory()->count();
    bool okEnabled = false, problemShown = false, variableNameShown = false;
    const bool shown = runBindDialog(gauge, [&](QDialog& dialog) {
        auto* tag = dialog.findChild<QLineEdit*>();
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("tagProblem"));
        if (!tag || !problem || !okButton(dialog))
            return;
        variableNameShown = tag->placeholderText().contains(gauge->VariableName());
        QTest::mouseClick(tag, Qt::LeftButton);
        tag->selectAll();
        QTest::keyClick(tag, Qt::Key_Delete);
        QTest::keyClicks(tag, typed);
        okEnabled = okButton(dialog)->isEnabled();
        problemShown = problem->isVisible() && !problem->text().isEmpty();
        // Cancel, by a click as a person leaves it.
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    QVERIFY(shown);
    QVERIFY(variableNameShown);
    QCOMPARE(okEnabled, !refused);
    QCOMPARE(problemShown, refused);
    // Cancel writes nothing.
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty), tagBefore);
    QCOMPARE(m_form->commandHistory()->count(), stepsBefore);
}

void DesignerFormEditorTest::theBindDialogWritesBothAsOneUndoStep() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    m_form->setDirty(false);
    const QVariant tagBefore = gauge->property(MervGaugeBinding::TagProperty);
    const QVariant staleBefore = gauge->property(MervGaugeBinding::StaleMsProperty);
    MessageBoxWatcher messages;
    m_warnings.clear();
    const bool shown = runBindDialog(gauge, [&](QDialog& dialog) {
        auto* tag = dialog.findChild<QLineEdit*>(QStringLiteral("tag"));
        auto* stale = dialog.findChild<QSpinBox*>();
        if (!tag || !stale || !okButton(dialog))
            return;
        QTest::mouseClick(tag, Qt::LeftButton);
        tag->selectAll();
        QTest::keyClicks(tag, QStringLiteral(" plant/FT-101 "));
        QTest::mouseClick(stale, Qt::LeftButton);
        stale->selectAll();
        QTest::keyClicks(stale, QStringLiteral("2500"));
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    });
    QVERIFY(shown);
    QVERIFY2(messages.said.isEmpty(), qPrintable(messages.said.join('\n')));
    QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join('\n')));
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty).toString(), QString("plant/FT-101"));
    QCOMPARE(gauge->property(MervGaugeBinding::StaleMsProperty).toInt(), 2500);
    QVERIFY(m_form->isDirty());

    m_form->commandHistory()->undo();
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty).toString(), tagBefore.toString());
    QCOMPARE(gauge->property(MervGaugeBinding::StaleMsProperty).toInt(), staleBefore.toInt());
    m_form->commandHistory()->redo();
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty).toString(), QString("plant/FT-101"));
    QCOMPARE(gauge->property(MervGaugeBinding::StaleMsProperty).toInt(), 2500);
}

void DesignerFormEditorTest::theBindingIsSavedAndReadBackByTheLoader() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    const QString saved = m_form->contents();
    QVERIFY(saved.contains(QStringLiteral("<property name=\"%1\" stdset=\"0\">").arg(TagName)));
    QVERIFY(saved.contains(QStringLiteral("<string>plant/FT-101</string>")));
    QVERIFY(saved.contains(QStringLiteral("<property name=\"%1\" stdset=\"0\">").arg(StaleMsName)));
    QVERIFY(saved.contains(QStringLiteral("<number>2500</number>")));

    // Designer opens it with the binding it saved, not the defaults a gauge without one gets.
    QDesignerFormWindowInterface* reopened = newForm();
    QVERIFY(reopened->setContents(saved));
    auto* again = reopened->mainContainer()->findChild<MervGaugeWidget*>();
    QVERIFY(again);
    QCOMPARE(again->property(MervGaugeBinding::TagProperty).toString(), QString("plant/FT-101"));
    QCOMPARE(again->property(MervGaugeBinding::StaleMsProperty).toInt(), 2500);
    delete reopened;
    m_core->formWindowManager()->setActiveFormWindow(m_form);

    QUiLoader loader; // with the plugin, from QT_PLUGIN_PATH
    QVERIFY(loader.availableWidgets().contains("MervGaugeWidget"));
    QByteArray bytes = saved.toUtf8();
    QBuffer buffer(&bytes);
    std::unique_ptr<QWidget> loaded(loader.load(&buffer));
    QVERIFY2(loaded, qPrintable(loader.errorString()));
    auto* atRunTime = loaded->findChild<MervGaugeWidget*>();
    QVERIFY(atRunTime);
    QCOMPARE(atRunTime->property(MervGaugeBinding::TagProperty).toString(),
             QString("plant/FT-101"));
    QCOMPARE(atRunTime->property(MervGaugeBinding::StaleMsProperty).toInt(), 2500);
}

void DesignerFormEditorTest::aFormSavedWithoutABindingShowsItAtTheDefaults() {
    QDesignerFormWindowInterface* old = newForm();
    QVERIFY(old->setContents(QString::fromUtf8(UnboundForm)));
    auto* gauge = old->mainContainer()->findChild<MervGaugeWidget*>();
    QVERIFY(gauge);
    QVERIFY2(!old->isDirty(), "opening a form marked it modified");
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(m_core->extensionManager(), gauge);
    QVERIFY(sheet);
    QVERIFY(sheet->indexOf(TagName) >= 0);
    QVERIFY(sheet->indexOf(StaleMsName) >= 0);
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty).toString(), QString());
    QCOMPARE(gauge->property(MervGaugeBinding::StaleMsProperty).toInt(),
             MervGaugeBinding::DefaultStaleMs);
    old->clearSelection(false);
    old->selectWidget(gauge, true);
    m_core->propertyEditor()->setObject(gauge);
    QCoreApplication::processEvents();
    const QStringList shown = propertyEditorNames(m_core);
    QVERIFY(shown.contains(TagName));
    QVERIFY(shown.contains(StaleMsName));
    m_core->propertyEditor()->setObject(droppedGauge());
    delete old;
    m_core->formWindowManager()->setActiveFormWindow(m_form);
}

void DesignerFormEditorTest::aGaugeStrippedOfItsBindingGetsItBackWhenBound() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    QExtensionManager* manager = m_core->extensionManager();
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(manager, gauge);
    auto* dynamic = qt_extension<QDesignerDynamicPropertySheetExtension*>(manager, gauge);
    QVERIFY(sheet && dynamic);
    // Removed as the property editor's "Remove Dynamic Property" does.
    for (const QString& name : {TagName, StaleMsName})
        QVERIFY(dynamic->removeDynamicProperty(sheet->indexOf(name)));
    QVERIFY(!sheet->isVisible(sheet->indexOf(TagName)));

    const bool shown = runBindDialog(gauge, [&](QDialog& dialog) {
        auto* tag = dialog.findChild<QLineEdit*>();
        if (!tag || !okButton(dialog))
            return;
        tag->selectAll();
        QTest::keyClicks(tag, QStringLiteral("FT-7"));
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    });
    QVERIFY(shown);
    for (const QString& name : {TagName, StaleMsName})
        QVERIFY2(sheet->isVisible(sheet->indexOf(name)), qPrintable(name + " is not back"));
    QCOMPARE(gauge->property(MervGaugeBinding::TagProperty).toString(), QString("FT-7"));
    QCOMPARE(gauge->property(MervGaugeBinding::StaleMsProperty).toInt(),
             MervGaugeBinding::DefaultStaleMs);
    QVERIFY(m_form->contents().contains(QStringLiteral("<string>FT-7</string>")));
}

void DesignerFormEditorTest::thePropertyEditorListsEveryWritablePropertyWithAFittingEditor() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    m_warnings.clear();
    m_form->clearSelection(false);
    m_form->selectWidget(gauge, true);
    m_core->propertyEditor()->setObject(gauge);
    QCoreApplication::processEvents();
    for (const QString& warning : m_warnings)
        QVERIFY2(!warning.contains("not supported"), qPrintable(warning));

    // What the person reads: the property names in the editor's tree.
    QStringList shown;
    for (QTreeWidget* tree : m_core->propertyEditor()->findChildren<QTreeWidget*>()) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            shown << (*it)->text(0);
    }
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(m_core->extensionManager(), gauge);
    QVERIFY(sheet);
    for (const QString& name : writableGaugeProperties()) {
        QVERIFY2(shown.contains(name), qPrintable(name + " is not in the property editor"));
        const int index = sheet->indexOf(name);
        QVERIFY(sheet->isVisible(index));
        const QMetaType type = sheet->property(index).metaType();
        // Designer keeps texts as its own translatable string value.
        const bool text = type.id() == QMetaType::QString ||
                          QByteArray(type.name()).endsWith("PropertySheetStringValue");
        const bool fitting = text || type.id() == QMetaType::Int ||
                             type.id() == QMetaType::Double || type.id() == QMetaType::UInt ||
                             type.id() == QMetaType::QColor;
        QVERIFY2(fitting, qPrintable(name + " has type " + QString(type.name())));
    }
    // The status flags are not browsable.
    QVERIFY(!shown.contains("AlarmHighStatus"));
}

void DesignerFormEditorTest::everyEditedPropertyIsSavedAndReadBackAlike() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    m_warnings.clear();
    // Each edit as the property editor hands it to Designer when a person commits it.
    for (const auto& [name, value] : editedProperties()) {
        QVERIFY(QMetaObject::invokeMethod(m_core->propertyEditor(), "propertyChanged",
                                          Q_ARG(QString, name), Q_ARG(QVariant, value)));
    }
    // A colour chosen in the chooser, after the stored value of another.
    QVERIFY(QMetaObject::invokeMethod(m_core->propertyEditor(), "propertyChanged",
                                      Q_ARG(QString, "normalQColor"),
                                      Q_ARG(QVariant, QColor(0, 128, 255))));
    QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join('\n')));
    QCOMPARE(gauge->NormalColor(), 0xFF8000u);
    QCOMPARE(gauge->BackColorGraphic(), 0x8000000Fu);
    const QStringList designed = propertiesOf(*gauge);
    QVERIFY(m_form->isDirty());

    const QString saved = saveAndReadBack(m_form->contents(), "edited.ui");
    QVERIFY(!saved.isEmpty());
    QVERIFY2(saved.contains("<UInt>2147483663</UInt>"), "the system colour was not kept as such");

    // Designer opens the saved form alike.
    QDesignerFormWindowInterface* reopened = newForm();
    QVERIFY(reopened->setContents(saved));
    auto* again = reopened->mainContainer()->findChild<MervGaugeWidget*>();
    QVERIFY(again);
    QCOMPARE(propertiesOf(*again), designed);
    delete reopened;
    m_core->formWindowManager()->setActiveFormWindow(m_form);

    // QUiLoader (the plugin's factory) at run time alike.
    QUiLoader loader;
    QByteArray bytes = saved.toUtf8();
    QBuffer buffer(&bytes);
    std::unique_ptr<QWidget> loaded(loader.load(&buffer));
    QVERIFY2(loaded, qPrintable(loader.errorString()));
    auto* atRunTime = loaded->findChild<MervGaugeWidget*>();
    QVERIFY(atRunTime);
    QCOMPARE(propertiesOf(*atRunTime), designed);

    // uic writes a setter call for each of them.
    QProcess uic;
    uic.start(QStringLiteral(MERVGAUGE_UIC_PATH), {m_dir.filePath("edited.ui")});
    QVERIFY(uic.waitForFinished(30000));
    QCOMPARE(uic.exitCode(), 0);
    const QString code = QString::fromUtf8(uic.readAllStandardOutput());
    for (const auto& [name, value] : editedProperties()) {
        if (name == "NormalColor")
            continue; // chosen in the chooser last: its QColor is what the form keeps
        QVERIFY2(code.contains("->set" + name + "("), qPrintable(name + " is not set by uic"));
    }
    QVERIFY(code.contains("->setNormalQColor(QColor(0, 128, 255"));
}

QString DesignerFormEditorTest::saveAndReadBack(const QString& contents, const QString& name) {
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents.toUtf8()) < 0)
        return {};
    file.close();
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void DesignerFormEditorTest::theSheetAppliesWithoutAMessageAndItsChangesAreSaved() {
    MervGaugeWidget* gauge = droppedGauge();
    QVERIFY(gauge);
    auto* menu = qt_extension<QDesignerTaskMenuExtension*>(m_core->extensionManager(), gauge);
    QVERIFY(menu);
    QAction* edit = menu->preferredEditAction();
    QVERIFY(edit);

    MessageBoxWatcher messages;
    bool applied = false;
    // The sheet is modal: a person's typing happens once it is open.
    QTimer person;
    connect(&person, &QTimer::timeout, this, [&] {
        auto* sheet = qobject_cast<MervGaugePropertySheet*>(QApplication::activeModalWidget());
        if (!sheet || applied)
            return;
        applied = true;
        // A new unit on the first tab, a new high alarm on the second, then Apply and OK.
        auto* unit = sheet->findChild<QLineEdit*>(QStringLiteral("txtEngUnit"));
        auto* alarmHigh = sheet->findChild<QLineEdit*>(QStringLiteral("txtAlarmHigh"));
        auto* tabs = sheet->findChild<QTabWidget*>();
        if (!unit || !alarmHigh || !tabs)
            return sheet->reject();
        QTest::mouseClick(unit, Qt::LeftButton);
        unit->selectAll();
        QTest::keyClicks(unit, QStringLiteral("bar"));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QTest::mouseClick(alarmHigh, Qt::LeftButton);
        alarmHigh->selectAll();
        QTest::keyClicks(alarmHigh, QStringLiteral("230"));
        QTest::mouseClick(sheet->applyButton(), Qt::LeftButton);
        for (QPushButton* button : sheet->findChildren<QPushButton*>()) {
            if (button->text().remove('&') == "OK")
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    person.start(20);
    m_warnings.clear();
    edit->trigger();
    person.stop();
    QVERIFY(applied);
    QVERIFY2(messages.said.isEmpty(), qPrintable(messages.said.join('\n')));
    QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join('\n')));
    QCOMPARE(gauge->EngUnit(), QString("bar"));
    QCOMPARE(gauge->AlarmHighVal(), 230.0);

    const QString saved = m_form->contents();
    QVERIFY(saved.contains("<string>bar</string>"));
    QVERIFY(saved.contains("<double>230"));
    // The sheet's edit is one step of the undo stack.
    const QString before = gauge->EngUnit();
    m_form->commandHistory()->undo();
    QCOMPARE(gauge->EngUnit(), QString("m³/h"));
    m_form->commandHistory()->redo();
    QCOMPARE(gauge->EngUnit(), before);
}

QTEST_MAIN(DesignerFormEditorTest)
#include "tst_DesignerFormEditor.moc"
