// A form of pages in the window: a tab per page, the gauges of a hidden page evaluating every
// value, raising their alarms and marking their quality without painting, and a double-click
// on an alarm showing its gauge's page with the gauge highlighted.
#include "FakeSource.h"
#include "GaugeBoard.h"
#include "GaugeCell.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include <mervgauge/MervGaugeWidget.h>

#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace merv::panel {
namespace {

// Two pages: the boiler's three gauges, then the feedwater's three.
Form pagedForm() {
    Form form = defaultForm();
    form.pages = {{"Boiler"}, {"Feedwater"}};
    for (std::size_t i = 0; i < form.gauges.size(); ++i) {
        form.gauges[i].page = i < 3 ? 0 : 1;
        form.gauges[i].row = 0;
        form.gauges[i].col = int(i % 3);
    }
    checkForm(form);
    return form;
}

struct PagedPanel {
    PagedPanel() {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        window = std::make_unique<PanelWindow>(pagedForm(), std::filesystem::path(),
                                               std::move(owned), nullptr, "A");
        window->resize(1400, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->controller().start();
        source->sendStartValues();
        QTest::qWait(50);
    }
    PanelController& controller() { return window->controller(); }
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
};

constexpr int DrumLevel = 3; // the first gauge of the second page
constexpr const char* DrumLevelTag = "boiler/drum/level";

} // namespace

class tst_PanelPages : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void eachPageIsATabWithAGridOfItsOwn();
    void aHiddenPagesGaugeRaisesAndMarksQualityWithoutPainting();
    void doubleClickingAnAlarmShowsItsPageAndHighlightsItsGauge();
};

void tst_PanelPages::eachPageIsATabWithAGridOfItsOwn() {
    PagedPanel p;
    QTabWidget* tabs = p.window->pages();
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Boiler"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Feedwater"));
    QCOMPARE(tabs->currentIndex(), 0);
    for (int i = 0; i < p.controller().gaugeCount(); ++i)
        QVERIFY(tabs->widget(i < 3 ? 0 : 1)->isAncestorOf(p.window->cell(i)));
}

void tst_PanelPages::aHiddenPagesGaugeRaisesAndMarksQualityWithoutPainting() {
    PagedPanel p;
    MervGaugeWidget* hidden = p.controller().gauge(DrumLevel);
    QVERIFY(!hidden->isVisible());
    PaintCounter counted(hidden);
    p.source->send(DrumLevelTag, 190); // above the high alarm at 150
    QCOMPARE(hidden->Value(), 190.0);
    QCOMPARE(p.controller().raisedCounts().at(AlarmKind::AlarmHigh), 1);
    QTRY_COMPARE(p.window->cell(DrumLevel)->marker(), GaugeCell::Marker::Blinking);
    p.source->setConnected(false);
    QVERIFY(!p.window->cell(DrumLevel)->qualityReason().isEmpty());
    QTest::qWait(100);
    QCOMPARE(counted.paints, 0);
    // Shown, it paints what it holds.
    p.window->pages()->setCurrentIndex(1);
    QTRY_VERIFY(counted.paints > 0);
}

void tst_PanelPages::doubleClickingAnAlarmShowsItsPageAndHighlightsItsGauge() {
    PagedPanel p;
    p.source->send(DrumLevelTag, 190);
    auto* summary = p.window->findChild<QTableView*>();
    QVERIFY(summary);
    const QModelIndex row = summary->model()->index(0, 0);
    QVERIFY(row.isValid());
    const QPoint at = summary->visualRect(row).center();
    // As a person double-clicks: a click, then the second press that makes it double.
    QTest::mouseClick(summary->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(summary->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(p.window->pages()->currentIndex(), 1);
    QVERIFY(p.window->cell(DrumLevel)->highlighted());
    QVERIFY(!p.window->cell(0)->highlighted());
    QTRY_VERIFY(p.window->cell(DrumLevel)->isVisible());
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelPages)
#include "tst_PanelPages.moc"
