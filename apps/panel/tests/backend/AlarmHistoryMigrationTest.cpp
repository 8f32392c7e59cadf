// A history written before the tag column opens, gains the column in place and keeps its rows;
// the export puts the tag last, after the columns older readers know.
#include "panel/AlarmHistory.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <sstream>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

// The file as the panel wrote it before it kept tags.
void writeOldHistory(const fs::path& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const char* sql = R"(
CREATE TABLE alarm_transitions (
    id INTEGER PRIMARY KEY,
    time_ms INTEGER NOT NULL,
    station TEXT NOT NULL,
    variable TEXT NOT NULL,
    kind TEXT NOT NULL,
    transition TEXT NOT NULL CHECK (transition IN ('raised', 'acknowledged', 'returned')),
    value REAL NOT NULL);
CREATE INDEX alarm_transitions_time ON alarm_transitions (time_ms);
INSERT INTO alarm_transitions (time_ms, station, variable, kind, transition, value)
    VALUES (1000, 'north', 'Drum level', 'OnAlarmLow', 'raised', -160);
)";
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

std::vector<std::string> columnsOf(const fs::path& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::vector<std::string> names;
    sqlite3_exec(
        db, "SELECT name FROM pragma_table_info('alarm_transitions')",
        [](void* out, int, char** values, char**) {
            static_cast<std::vector<std::string>*>(out)->push_back(values[0]);
            return 0;
        },
        &names, nullptr);
    sqlite3_close(db);
    return names;
}

TEST(AlarmHistoryMigration, AnOldFileGainsTheTagColumnLastAndExportsIt) {
    test::TempFolder folder;
    const fs::path path = folder / "old.sqlite";
    writeOldHistory(path);
    {
        AlarmHistory history(path);
        history.record(
            {2000, "north", "Drum level", AlarmKind::AlarmLow, Transition::Returned, -90, "LT-1"});
    }
    EXPECT_EQ(columnsOf(path),
              (std::vector<std::string>{"id", "time_ms", "station", "variable", "kind",
                                        "transition", "value", "tag", "operator"}));
    // Opened again, the file is as it was: the column is added once.
    AlarmHistory history(path);
    EXPECT_EQ(history.query(),
              (std::vector<AlarmTransition>{
                  {1000, "north", "Drum level", AlarmKind::AlarmLow, Transition::Raised, -160, ""},
                  {2000, "north", "Drum level", AlarmKind::AlarmLow, Transition::Returned, -90,
                   "LT-1"}}));
    std::ostringstream csv;
    history.exportCsv(csv);
    EXPECT_EQ(csv.str(),
              "time,station,variable,kind,transition,value,tag,operator\n"
              "1970-01-01T00:00:01.000Z,north,Drum level,OnAlarmLow,raised,-160,,\n"
              "1970-01-01T00:00:02.000Z,north,Drum level,OnAlarmLow,returned,-90,LT-1,\n");
}

// A gauge's rows are those under its tag and, from before tags were kept, those under its
// caption; another gauge of the same caption has rows of its own.
TEST(AlarmHistoryMigration, AGaugesRowsAreFoundByItsTagAndOlderOnesByItsCaption) {
    test::TempFolder folder;
    const fs::path path = folder / "old.sqlite";
    writeOldHistory(path);
    AlarmHistory history(path);
    history.record(
        {3000, "north", "Drum level", AlarmKind::AlarmLow, Transition::Raised, -150, "LT-1"});
    history.record(
        {4000, "north", "Drum level", AlarmKind::AlarmLow, Transition::Raised, -155, "LT-2"});
    auto times = [&](std::optional<std::string> variable, std::optional<std::string> tag) {
        std::vector<std::int64_t> out;
        for (const AlarmTransition& t : history.query(std::nullopt, std::nullopt, variable, tag))
            out.push_back(t.timeMs);
        return out;
    };
    using Times = std::vector<std::int64_t>;
    EXPECT_EQ(times(std::string("Drum level"), std::string("LT-1")), (Times{1000, 3000}));
    EXPECT_EQ(times(std::nullopt, std::string("LT-2")), Times{4000});
    EXPECT_EQ(times(std::string("Drum level"), std::nullopt), (Times{1000, 3000, 4000}));
    EXPECT_EQ(times(std::string("Steam flow"), std::string("LT-1")), Times{3000});
}

} // namespace
} // namespace merv::panel
