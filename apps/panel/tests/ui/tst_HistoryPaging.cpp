// The history dialog over a history longer than a page: its table model keeps to Qt's rules
// while it fetches more, scrolling to the end shows every row once and in order, the filters
// hold across pages, rows written after opening appear on Show, and a row the history cannot
// read is told in a box.
#include "CrowdedHistory.h"
#include "HistoryDialog.h"
#include "PanelTestSupport.h"
#include "TempFolder.h"
#include "panel/AlarmHistoryModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

namespace merv::panel {
namespace {

constexpr auto Fatal = QAbstractItemModelTester::FailureReportingMode::Fatal;
constexpr int SmallPage = 7; // four rows a millisecond: most pages end inside one
constexpr std::int64_t HourMs = 3'600'000;

const std::optional<std::string> DrumLevel("Drum level"), LT("LT");

// A crowded history, written an hour ago: inside the dialog's first range, the last day.
struct Crowded {
    explicit Crowded(int rows)
        : history(folder / "h.sqlite"),
          written(test::crowdedTransitions(rows, QDateTime::currentMSecsSinceEpoch() - HourMs)) {
        history.recordAll(written);
    }
    std::vector<AlarmTransition> expected(const HistoryFilter& filter = {}) const {
        return test::expectedRows(written, filter);
    }
    test::TempFolder folder;
    AlarmHistory history;
    std::vector<AlarmTransition> written;
};

std::vector<HistoryDialog::Variable> gauges() {
    return {{QStringLiteral("Drum level"), QStringLiteral("LT"), {}},
            {QStringLiteral("Steam flow"), QStringLiteral("FT"), {}}};
}

// The rows the model holds, in its order.
std::vector<AlarmTransition> rowsOf(const AlarmHistoryModel& model) {
    std::vector<AlarmTransition> rows;
    for (int r = 0; r < model.rowCount(); ++r)
        rows.push_back(model.transition(r));
    return rows;
}

// Fetches until the model has no more, as a view scrolled down again and again would.
void fetchAll(AlarmHistoryModel& model) {
    for (int pages = 0; model.canFetchMore({}) && pages < 10'000; ++pages)
        model.fetchMore({});
}

// Scrolls the dialog's table to its end until it reads no more; how many scrolls it took.
int scrollToTheEnd(HistoryDialog& dialog) {
    auto* view = dialog.findChild<QTableView*>();
    int scrolls = 0;
    for (; view->model()->canFetchMore({}) && scrolls < 1000; ++scrolls) {
        view->scrollToBottom();
        QCoreApplication::processEvents();
    }
    return scrolls;
}

// Writes a row as another program might, of a kind no panel knows.
void insertUnknownKind(const std::filesystem::path& path, std::int64_t timeMs) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string sql = "INSERT INTO alarm_transitions (time_ms, station, variable, kind, "
                            "transition, value) VALUES (" +
                            std::to_string(timeMs) +
                            ", 'other', 'x', 'OnAlarmMedium', 'raised', 0)";
    QCOMPARE(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

} // namespace

class tst_HistoryPaging : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    // The model.
    void theModelKeepsToItemModelRulesWhileFetchingMoreAndShowingAgain();
    void pagesEndingInsideAMillisecondLoseAndRepeatNoRow();
    void everyFilterHoldsAcrossPages();
    void newestFirstPagesLoseAndRepeatNoRow();
    void aFailedReadingIsToldOnceAndKeepsTheRowsRead();
    void theCatchUpRunsBeforeEveryReading();
    // The dialog.
    void scrollingToTheEndShowsEveryRowOnceInOrder();
    void theChosenGaugeAndRangeHoldAcrossTheTablesPages();
    void rowsWrittenAfterOpeningAppearOnShow();
    void aRowTheHistoryCannotReadIsToldInABox();
    void aClickOnTheTimeHeaderTurnsTheOrderRound();
};

void tst_HistoryPaging::theModelKeepsToItemModelRulesWhileFetchingMoreAndShowingAgain() {
    Crowded c(60);
    AlarmHistoryModel model(c.history, gauges(), DisplayZone::utc(), {}, SmallPage);
    QAbstractItemModelTester tester(&model, Fatal);
    QVERIFY(model.show({}));
    QCOMPARE(model.rowCount(), SmallPage);
    QVERIFY(model.canFetchMore({}));
    fetchAll(model);
    QCOMPARE(model.rowCount(), 60);
    QVERIFY(!model.canFetchMore({}));
    // Another filter replaces the rows whole, and is fetched page by page again.
    QVERIFY(model.show({std::nullopt, std::nullopt, std::string("Steam flow"), {}}));
    QCOMPARE(model.rowCount(), SmallPage);
    fetchAll(model);
    QCOMPARE(model.rowCount(), 20);
    QCOMPARE(model.headerData(AlarmHistoryModel::TimeColumn, Qt::Horizontal).toString(),
             QStringLiteral("Time (UTC)"));
    QCOMPARE(model.headerData(AlarmHistoryModel::OperatorColumn, Qt::Horizontal).toString(),
             QStringLiteral("Operator"));
    // The variable's tooltip names the gauge by its tag as well.
    const QModelIndex variable = model.index(0, AlarmHistoryModel::VariableColumn);
    QCOMPARE(variable.data().toString(), QStringLiteral("Steam flow"));
    QCOMPARE(variable.data(Qt::ToolTipRole).toString(), QStringLiteral("Steam flow (FT)"));
    const QModelIndex time = model.index(0, AlarmHistoryModel::TimeColumn);
    QCOMPARE(time.data(Qt::ToolTipRole), time.data());
}

void tst_HistoryPaging::pagesEndingInsideAMillisecondLoseAndRepeatNoRow() {
    Crowded c(101);
    QVERIFY(c.expected() != c.written); // ids out of time order
    for (int page : {1, 3, 4, SmallPage, 100, 101, 102}) {
        AlarmHistoryModel model(c.history, gauges(), DisplayZone::local(), {}, page);
        QVERIFY(model.show({}));
        fetchAll(model);
        QVERIFY2(rowsOf(model) == c.expected(), qPrintable(QString::number(page)));
    }
}

void tst_HistoryPaging::newestFirstPagesLoseAndRepeatNoRow() {
    Crowded c(101);
    // Every row, and a gauge's rows under its tag merged with its older ones under its caption.
    for (HistoryFilter filter :
         {HistoryFilter{}, HistoryFilter{std::nullopt, std::nullopt, DrumLevel, LT}}) {
        std::vector<AlarmTransition> expected = c.expected(filter);
        std::reverse(expected.begin(), expected.end());
        filter.newestFirst = true;
        for (int page : {1, 3, 4, SmallPage, 100, 101, 102}) {
            AlarmHistoryModel model(c.history, gauges(), DisplayZone::local(), {}, page);
            QVERIFY(model.show(filter));
            fetchAll(model);
            QVERIFY2(rowsOf(model) == expected, qPrintable(QString::number(page)));
        }
    }
}

void tst_HistoryPaging::everyFilterHoldsAcrossPages() {
    Crowded c(120);
    const std::int64_t start = c.expected().front().timeMs;
    const std::vector<HistoryFilter> filters{
        {start + 4, start + 22, {}, {}},
        {std::nullopt, std::nullopt, DrumLevel, {}},
        // The gauge's rows under its tag, and its older ones without one under its caption.
        {std::nullopt, std::nullopt, DrumLevel, LT},
        {start + 3, start + 25, DrumLevel, LT},
    };
    for (std::size_t f = 0; f < filters.size(); ++f) {
        AlarmHistoryModel model(c.history, gauges(), DisplayZone::local(), {}, SmallPage);
        QAbstractItemModelTester tester(&model, Fatal);
        QVERIFY(model.show(filters[f]));
        const auto expected = c.expected(filters[f]);
        QVERIFY(expected.size() > 2 * SmallPage);
        QCOMPARE(model.rowCount(), SmallPage);
        fetchAll(model);
        QVERIFY2(rowsOf(model) == expected, qPrintable(QString::number(f)));
    }
}

void tst_HistoryPaging::aFailedReadingIsToldOnceAndKeepsTheRowsRead() {
    Crowded c(30);
    insertUnknownKind(c.folder / "h.sqlite", c.expected().back().timeMs);
    AlarmHistoryModel model(c.history, gauges(), DisplayZone::local(), {}, SmallPage);
    QSignalSpy failed(&model, &AlarmHistoryModel::readingFailed);
    QVERIFY(model.show({}));
    fetchAll(model);
    QCOMPARE(failed.size(), 1);
    QVERIFY2(failed[0][0].toString().contains("\"OnAlarmMedium\""),
             qPrintable(failed[0][0].toString()));
    QCOMPARE(model.rowCount(), 28); // four pages of seven; the fifth held the row
    QVERIFY(!model.canFetchMore({}));
    // A show that fails keeps what was shown.
    QVERIFY(!model.show({c.expected().back().timeMs, std::nullopt, {}, {}}));
    QCOMPARE(failed.size(), 2);
    QCOMPARE(model.rowCount(), 28);
}

void tst_HistoryPaging::theCatchUpRunsBeforeEveryReading() {
    Crowded c(20);
    // As the panel's writer does, the catch-up writes what it held: each time one more row.
    std::vector<AlarmTransition> caughtUp;
    const auto catchUp = [&] {
        caughtUp.push_back({c.expected().back().timeMs + 1 + std::int64_t(caughtUp.size()), "B",
                            "Steam flow", AlarmKind::AlarmHigh, Transition::Raised, -1, "FT"});
        c.history.record(caughtUp.back());
    };
    AlarmHistoryModel model(c.history, gauges(), DisplayZone::local(), catchUp, SmallPage);
    QVERIFY(model.show({}));
    QCOMPARE(caughtUp.size(), std::size_t(1));
    QCOMPARE(model.transition(0), c.expected().front());
    fetchAll(model);
    // 20 rows, then each page's catch-up one more: the last page is short after 4 readings.
    QCOMPARE(caughtUp.size(), std::size_t(4));
    QCOMPARE(model.rowCount(), 24);
    QCOMPARE(model.transition(23), caughtUp.back());
}

void tst_HistoryPaging::scrollingToTheEndShowsEveryRowOnceInOrder() {
    constexpr int Rows = 2 * AlarmHistoryModel::DefaultPageRows + 33;
    Crowded c(Rows);
    HistoryDialog dialog(c.history, gauges(), DisplayZone::local());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.shownCount(), AlarmHistoryModel::DefaultPageRows);
    QVERIFY(scrollToTheEnd(dialog) >= 2);
    QCOMPARE(dialog.shownCount(), Rows);
    QVERIFY(rowsOf(dialog.model()) == c.expected());
}

void tst_HistoryPaging::theChosenGaugeAndRangeHoldAcrossTheTablesPages() {
    Crowded c(3 * AlarmHistoryModel::DefaultPageRows + 30);
    HistoryDialog dialog(c.history, gauges(), DisplayZone::local());
    dialog.show();
    dialog.findChild<QComboBox*>()->setCurrentIndex(1); // Drum level, LT
    dialog.refresh();
    scrollToTheEnd(dialog);
    const HistoryFilter drum{std::nullopt, std::nullopt, DrumLevel, LT};
    QVERIFY(c.expected(drum).size() > 2 * AlarmHistoryModel::DefaultPageRows);
    QVERIFY(rowsOf(dialog.model()) == c.expected(drum));
    // From a second after the rows' first: the pickers read whole seconds.
    auto edits = dialog.findChildren<QDateTimeEdit*>();
    const std::int64_t from = (c.expected().front().timeMs / 1000 + 1) * 1000;
    edits[0]->setDateTime(QDateTime::fromMSecsSinceEpoch(from));
    dialog.refresh();
    scrollToTheEnd(dialog);
    QVERIFY(rowsOf(dialog.model()) == c.expected({from, std::nullopt, DrumLevel, LT}));
}

void tst_HistoryPaging::rowsWrittenAfterOpeningAppearOnShow() {
    Crowded c(AlarmHistoryModel::DefaultPageRows + 10);
    HistoryDialog dialog(c.history, gauges(), DisplayZone::local());
    dialog.show();
    scrollToTheEnd(dialog);
    QCOMPARE(dialog.shownCount(), AlarmHistoryModel::DefaultPageRows + 10);
    const AlarmTransition later{QDateTime::currentMSecsSinceEpoch() - 1000,
                                "B",
                                "Drum level",
                                AlarmKind::AlarmLow,
                                Transition::Returned,
                                3,
                                "LT"};
    c.history.record(later);
    scrollToTheEnd(dialog);
    QCOMPARE(dialog.shownCount(), AlarmHistoryModel::DefaultPageRows + 10);
    dialog.refresh();
    scrollToTheEnd(dialog);
    QCOMPARE(dialog.shownCount(), AlarmHistoryModel::DefaultPageRows + 11);
    QCOMPARE(dialog.model().transition(dialog.shownCount() - 1), later);
}

void tst_HistoryPaging::aRowTheHistoryCannotReadIsToldInABox() {
    Crowded c(5);
    insertUnknownKind(c.folder / "h.sqlite", c.expected().back().timeMs);
    // The box comes once the failed reading has returned; it is read and closed when it does.
    QString told;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->reject();
        }
    });
    closer.start(10);
    HistoryDialog dialog(c.history, gauges(), DisplayZone::local());
    QTRY_VERIFY(!told.isEmpty());
    QVERIFY2(told.contains("\"OnAlarmMedium\""), qPrintable(told));
    QCOMPARE(dialog.shownCount(), 0);
}

void tst_HistoryPaging::aClickOnTheTimeHeaderTurnsTheOrderRound() {
    Crowded c(AlarmHistoryModel::DefaultPageRows + 10);
    HistoryDialog dialog(c.history, gauges(), DisplayZone::local());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QHeaderView* header = dialog.findChild<QTableView*>()->horizontalHeader();
    const auto click = [&](int section) {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    const std::vector<AlarmTransition> oldestFirst = c.expected();
    QVERIFY(dialog.model().transition(0) == oldestFirst.front());
    // The newest row comes first, on the first page of a history longer than one.
    click(AlarmHistoryModel::TimeColumn);
    QTRY_VERIFY(dialog.model().transition(0) == oldestFirst.back());
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(dialog.shownCount(), AlarmHistoryModel::DefaultPageRows);
    scrollToTheEnd(dialog);
    std::vector<AlarmTransition> newestFirst = oldestFirst;
    std::reverse(newestFirst.begin(), newestFirst.end());
    QVERIFY(rowsOf(dialog.model()) == newestFirst);
    // Another column does not order the history: the order and its indicator stay.
    click(AlarmHistoryModel::StationColumn);
    QCOMPARE(header->sortIndicatorSection(), int(AlarmHistoryModel::TimeColumn));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(dialog.model().transition(0) == oldestFirst.back());
    // A second click on the time turns it back.
    click(AlarmHistoryModel::TimeColumn);
    QTRY_VERIFY(dialog.model().transition(0) == oldestFirst.front());
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_HistoryPaging)
#include "tst_HistoryPaging.moc"
