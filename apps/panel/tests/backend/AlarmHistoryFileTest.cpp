// What --history may name: the panel's own history, new or old, but never another program's
// SQLite file nor a file that is no database, which are refused and left as they were.
#include "panel/AlarmHistory.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void execute(const fs::path& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

struct Foreign {
    const char* name;
    const char* sql;   // makes the file; null for a text file
    const char* named; // the refusal names this
};
void PrintTo(const Foreign& value, std::ostream* out) {
    *out << value.name;
}

class AForeignFile : public ::testing::TestWithParam<Foreign> {};

TEST_P(AForeignFile, IsRefusedWithAClearMessageAndLeftUntouched) {
    test::TempFolder folder;
    const fs::path path = folder / "other.sqlite";
    if (GetParam().sql)
        execute(path, GetParam().sql);
    else
        std::ofstream(path) << "time,station\nnot a database at all, but long enough to be read\n";
    const std::string before = contents(path);
    try {
        AlarmHistory history(path);
        ADD_FAILURE() << "another program's file was taken as a history";
    } catch (const HistoryError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(path.string()), std::string::npos) << text;
        EXPECT_NE(text.find(GetParam().named), std::string::npos) << text;
    }
    EXPECT_EQ(contents(path), before);
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(fs::exists(path.string() + suffix)) << suffix;
}

INSTANTIATE_TEST_SUITE_P(
    AlarmHistory, AForeignFile,
    ::testing::Values(Foreign{"AnotherProgramsTables",
                              "CREATE TABLE invoices (id INTEGER PRIMARY KEY, total REAL);"
                              "INSERT INTO invoices (total) VALUES (12.5)",
                              "invoices"},
                      Foreign{"ItsTablesBesideAHistoryTable",
                              "CREATE TABLE alarm_transitions (id INTEGER PRIMARY KEY);"
                              "CREATE TABLE settings (key TEXT, value TEXT)",
                              "settings"},
                      Foreign{"NoDatabase", nullptr, "not a database"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AlarmHistoryFile, ANewEmptyOrOwnFileOpens) {
    test::TempFolder folder;
    { AlarmHistory made(folder / "new.sqlite"); }
    AlarmHistory reopened(folder / "new.sqlite");
    std::ofstream(folder / "empty.sqlite");
    AlarmHistory empty(folder / "empty.sqlite");
    empty.record({1, "A", "Drum level", AlarmKind::AlarmLow, Transition::Raised, 2});
    EXPECT_EQ(empty.query().size(), 1u);
}

} // namespace
} // namespace merv::panel
