// The alarm summary as the operator sees it: a new unacknowledged alarm comes into view after a
// click on a row or an acknowledgement, and once the operator has scrolled away a bar counts the
// alarms that arrived above and returns to them.
#include "FakeSource.h"
#include "PanelController.h"
#include "PanelTestSupport.h"
#include "PanelWindow.h"
#include "TempFolder.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace merv::panel {
namespace {

constexpr int Filler = 40; // alarms enough that the summary scrolls

struct SummaryFixture {
    SummaryFixture() : history(folder / "history.sqlite") {
        auto owned = std::make_unique<FakeSource>();
        source = owned.get();
        window = std::make_unique<PanelWindow>(defaultForm(), std::filesystem::path(),
                                               std::move(owned), &history, "A");
        window->controller().start();
        window->resize(window->sizeHint());
        window->show();
        view = window->findChild<QTableView*>();
        bar = window->findChild<QPushButton*>(QStringLiteral("newAlarmsAbove"));
        for (int i = 0; i < Filler; ++i)
            raise("filler/" + std::to_string(i));
        QTest::qWait(50);
    }
    // A new alarm, newer than every one before it.
    void raise(const std::string& variable) {
        source->now += 1000;
        window->controller().alarms().raise(variable, AlarmKind::AlarmHigh, 99, source->now);
    }
    // The variables of the rows the viewport shows whole, top first.
    QStringList visibleVariables() const {
        QStringList out;
        const QRect inside = view->viewport()->rect();
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex index = view->model()->index(row, AlarmSummaryModel::VariableColumn);
            if (inside.contains(view->visualRect(index)))
                out << index.data().toString();
        }
        return out;
    }
    void clickRow(int row) {
        const QModelIndex index = view->model()->index(row, AlarmSummaryModel::VariableColumn);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }
    // What a turn of the wheel or a drag does: the operator's own move of the scroll bar.
    void scrollAwayByHand() {
        QScrollBar* scroll = view->verticalScrollBar();
        scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QVERIFY(scroll->value() > scroll->minimum());
    }
    test::TempFolder folder;
    AlarmHistory history;
    FakeSource* source = nullptr;
    std::unique_ptr<PanelWindow> window;
    QTableView* view = nullptr;
    QPushButton* bar = nullptr;
};

} // namespace

class tst_PanelAlarmView : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void aNewAlarmComesIntoViewAfterTheOperatorActedOnARow_data();
    void aNewAlarmComesIntoViewAfterTheOperatorActedOnARow();
    void scrolledAwayTheBarCountsNewAlarmsAboveAndReturnsToThem();
    void theBarCountsOnlyAlarmsStillUnacknowledged();
};

void tst_PanelAlarmView::aNewAlarmComesIntoViewAfterTheOperatorActedOnARow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("acknowledge");
    QTest::newRow("click on the top row") << 0 << false;
    QTest::newRow("click on a row at the bottom") << Filler - 1 << false;
    QTest::newRow("click on a row in the middle") << Filler / 2 << false;
    QTest::newRow("acknowledge a row at the bottom") << Filler - 1 << true;
}

void tst_PanelAlarmView::aNewAlarmComesIntoViewAfterTheOperatorActedOnARow() {
    QFETCH(int, row);
    QFETCH(bool, acknowledge);
    SummaryFixture f;
    f.clickRow(row);
    if (acknowledge)
        QTest::mouseClick(f.window->findChildren<QPushButton*>().at(1), Qt::LeftButton);
    for (int i = 0; i < 3; ++i) {
        const std::string variable = "boiler/drum/pressure#" + std::to_string(i);
        f.raise(variable);
        QTRY_COMPARE_WITH_TIMEOUT(f.visibleVariables().value(0), QString::fromStdString(variable),
                                  10000);
    }
    QVERIFY(f.bar && !f.bar->isVisible());
}

void tst_PanelAlarmView::scrolledAwayTheBarCountsNewAlarmsAboveAndReturnsToThem() {
    SummaryFixture f;
    QVERIFY(f.bar);
    f.clickRow(3);
    f.scrollAwayByHand();
    f.raise("new/1");
    QTRY_VERIFY_WITH_TIMEOUT(f.bar->isVisible(), 10000);
    QCOMPARE(f.bar->text(), QStringLiteral("1 new alarm(s) above"));
    f.raise("new/2");
    QTRY_COMPARE_WITH_TIMEOUT(f.bar->text(), QStringLiteral("2 new alarm(s) above"), 10000);
    // The operator's scrolling is theirs: the new alarms do not pull the view back.
    QVERIFY(!f.visibleVariables().contains(QStringLiteral("new/2")));
    QVERIFY(f.visibleVariables() != QStringList());

    QTest::mouseClick(f.bar, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(f.visibleVariables().mid(0, 2), (QStringList{"new/2", "new/1"}),
                              10000);
    QVERIFY(!f.bar->isVisible());
    // Back at the top, the newest is kept in view again.
    f.raise("new/3");
    QTRY_COMPARE_WITH_TIMEOUT(f.visibleVariables().value(0), QStringLiteral("new/3"), 10000);
    QVERIFY(!f.bar->isVisible());
}

void tst_PanelAlarmView::theBarCountsOnlyAlarmsStillUnacknowledged() {
    SummaryFixture f;
    QVERIFY(f.bar);
    f.scrollAwayByHand();
    f.raise("new/1");
    f.raise("new/2");
    QTRY_COMPARE_WITH_TIMEOUT(f.bar->text(), QStringLiteral("2 new alarm(s) above"), 10000);
    // Another station acknowledged one of them.
    QVERIFY(f.window->controller().alarms().acknowledge("new/1", AlarmKind::AlarmHigh,
                                                        f.source->now, "B"));
    QTRY_COMPARE_WITH_TIMEOUT(f.bar->text(), QStringLiteral("1 new alarm(s) above"), 10000);
    // Scrolling back to the top by hand shows them: the bar goes.
    f.view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    QTRY_VERIFY_WITH_TIMEOUT(!f.bar->isVisible(), 10000);
    QCOMPARE(f.visibleVariables().value(0), QStringLiteral("new/2"));
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelAlarmView)
#include "tst_PanelAlarmView.moc"
