// The panel in the operator's language: Italian and German from the translations built into
// the program, English as written.

#include "FakeSource.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelTranslations.h"
#include "PanelWindow.h"
#include "TempFolder.h"

#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

namespace merv::panel {

class tst_PanelTranslations : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void cleanup();
    void theWindowSpeaksTheLocalesLanguage_data();
    void theWindowSpeaksTheLocalesLanguage();
};

void tst_PanelTranslations::cleanup() {
    QLocale::setDefault(QLocale::system());
    installTranslations(QLocale());
}

void tst_PanelTranslations::theWindowSpeaksTheLocalesLanguage_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("translated");
    QTest::addColumn<QString>("qtCancel"); // a button of Qt's own dialogs
    QTest::addColumn<QStringList>("menus");
    QTest::addColumn<QStringList>("headers"); // Variable, Kind, Priority and State
    QTest::addColumn<QStringList>("row");     // an alarm's Kind, Priority and State
    QTest::addColumn<QString>("dock");
    QTest::addColumn<QString>("status");

    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << false
                             << "Cancel" << QStringList{"&File", "&View"}
                             << QStringList{"Variable", "Kind", "Priority", "State"}
                             << QStringList{"OnAlarmHigh", "High", "Active, unacknowledged"}
                             << "Alarm summary"
                             << "Source: fake — connected — 0 gauge(s) of bad quality";
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << true << "Annulla"
                             << QStringList{"&File", "&Visualizza"}
                             << QStringList{"Variabile", "Tipo", "Priorità", "Stato"}
                             << QStringList{"Allarme alto", "Alta", "Attivo, non riconosciuto"}
                             << "Riepilogo allarmi"
                             << "Sorgente: fake — connessa — 0 indicatori con qualità scarsa";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << true << "Abbrechen"
                            << QStringList{"&Datei", "&Ansicht"}
                            << QStringList{"Variable", "Art", "Priorität", "Zustand"}
                            << QStringList{"Alarm oben", "Hoch", "Aktiv, nicht quittiert"}
                            << "Alarmübersicht"
                            << "Quelle: fake — verbunden — 0 Anzeige(n) mit schlechter Qualität";
}

void tst_PanelTranslations::theWindowSpeaksTheLocalesLanguage() {
    QFETCH(QLocale, locale);
    QFETCH(bool, translated);
    // As the program starts: the locale is the process's, the translations follow it.
    QLocale::setDefault(locale);
    const InstalledTranslations found = installTranslations(QLocale());
    QCOMPARE(found.panel, translated);
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const bool qtHasIt = QFile::exists(qtFolder + "/qtbase_" + locale.name() + ".qm") ||
                         QFile::exists(qtFolder + "/qtbase_" + locale.name().left(2) + ".qm");
    QCOMPARE(found.qt, translated && qtHasIt);
    if (found.qt || !translated)
        QTEST(QCoreApplication::translate("QPlatformTheme", "Cancel"), "qtCancel");

    test::TempFolder folder;
    AlarmHistory history(folder / "history.sqlite");
    auto owned = std::make_unique<FakeSource>();
    FakeSource* source = owned.get();
    PanelWindow window(defaultForm(), {}, std::move(owned), &history, "A");
    window.controller().start();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    source->sendStartValues();
    source->send("boiler/drum/pressure", 50); // above the high alarm at 48

    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    QTEST(menus, "menus");
    const QAbstractItemModel* summary = window.findChild<QTableView*>()->model();
    QStringList headers, row;
    for (int column : {AlarmSummaryModel::VariableColumn, AlarmSummaryModel::KindColumn,
                       AlarmSummaryModel::PriorityColumn, AlarmSummaryModel::StateColumn}) {
        headers << summary->headerData(column, Qt::Horizontal).toString();
        if (column != AlarmSummaryModel::VariableColumn)
            row << summary->index(0, column).data().toString();
    }
    QTEST(headers, "headers");
    QTEST(row, "row");
    QTEST(window.findChild<QDockWidget*>()->windowTitle(), "dock");
    QTEST(window.statusBar()->findChild<QLabel*>()->text(), "status");
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelTranslations)
#include "tst_PanelTranslations.moc"
