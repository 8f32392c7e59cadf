// The history read a page at a time, as the history dialog reads it: every row once and in
// order whatever the pages' length and wherever a page ends inside a millisecond of many rows,
// under each filter; and the CSV export, written as its rows are read.
#include "panel/AlarmHistory.h"

#include "CrowdedHistory.h"
#include "NumberedTransitions.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sstream>
#include <streambuf>

namespace merv::panel {
namespace {

using test::T0;

constexpr int Rows = 90;

struct Crowded {
    Crowded() : history(folder / "h.db"), written(test::crowdedTransitions(Rows, T0)) {
        history.recordAll(written);
    }
    // Every page of limit rows under filter, one after the other, until one is short.
    std::vector<AlarmTransition> paged(const HistoryFilter& filter, std::size_t limit) {
        std::vector<AlarmTransition> rows;
        std::optional<HistoryKey> after;
        for (int pages = 0; pages <= Rows; ++pages) {
            HistoryPage page = history.page(filter, after, limit);
            EXPECT_LE(page.rows.size(), limit);
            rows.insert(rows.end(), page.rows.begin(), page.rows.end());
            if (page.rows.size() < limit)
                return rows;
            after = page.last;
        }
        ADD_FAILURE() << "the pages never end";
        return rows;
    }
    test::TempFolder folder;
    AlarmHistory history;
    std::vector<AlarmTransition> written;
};

TEST(AlarmHistoryPaging, PagesOfAnyLengthTogetherAreTheHistoryInOrderEachRowOnce) {
    Crowded c;
    const auto all = test::expectedRows(c.written, {});
    ASSERT_NE(all, c.written) << "the rows must not be written in time order";
    ASSERT_EQ(c.history.query(), all);
    // Four rows a millisecond: pages of 1, 3 and 7 end inside a millisecond, 4 at its end.
    for (std::size_t limit : {1, 3, 4, 7, Rows - 1, Rows, Rows + 1})
        EXPECT_EQ(c.paged({}, limit), all) << "pages of " << limit;
}

TEST(AlarmHistoryPaging, APageEndsAtItsLastRowsKeyAndTheNextBeginsAfterIt) {
    Crowded c;
    const auto all = test::expectedRows(c.written, {});
    const HistoryPage first = c.history.page({}, std::nullopt, 3);
    ASSERT_EQ(first.rows, std::vector(all.begin(), all.begin() + 3));
    ASSERT_TRUE(first.last);
    EXPECT_EQ(first.last->timeMs, all[2].timeMs);
    const HistoryPage second = c.history.page({}, first.last, 3);
    EXPECT_EQ(second.rows, std::vector(all.begin() + 3, all.begin() + 6));
    EXPECT_FALSE(c.history.page({T0 + Rows, std::nullopt, {}, {}}, std::nullopt, 3).last)
        << "an empty page has no last row";
}

TEST(AlarmHistoryPaging, EveryFilterHoldsAcrossPages) {
    Crowded c;
    const std::optional<std::string> drum("Drum level"), lt("LT"), ft("FT");
    const std::vector<HistoryFilter> filters{
        {},
        {T0 + 5, T0 + 15, {}, {}},
        {T0 + 5, std::nullopt, {}, {}},
        {std::nullopt, T0 + 15, {}, {}},
        {std::nullopt, std::nullopt, drum, {}},
        {std::nullopt, std::nullopt, {}, lt},
        // The gauge's rows under its tag and its older rows, without one, under its caption.
        {std::nullopt, std::nullopt, drum, lt},
        {T0 + 3, T0 + 17, drum, lt},
        // The empty tag is every row without one, whatever the caption.
        {std::nullopt, std::nullopt, drum, std::string()},
        {std::nullopt, std::nullopt, std::string("Steam flow"), ft},
        {std::nullopt, std::nullopt, std::string("No such gauge"), {}},
    };
    for (std::size_t f = 0; f < filters.size(); ++f) {
        const HistoryFilter& filter = filters[f];
        const auto expected = test::expectedRows(c.written, filter);
        EXPECT_EQ(c.history.query(filter.fromMs, filter.toMs, filter.variable, filter.tag),
                  expected)
            << "filter " << f;
        for (std::size_t limit : {1, 5})
            EXPECT_EQ(c.paged(filter, limit), expected) << "filter " << f << ", pages of " << limit;
    }
}

TEST(AlarmHistoryPaging, RowsWrittenAfterAPageFollowItInTheNext) {
    Crowded c;
    const auto all = test::expectedRows(c.written, {});
    std::optional<HistoryKey> last = c.history.page({}, std::nullopt, Rows).last;
    ASSERT_TRUE(last);
    EXPECT_TRUE(c.history.page({}, last, Rows).rows.empty());
    // One in the last page's millisecond, after its rows, and one later.
    const std::vector<AlarmTransition> later{{all.back().timeMs, "south", "Drum level",
                                              AlarmKind::AlarmHigh, Transition::Raised, 1e3, "LT"},
                                             {all.back().timeMs + 1, "south", "Drum level",
                                              AlarmKind::AlarmHigh, Transition::Returned, 2e3,
                                              "LT"}};
    c.history.recordAll(later);
    EXPECT_EQ(c.history.page({}, last, Rows).rows, later);
}

TEST(AlarmHistoryExport, AHistoryOfManyRowsExportsTheTextItsRowsMake) {
    Crowded c;
    std::ostringstream exported, written;
    c.history.exportCsv(exported);
    writeCsv(written, test::expectedRows(c.written, {}));
    EXPECT_EQ(exported.str(), written.str());
    EXPECT_NE(exported.str().find("\"ops, \"\"A\"\"\""), std::string::npos) << "no quoted cell";
}

// Takes the first bytes it is given, then fails as a full disk does.
class FillingBuffer : public std::streambuf {
public:
    explicit FillingBuffer(std::size_t room) : m_room(room) {}
    std::size_t taken = 0;

protected:
    int_type overflow(int_type c) override {
        if (taken == m_room)
            return traits_type::eof();
        ++taken;
        return traits_type::not_eof(c);
    }

private:
    std::size_t m_room;
};

// The export stops at the first line the stream refuses: the row of a kind no panel knows at
// the end, which reading on would come to, is never read.
TEST(AlarmHistoryExport, AStreamThatStopsTakingEndsTheExportThere) {
    test::TempFolder folder;
    AlarmHistory history(folder / "h.db");
    std::vector<AlarmTransition> rows;
    for (int n = 0; n < 2000; ++n)
        rows.push_back(test::numberedTransition(n));
    history.recordAll(rows);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((folder / "h.db").c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "INSERT INTO alarm_transitions (time_ms, station, variable, kind, "
                           "transition, value) VALUES (9e15, 'other', 'x', 'OnAlarmMedium', "
                           "'raised', 0)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    FillingBuffer buffer(1000);
    std::ostream out(&buffer);
    try {
        history.exportCsv(out);
        ADD_FAILURE() << "the export went on into a stream that failed";
    } catch (const HistoryError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot write the CSV export"), std::string::npos)
            << error.what();
    }
}

} // namespace
} // namespace merv::panel
