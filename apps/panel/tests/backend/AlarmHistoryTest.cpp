#include "panel/AlarmHistory.h"

#include "IntegrityCheck.h"
#include "KillMidway.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

using test::TempFolder;

// 2026-12-08T14:03:05.123Z
constexpr std::int64_t T0 = 1796738585123;

std::vector<AlarmTransition> sequence() {
    return {
        {T0, "north", "Drum pressure", AlarmKind::AlarmHigh, Transition::Raised, 49.5, "PT-1"},
        {T0 + 1500, "south", "Drum pressure", AlarmKind::AlarmHigh, Transition::Acknowledged, 49.5,
         "PT-1"},
        {T0 + 2000, "north", "Drum level", AlarmKind::WarningLow, Transition::Raised, -85, "LT-1"},
        {T0 + 60000, "north", "Drum pressure", AlarmKind::AlarmHigh, Transition::Returned, 41.25,
         "PT-1"},
    };
}

TEST(AlarmHistory, RecordsEveryTransitionAndQueriesByTimeAndVariable) {
    TempFolder folder;
    AlarmHistory history(folder / "h.db");
    for (const auto& t : sequence())
        history.record(t);
    const auto all = sequence();
    EXPECT_EQ(history.query(), all);
    EXPECT_EQ(history.query(T0 + 1500, T0 + 2000), (std::vector<AlarmTransition>{all[1], all[2]}));
    EXPECT_EQ(history.query(std::nullopt, std::nullopt, std::string("Drum pressure")),
              (std::vector<AlarmTransition>{all[0], all[1], all[3]}));
    EXPECT_EQ(history.query(T0 + 1, std::nullopt, std::string("Drum pressure")),
              (std::vector<AlarmTransition>{all[1], all[3]}));
}

TEST(AlarmHistory, RowsSurviveReopeningTheFile) {
    TempFolder folder;
    {
        AlarmHistory history(folder / "h.db");
        history.record(sequence()[0]);
    }
    AlarmHistory again(folder / "h.db");
    EXPECT_EQ(again.query(), std::vector<AlarmTransition>{sequence()[0]});
}

TEST(AlarmHistory, ExportsCsvOldestFirstWithUtcMilliseconds) {
    TempFolder folder;
    AlarmHistory history(folder / "h.db");
    auto rows = sequence();
    history.record(rows[3]);
    history.record(rows[0]);
    history.record({T0 + 3000, "ops, \"A\"", "Flue gas O2", AlarmKind::AlarmLow, Transition::Raised,
                    1.2, "flue/o2,a"});
    std::ostringstream csv;
    history.exportCsv(csv);
    EXPECT_EQ(csv.str(),
              "time,station,variable,kind,transition,value,tag,operator\n"
              "2026-12-08T14:03:05.123Z,north,Drum pressure,OnAlarmHigh,raised,49.5,PT-1,\n"
              "2026-12-08T14:03:08.123Z,\"ops, \"\"A\"\"\",Flue gas O2,OnAlarmLow,"
              "raised,1.2,\"flue/o2,a\",\n"
              "2026-12-08T14:04:05.123Z,north,Drum pressure,OnAlarmHigh,returned,"
              "41.25,PT-1,\n");
}

// Writes a row as another program might, past the panel's types; SQLite's result code.
int insertRaw(const fs::path& path, const char* kind, const char* transition) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        return SQLITE_CANTOPEN;
    const std::string sql = "INSERT INTO alarm_transitions (time_ms, station, variable, kind, "
                            "transition, value) VALUES (1, 'other', 'Drum level', '" +
                            std::string(kind) + "', '" + transition + "', 0)";
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return result;
}

TEST(AlarmHistory, RefusesWhatItCannotKeep) {
    TempFolder folder;
    EXPECT_THROW(AlarmHistory(folder / "no-folder" / "h.db"), HistoryError);
    AlarmHistory history(folder / "h.db");
    // The file itself refuses a transition that is none of the panel's.
    EXPECT_NE(insertRaw(folder / "h.db", "OnAlarmHigh", "cleared"), SQLITE_OK);
    auto bad = sequence()[0];
    bad.value = std::nan("");
    EXPECT_THROW(history.record(bad), HistoryError);
    EXPECT_TRUE(history.query().empty());
}

// A kind no gauge raises, written by something else, is not read as some alarm: reading and
// exporting the history say which row holds it.
TEST(AlarmHistory, ARowOfAnUnknownKindIsAnErrorNamingIt) {
    TempFolder folder;
    AlarmHistory history(folder / "h.db");
    history.record(sequence()[0]);
    ASSERT_EQ(insertRaw(folder / "h.db", "OnAlarmMedium", "raised"), SQLITE_OK);
    try {
        history.query();
        ADD_FAILURE() << "an unknown kind was read";
    } catch (const HistoryError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("row 2"), std::string::npos) << text;
        EXPECT_NE(text.find("\"OnAlarmMedium\""), std::string::npos) << text;
    }
    std::ostringstream csv;
    EXPECT_THROW(history.exportCsv(csv), HistoryError);
}

// A child records transitions as fast as it can and reports each committed one on a pipe; it
// is killed in the middle of the burst. Every reported row must be there, in order, and the
// file must pass SQLite's own integrity check.
TEST(AlarmHistory, AKillInTheMiddleOfABurstLosesNoCommittedRow) {
    TempFolder folder;
    const fs::path path = folder / "h.db";
    { AlarmHistory create(path); }
    constexpr std::int64_t KillAfter = 200; // committed rows before the kill
    const auto killed = test::killMidway(KillAfter, {}, [&](const auto& report) {
        AlarmHistory history(path);
        for (std::int64_t n = 1;; ++n) {
            history.record({T0 + n, "burst", "Steam flow", AlarmKind::WarningHigh,
                            Transition::Raised, double(n), "FT-1"});
            if (!report(n))
                return;
        }
    });
    ASSERT_TRUE(killed);
    const std::int64_t committed = *killed;
    ASSERT_GE(committed, KillAfter);

    AlarmHistory reopened(path);
    const auto rows = reopened.query();
    ASSERT_GE(std::int64_t(rows.size()), committed);
    for (std::size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(rows[i].value, double(i + 1)) << "row " << i;

    EXPECT_EQ(test::integrityVerdict(path), "ok");
}

} // namespace
} // namespace merv::panel
